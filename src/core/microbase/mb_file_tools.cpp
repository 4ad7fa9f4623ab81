#include "core/microbase/mb_file_tools.h"

#include "core/engine/file_errors.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ormica {
namespace {

// The same file under another spelling (a relative name, a link) is still the same file.
bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a == b)
        return true;
    struct stat sa {
    }, sb{};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Where the dialogs start: the folder PrepareDefaultBase made. Only looks;
// a dialog is no reason to make folders.
QString dialogDir(const QString& programDir, const QString& appDataDir)
{
    const QString beside = QDir::cleanPath(programDir + QStringLiteral("/Filters"));
    const QFileInfo besideInfo(beside);
    if (besideInfo.isDir() && besideInfo.isWritable())
        return beside;
    const QString own = QDir::cleanPath(appDataDir + QStringLiteral("/Filters"));
    return !appDataDir.isEmpty() && QFileInfo(own).isDir() ? own : beside;
}

QString shortName(const QString& name)
{
    return QFileInfo(name).fileName();
}

// Why a file operation failed, in the program's words: from the code the
// failing system call left (the caller clears errno before the operation),
// else from what the file and its disk can tell.
QString fileFailure(const QFileDevice& file)
{
    const int code = errno;
    return code != 0 ? SystemErrorText(code) : WriteFailureReason(file);
}

}  // namespace

const QStringList& FdbFilters()
{
    static const QStringList filters{QStringLiteral("Microbase files (*.fdb *.FDB)")};
    return filters;
}

QString FiltersDirIn(const QString& programDir, const QString& appDataDir)
{
    return ProgramSubdirIn(programDir, appDataDir, QStringLiteral("Filters")).Path;
}

bool IsOpen(const TMicroBase* engine)
{
    return engine && engine->Opened();
}

bool EnsureFiltersDir(const QString& dir)
{
    if (QFileInfo(dir).isDir())
        return true;
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
        return true;
    messages().error(QCoreApplication::translate("MicroBaseFiles",
                                                 "MicroBase : НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ для файлов *.fdb : \r\n%1")
                         .arg(QDir::toNativeSeparators(dir)));
    return false;
}

bool CreateEmptyBase(const QString& name)
{
    // A dangling link counts as a file: creating through it would write elsewhere.
    if (QFileInfo::exists(name) || QFileInfo(name).isSymLink())
        return false;
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 || ::close(fd) != 0) {
        messages().error(
            QCoreApplication::translate("MicroBaseFiles", "MicroBase : НЕ могу СОЗДАТЬ ФАЙЛ новой базы : \r\n%1")
                .arg(name));
        return false;
    }
    return true;
}

bool PrepareDefaultBase(const QString& programDir, QString& defaultBase, QString& currentBase,
                        const QString& appDataDir)
{
    defaultBase.clear();
    const QString dir = FiltersDirIn(programDir, appDataDir);
    if (EnsureFiltersDir(dir)) {
        const QString name = dir + QStringLiteral("/FilterBase.fdb");
        if (QFileInfo::exists(name) || CreateEmptyBase(name))
            defaultBase = name;
    }
    currentBase = defaultBase;
    return !defaultBase.isEmpty();
}

QString ForceFdbExt(const QString& name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > slash && name.mid(dot).toUpper() == QLatin1String(".FDB"))
        return name;
    return name + QStringLiteral(".fdb");
}

