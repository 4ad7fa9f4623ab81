#pragma once

#include <QString>

namespace ormica {

// Formats one grid label as the runtime's formatted-text function does with
// a single extended argument: literal text, "%%", and one "%[-][width][.prec]f"
// (precision 2 when omitted). The fixed form rounds its decimal digits half
// away from zero and uses the locale's decimal separator. A format that is not
// of this shape gives an empty text, which draws no label.
QString FormatGraphLabel(const QString& format, long double value);

}  // namespace ormica
