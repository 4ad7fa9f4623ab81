#pragma once

#include <QString>

namespace ormica {

// Where a folder of the program's own files lives.
struct TProgramSubdir {
    QString Path;        // the folder chosen, or when none could be made, the one to name in a warning
    bool Ready = false;  // the folder exists and the user can write in it
};

// The folder `name` in the program's folder when it exists there writable or
// can be made there; else `name` in the user's application-data folder, made
// when needed. An installed program's folder is usually not writable by its
// user, hence the second place.
TProgramSubdir ProgramSubdirIn(const QString& programDir, const QString& appDataDir, const QString& name);

// The program's folder and the user's application-data folder of this run.
QString ProgramDirOfRun();
QString AppDataDirOfRun();

}  // namespace ormica
