#include "core/transfer/graph_label.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ormica {

namespace {

constexpr int kDigits = 18;  // significant decimal digits of an extended value

// |value| with `prec` fraction digits; the 18 significant digits are rounded
// half away from zero at the last kept place.
std::string fixedDigits(long double value, int prec, bool& zero)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", kDigits - 1, std::fabs(value));
    std::string d;
    d += buf[0];
    d.append(buf + 2, kDigits - 1);
    int point = std::atoi(buf + kDigits + 2) + 1;  // digits before the decimal point

    const int keep = point + prec;
    if (keep < 0) {
        d.clear();
        point = -prec;
    } else {
        const bool up = keep < int(d.size()) && d[keep] >= '5';
        d.resize(keep, '0');
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d[i] == '9')
                d[i--] = '0';
            if (i < 0) {
                d.insert(d.begin(), '1');
                ++point;
            } else {
                ++d[i];
            }
        }
    }
    zero = d.find_first_not_of('0') == std::string::npos;

    std::string intPart, frac;
    if (point > 0) {
        intPart = d.substr(0, point);
        frac = d.substr(point);
    } else {
        intPart = "0";
        frac = std::string(-point, '0') + d;
    }
    return frac.empty() ? intPart : intPart + '\x01' + frac;  // \x01 marks the separator
}

QString fixedText(long double value, int prec)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    bool zero = false;
    QString text = QString::fromLatin1(fixedDigits(value, prec, zero));
    text.replace(QChar(1), QLocale().decimalPoint());
    if (value < 0 && !zero)
        text.prepend(QLatin1Char('-'));
    return text;
}

// Reads an unsigned decimal number at `i`; -1 when there is none.
int readNumber(const QString& s, qsizetype& i)
{
    int n = -1;
    while (i < s.size() && s[i].isDigit()) {
        n = (n < 0 ? 0 : n) * 10 + s[i].digitValue();
        if (n > 1000)
            return -2;  // no label is that wide
        ++i;
    }
    return n;
}

}  // namespace

QString FormatGraphLabel(const QString& format, long double value)
{
    QString out;
    bool used = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%')) {
            out += format[i];
            continue;
        }
        if (++i >= format.size())
            return {};
        if (format[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        if (used)
            return {};  // a second argument that does not exist
        const bool left = format[i] == QLatin1Char('-');
        if (left)
            ++i;
        const int width = readNumber(format, i);
        int prec = 2;
        if (i < format.size() && format[i] == QLatin1Char('.')) {
            ++i;
            prec = readNumber(format, i);
            if (prec < 0)
                return {};
        }
        if (width < -1 || i >= format.size() || format[i].toLower() != QLatin1Char('f'))
            return {};
        QString field = fixedText(value, std::min(prec, kDigits));
        if (width > field.size())
            field = left ? field.leftJustified(width) : field.rightJustified(width);
        out += field;
        used = true;
    }
    return out;
}

}  // namespace ormica
