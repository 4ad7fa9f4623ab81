#pragma once

#include "core/transfer/point_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace ormica {

// The parse result of one line of a .fcc file.
struct TFccLine {
    bool Valid = false;
    bool Error = false;
    qint32 X = 0;
    qint32 Y = 0;
};

// What the last read found: one slot per line of the file (slots beyond the
// data lines stay invalid), the counts of unreadable input and output values,
// and, when the file itself could not be read, the reason.
struct TFccReadState {
    std::vector<TFccLine> FccLines;
    int InErrors = 0;
    int OutErrors = 0;
    QString FileError;
};

// A function has a few hundred points at most; anything larger is not one.
inline constexpr qint64 kMaxFccFileSize = 1 << 20;

inline constexpr QChar kFccSeparator = QLatin1Char('\t');

// A signed 32-bit decimal integer (a leading '$' marks hexadecimal); leading
// blanks are accepted, trailing ones are not. False and 0 instead of an error.
bool TryParseInt(const QString& text, qint32& value);

// Parses one trimmed data line into the slot and counts its bad numbers.
void ParseFccLine(TFccLine& slot, const QString& separator, const QString& text, int& inErrors, int& outErrors);

// Fills the slots in turn from the lines that are neither empty nor comments.
void ParseFccLines(const QStringList& lines, const QString& separator, TFccReadState& state);

// Splits at CR, LF or CR LF; a final line end adds no empty line.
QStringList SplitFccLines(const QByteArray& bytes);

// Reads and parses the file; true when it has lines and every number is
// readable. A file that cannot be read (missing, not a regular file, larger
// than kMaxFccFileSize) is reported through the sink as an error naming it,
// and FileError tells why.
bool ReadFccFile(const QString& fileName, const QString& separator, TFccReadState& state);

// Loads a function: on success `points` gets the valid pairs in order, each
// value clamped into 0..255. On bad numbers the counts warning is shown; on
// any failure `points` is left as it was.
bool LoadFccFile(const QString& fileName, TBrightPointArray& points, TFccReadState& state);

// The warning of a refused load.
QString FccErrorCountsText(int inErrors, int outErrors);

// One line per pair, "X<separator>Y" CR LF. An empty array writes nothing.
// The file is replaced atomically: a failed write keeps the old file, and
// the failure is reported through the sink as an error naming the file.
bool WriteFccFile(const QString& fileName, const TBrightPointArray& points, QChar separator = kFccSeparator);

}  // namespace ormica
