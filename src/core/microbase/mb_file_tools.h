#pragma once

#include "core/engine/load_save_image.h"
#include "core/engine/program_subdir.h"
#include "core/microbase/micro_base.h"

#include <QString>
#include <QStringList>

namespace ormica {

inline constexpr int kFilterRecordSize = 453;  // header and TFilterRec
inline constexpr int kFilterDataSize = 447;

// The filter of the base-file dialogs.
const QStringList& FdbFilters();

// The folder of base files: "Filters" beside the program when it exists
// there writable or can be made there, else in the user's application-data
// folder. When neither can be made, the folder that was tried last.
QString FiltersDirIn(const QString& programDir, const QString& appDataDir);

bool IsOpen(const TMicroBase* engine);

// True when the folder exists or has been made; otherwise an error box naming it.
bool EnsureFiltersDir(const QString& dir);

// Makes an empty (0-byte) file. False without a word when a file of that
// name exists (it is not touched); false with an error box when it cannot be made.
bool CreateEmptyBase(const QString& name);

// Makes the folder and the empty default base when they are missing; sets
// defaultBase (empty on failure) and currentBase to it. True when there is a
// default base.
bool PrepareDefaultBase(const QString& programDir, QString& defaultBase, QString& currentBase,
                        const QString& appDataDir = AppDataDirOfRun());

// Appends ".fdb" unless the extension is already .fdb in any letter case.
QString ForceFdbExt(const QString& name);

// Asks for a file and copies the working records of the open base into it,
// numbered anew from 0. Asks before replacing another existing file; refuses
// the current base (currentBase, and the engine's own file) itself. The copy
// goes to a temporary file renamed into place, so a failed copy leaves an
// existing file whole; the failure is reported naming the file and the
// reason. The name written, or empty.
QString SaveAs(TMicroBase* engine, TFileDialogs& dialog, const QString& programDir,
               const QString& appDataDir = AppDataDirOfRun(), const QString& currentBase = QString());

// The copy of SaveAs without the dialog and the questions: false, reported,
// when the target could not be written whole.
bool CopyWorkingRecords(TMicroBase& engine, const QString& target);

// Asks for a file and makes it an empty base. Asks before re-creating
// another existing file (deleted on Yes); refuses the current base itself.
// The name of the new base, or empty. With no engine to know it by, the
// current base must be named.
QString NewBaseDialog(TFileDialogs& dialog, const QString& programDir, const QString& appDataDir,
                      const QString& currentBase);

}  // namespace ormica
