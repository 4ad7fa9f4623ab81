#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace ormica {

// Windows-1251, the code page of the texts in .fdb files and of the
// separators in text images. A table of its upper half: Qt's own converter
// knows it only when built with ICU.

// Every byte gives one character; 0x98, unassigned in the code page, gives
// U+0098 as the platform that wrote the files shows it.
QString FromCp1251(const char* bytes, qsizetype size);
QString FromCp1251(const QByteArray& bytes);

// One byte per character; nullopt when a character has no byte.
std::optional<QByteArray> ToCp1251(const QString& text);

// The first character of the text that has no byte, or -1.
qsizetype FirstNonCp1251(const QString& text);

}  // namespace ormica
