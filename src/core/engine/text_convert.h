#pragma once

#include <QString>

namespace ormica {

// Reads a real number written with the locale's decimal separator. An empty
// text is 0. A bad text shows a warning quoting it and gives false.
bool TextToReal(const QString& text, long double& value);

// Blanks around the number are ignored; an empty text is 0. A bad text gives
// 0 and false, silently.
bool TextToInt(const QString& text, int& value);

}  // namespace ormica
