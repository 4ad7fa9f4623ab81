#include "core/transfer/function_dir.h"

#include "core/engine/message_sink.h"
#include "core/engine/program_subdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ormica {

QString FunctionDirIn(const QString& programDir, const QString& appDataDir)
{
    const TProgramSubdir dir = ProgramSubdirIn(programDir, appDataDir, QStringLiteral("Functions"));
    if (!dir.Ready)
        messages().warning(
            QCoreApplication::translate("FunctionDir", "НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ : для файлов *.fcc : \r\n%1")
                .arg(QDir::toNativeSeparators(dir.Path)));
    return dir.Path;
}

QString FunctionDir()
{
    return FunctionDirIn(ProgramDirOfRun(), AppDataDirOfRun());
}

bool EnsureFunctionsDir()
{
    return QFileInfo(FunctionDir()).isDir();
}

}  // namespace ormica
