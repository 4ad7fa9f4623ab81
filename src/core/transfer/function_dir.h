#pragma once

#include <QString>

namespace ormica {

// The folder of function files: "Functions" in the program's folder when it
// exists or can be made there, else "Functions" in the user's application-data
// folder, made when needed. When neither can be made, the warning names the
// fallback folder, which is still returned.
QString FunctionDirIn(const QString& programDir, const QString& appDataDir);

// FunctionDirIn for this program and this user.
QString FunctionDir();

// True when the function folder exists (after trying to make it).
bool EnsureFunctionsDir();

}  // namespace ormica
