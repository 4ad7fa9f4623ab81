#pragma once

#include "core/engine/load_save_image.h"
#include "core/transfer/fcc_file.h"
#include "core/transfer/point_list.h"

#include <QString>
#include <QStringList>

namespace ormica {

// The filter of the function-file dialogs.
QStringList FccFilters();

// The name a function is saved under: ".fcc" is appended unless the name
// already ends in it, in any case.
QString ForceFccExt(const QString& fileName);

// Asks for a file name in `dir` and writes the points there, after asking
// before replacing an existing file. The name written, or empty when the
// user cancelled, declined or the write failed (reported by the writer).
QString SaveFccDialog(TFileDialogs& dialogs, const QString& dir, const TBrightPointArray& points);

// Asks for a file in `dir` and loads it: `points` gets the file's pairs,
// clamped into 0..255. A refused file is reported and leaves `points` empty;
// a cancelled dialog leaves it as it was. The name chosen, or empty.
QString LoadFccDialog(TFileDialogs& dialogs, const QString& dir, TBrightPointArray& points, TFccReadState& state);

}  // namespace ormica