bool CopyWorkingRecords(TMicroBase& engine, const QString& target)
{
    QString reason;
    if (!engine.Opened() || engine.BufSize() <= 0)
        reason = QCoreApplication::translate("MicroBaseFiles", "база не открыта");
    if (reason.isEmpty())
        reason = SaveTargetRefusal(target);
    QSaveFile file(target);
    errno = 0;
    if (reason.isEmpty() && !file.open(QIODevice::WriteOnly))
        reason = fileFailure(file);
    qint64 written = 0;
    std::int32_t copied = 0;
    const std::int32_t count = reason.isEmpty() ? engine.RecordCount() : 0;
    QByteArray record(engine.BufSize() > 0 ? engine.BufSize() : 0, '\0');
    for (std::int32_t k = 0; k < count && reason.isEmpty(); ++k) {
        if (!engine.Read(k)) {
            reason = QCoreApplication::translate("MicroBaseFiles", "не могу прочитать запись %1 базы %2")
                         .arg(k)
                         .arg(engine.FileName());
            break;
        }
        if (engine.HeaderStatus() != 1)
            continue;
        std::memcpy(record.data(), engine.buffer(), std::size_t(record.size()));
        record[0] = char(TRecBuf::kMarker);
        qToLittleEndian<std::int32_t>(copied, record.data() + 2);
        errno = 0;
        if (file.write(record) != record.size()) {
            reason = fileFailure(file);
            break;
        }
        written += record.size();
        ++copied;
    }
    // A short write can be reported as whole (seen with a file-size limit), so
    // the size on disk is checked before the old file is replaced.
    errno = 0;
    if (reason.isEmpty() && (!file.flush() || file.error() != QFileDevice::NoError || file.size() != written))
        reason = fileFailure(file);
    errno = 0;
    if (reason.isEmpty() && !file.commit())
        reason = fileFailure(file);
    if (!reason.isEmpty()) {
        file.cancelWriting();
        messages().error(
            QCoreApplication::translate("MicroBaseFiles", "SaveAs : Не могу сохранить базу в файл : \r\n%1\r\n%2")
                .arg(target, reason));
        return false;
    }
    return true;
}

QString SaveAs(TMicroBase* engine, TFileDialogs& dialog, const QString& programDir, const QString& appDataDir,
               const QString& currentBase)
{
    if (!IsOpen(engine))
        return {};
    const auto choice = dialog.askSave(dialogDir(programDir, appDataDir), FdbFilters(), 1);
    if (!choice || choice->fileName.isEmpty())
        return {};
    const QString name = ForceFdbExt(choice->fileName);
    // Writing the open base over itself would lose it: refused under any spelling.
    const bool current = sameFile(name, currentBase) || sameFile(name, engine->FileName());
    if (QFileInfo::exists(name) && !current &&
        !messages().question(
            QCoreApplication::translate("MicroBaseFiles", "База с именем : %1\r\n уже существует! ПЕРЕЗАПИСАТЬ?")
                .arg(shortName(name)),
            TQuestionKind::Confirmation))
        return {};
    if (current) {
        messages().error(QCoreApplication::translate(
            "MicroBaseFiles",
            "Сохранение в текущую базу данных ЗАПРЕЩЕНО\r\nВыберите другое имя для сохраняемой базы"));
        return {};
    }
    return CopyWorkingRecords(*engine, name) ? name : QString();
}

QString NewBaseDialog(TFileDialogs& dialog, const QString& programDir, const QString& appDataDir,
                      const QString& currentBase)
{
    const auto choice = dialog.askSave(dialogDir(programDir, appDataDir), FdbFilters(), 1);
    if (!choice || choice->fileName.isEmpty())
        return {};
    const QString name = ForceFdbExt(choice->fileName);
    const bool current = sameFile(name, currentBase);
    if (QFileInfo::exists(name) && !current) {
        if (!messages().question(
                QCoreApplication::translate("MicroBaseFiles", "База с именем : %1\r\n уже существует! ПЕРЕСОЗДАТЬ?")
                    .arg(shortName(name)),
                TQuestionKind::Confirmation))
            return {};
        // Without this word a file that stays would only make the creation fail silently.
        const bool plain = QFileInfo(name).isFile();
        if (!plain || ::unlink(QFile::encodeName(name).constData()) != 0) {
            const QString why =
                plain ? SystemErrorText(errno) : QCoreApplication::translate("MicroBaseFiles", "это не обычный файл");
            messages().error(
                QCoreApplication::translate("MicroBaseFiles", "NewBaseDialog : Не могу удалить файл : \r\n%1\r\n%2")
                    .arg(name, why));
            return {};
        }
    }
    if (current) {
        messages().error(QCoreApplication::translate(
            "MicroBaseFiles", "Пересоздание текущей базы ЗАПРЕЩЕНО\r\nВыберите другое имя для новой базы"));
        return {};
    }
    return CreateEmptyBase(name) ? name : QString();
}

}  // namespace ormica
