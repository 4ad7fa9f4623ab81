#include "core/engine/file_errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace ormica {

QString SystemErrorText(int code)
{
    switch (code) {
    case ENOENT:
        return QCoreApplication::translate("FileErrors", "Файл или папка не найдены.");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("FileErrors", "Нет прав доступа.");
    case EISDIR:
        return QCoreApplication::translate("FileErrors", "Это папка, а не файл.");
    case ENOTDIR:
        return QCoreApplication::translate("FileErrors", "Часть пути не является папкой.");
    case ENAMETOOLONG:
        return QCoreApplication::translate("FileErrors", "Слишком длинное имя файла.");
    case ELOOP:
        return QCoreApplication::translate("FileErrors", "Символические ссылки образуют петлю.");
    case ENOSPC:
        return QCoreApplication::translate("FileErrors", "На диске нет места.");
    case EDQUOT:
        return QCoreApplication::translate("FileErrors", "Превышена дисковая квота.");
    case EFBIG:
        return QCoreApplication::translate("FileErrors", "Файл превысил допустимый размер.");
    case EROFS:
        return QCoreApplication::translate("FileErrors", "Диск доступен только для чтения.");
    case EIO:
        return QCoreApplication::translate("FileErrors", "Ошибка ввода-вывода.");
    case EMFILE:
    case ENFILE:
        return QCoreApplication::translate("FileErrors", "Открыто слишком много файлов.");
    case ENOMEM:
        return QCoreApplication::translate("FileErrors", "Недостаточно памяти.");
    default:
        return QString::fromLocal8Bit(std::strerror(code)) + QLatin1Char('.');
    }
}

QString ReadFailureReason(const QString& fileName)
{
    if (fileName.isEmpty())
        return SystemErrorText(ENOENT);
    const QByteArray path = QFile::encodeName(fileName);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return SystemErrorText(errno);
    if (S_ISDIR(st.st_mode))
        return SystemErrorText(EISDIR);
    if (!S_ISREG(st.st_mode))
        return QCoreApplication::translate("FileErrors", "Это не обычный файл.");
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return SystemErrorText(errno);
    ::close(fd);
    return QString();
}

QString CannotOpenText(const QString& fileName, const QString& reason)
{
    return QCoreApplication::translate("FileErrors", "Не могу открыть файл \"%1\".\r\n%2").arg(fileName, reason);
}

QString SaveTargetRefusal(const QString& fileName)
{
    struct stat st {};
    // Nothing there yet, or nothing reachable: opening the new file will say why.
    if (fileName.isEmpty() || ::stat(QFile::encodeName(fileName).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    if (S_ISDIR(st.st_mode))
        return SystemErrorText(EISDIR);
    return QCoreApplication::translate(
        "FileErrors", "Это не обычный файл (устройство, канал или сокет), и заменить его файлом нельзя.");
}

QString SaveOpenFailureReason(const QString& fileName)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(fileName).absolutePath());
    struct stat st {};
    if (::stat(dir.constData(), &st) != 0)
        return SystemErrorText(errno);
    if (!S_ISDIR(st.st_mode))
        return SystemErrorText(ENOTDIR);
    if (::access(dir.constData(), W_OK | X_OK) != 0)
        return SystemErrorText(errno);
    return QCoreApplication::translate("FileErrors", "Не удалось создать файл.");
}

QString WriteFailureReason(const QFileDevice& file)
{
    if (file.error() == QFileDevice::OpenError)
        return SaveOpenFailureReason(file.fileName());
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        file.size() + 65536 >= qint64(limit.rlim_cur))
        return SystemErrorText(EFBIG);
    struct statvfs disk {};
    const QByteArray dir = QFile::encodeName(QFileInfo(file.fileName()).absolutePath());
    if (::statvfs(dir.constData(), &disk) == 0 && disk.f_bavail == 0)
        return SystemErrorText(ENOSPC);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return QCoreApplication::translate("FileErrors", "Файл записан не полностью.");
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace ormica
