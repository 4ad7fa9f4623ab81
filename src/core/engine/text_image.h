#pragma once

#include "core/engine/img_tab.h"
#include "core/engine/progress.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string_view>

namespace ormica {

// Text image files: one line per row, the top row first, each line ended by
// CR LF; every byte of a row (blue, green, red of each pixel) in decimal,
// each followed by the separator. No header: the width is implied.

// At most this many lines are read.
inline constexpr int kMaxTextImageLines = 65535;
// At most this many rows of at most this many bytes are written.
inline constexpr int kMaxTextImageRows = 65536;
inline constexpr qsizetype kMaxTextImageRowBytes = 65536;

// The option items of both text dialogs.
inline constexpr int kSeparatorTab = 0;
inline constexpr int kSeparatorSemicolon = 1;
inline constexpr int kSeparatorOther = 2;

// The separator of an option item: tab, ";", or the first character of
// `otherText` once blanks are gone from both ends (an empty text when that
// leaves nothing); any other item gives ";".
QString TextSeparator(int item, const QString& otherText);

// The name an export writes: ".txt" appended unless the name already ends
// with it in any letter case.
QString TextImageFileName(const QString& fileName);

// A value of a text image by the platform's integer conversion: leading
// spaces, a sign and a '$' hexadecimal prefix accepted, nothing after the
// digits; within 0..255. Anything else gives 0 and false.
bool TextToByte(QStringView text, std::uint8_t& value);
bool TextToByte(std::string_view text, std::uint8_t& value);

// Writes the array. An array without rows writes nothing and succeeds. More
// than kMaxTextImageRows rows, a row longer than kMaxTextImageRowBytes or an
// empty row, a digit as the separator, and a file that cannot be written,
// are reported as an error naming the file; the file is replaced only by a
// complete new one. `separator` is empty or one character, written as its
// byte in the platform's 8-bit code page, Windows-1251 ('?' when it has
// none). A progress may be null.
bool WriteImgTabText(const TImgTabBGR& arr, const QString& separator, const QString& fileName, TProgress* progress);

// Reads a text image into the array, row j from line j. Blanks and control
// characters at both ends of a line are ignored, except a separator that ends
// it; a line is cut at its separators before any number is read (which
// matters for a digit); a token that TextToByte refuses is skipped; a line
// that yields no value gives an empty row. A file without lines leaves the
// array as it was and gives false. A file that cannot be read, one of more
// than kMaxTextImageLines lines, or one whose widest row (in whole pixels)
// and lines make a picture PictureSizeAllowed refuses, is reported as an
// error naming the file and leaves the array as it was; such a picture's
// values are not kept. The text is read in blocks, never whole; the progress
// runs over the file's size in KiB.
bool ReadImgTabText(TImgTabBGR& arr, const QString& separator, const QString& fileName, TProgress* progress);

namespace detail {
// Lets tests and the fuzzer cut files into small blocks; 0 restores the usual 1 MiB.
void setTextImageBlock(qsizetype bytes);
}  // namespace detail

}  // namespace ormica
