#include "function_dir.h"

#include "engine/message_sink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ormica {
namespace {

// A folder the user can save functions in: an existing one must be writable.
bool makeDir(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return info.isWritable();
    return !info.exists() && QDir().mkpath(path);
}

}  // namespace

QString FunctionDirIn(const QString& programDir, const QString& appDataDir)
{
    const QString beside =
        programDir.isEmpty() ? QStringLiteral("Functions") : programDir + QStringLiteral("/Functions");
    if (makeDir(beside))
        return QDir::cleanPath(beside);
    // An installed program's folder is usually not writable by its user.
    const QString own = appDataDir.isEmpty() ? QString() : QDir::cleanPath(appDataDir + QStringLiteral("/Functions"));
    if (!own.isEmpty() && makeDir(own))
        return own;
    const QString shown = own.isEmpty() ? QDir::cleanPath(beside) : own;
    messages().warning(QStringLiteral("НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ : для файлов *.fcc : \r\n") +
                       QDir::toNativeSeparators(shown));
    return shown;
}

QString FunctionDir()
{
    return FunctionDirIn(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool EnsureFunctionsDir()
{
    return QFileInfo(FunctionDir()).isDir();
}

}  // namespace ormica
