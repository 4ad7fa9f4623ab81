#include "core/engine/program_subdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ormica {
namespace {

// A folder the user can save files in: an existing one must be writable.
bool makeDir(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return info.isWritable();
    return !info.exists() && QDir().mkpath(path);
}

}  // namespace

TProgramSubdir ProgramSubdirIn(const QString& programDir, const QString& appDataDir, const QString& name)
{
    const QString beside = programDir.isEmpty() ? name : programDir + QLatin1Char('/') + name;
    if (makeDir(beside))
        return {QDir::cleanPath(beside), true};
    const QString own = appDataDir.isEmpty() ? QString() : QDir::cleanPath(appDataDir + QLatin1Char('/') + name);
    if (!own.isEmpty() && makeDir(own))
        return {own, true};
    return {own.isEmpty() ? QDir::cleanPath(beside) : own, false};
}

QString ProgramDirOfRun()
{
    return QCoreApplication::applicationDirPath();
}

QString AppDataDirOfRun()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

}  // namespace ormica
