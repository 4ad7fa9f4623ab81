#include "core/engine/text_convert.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QLocale>
#include <charconv>

namespace ormica {

bool TextToReal(const QString& text, long double& value)
{
    value = 0;
    if (text.isEmpty())
        return true;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double checked = locale.toDouble(text, &ok);
    if (!ok) {
        messages().warning(QCoreApplication::translate(
                               "TextConvert", " Введенный Вами текст : %1\r\n Не является действительным числом.")
                               .arg(text));
        return false;
    }
    // The locale has accepted it; read it again at full extended precision.
    QString plain = text.trimmed();
    plain.replace(locale.decimalPoint(), QLatin1String("."));
    plain.replace(locale.negativeSign(), QLatin1String("-"));
    plain.replace(locale.positiveSign(), QLatin1String("+"));
    plain.replace(locale.exponential(), QLatin1String("e"), Qt::CaseInsensitive);
    if (plain.startsWith(QLatin1Char('+')))
        plain.remove(0, 1);
    const QByteArray latin = plain.toLatin1();
    long double precise = 0;
    const auto [end, err] = std::from_chars(latin.constData(), latin.constData() + latin.size(), precise);
    const bool whole = err == std::errc() && end == latin.constData() + latin.size();
    value = whole ? precise : static_cast<long double>(checked);
    return true;
}

bool TextToInt(const QString& text, int& value)
{
    value = 0;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    bool ok = false;
    int v = 0;
    // A leading '$' marks a hexadecimal number, as the users' old habit is.
    const bool negative = t.startsWith(QLatin1Char('-'));
    QString body = (negative || t.startsWith(QLatin1Char('+'))) ? t.mid(1) : t;
    if (body.startsWith(QLatin1Char('$'))) {
        const qlonglong h = body.mid(1).toLongLong(&ok, 16);
        ok = ok && h <= (negative ? 0x80000000LL : 0x7FFFFFFFLL);
        v = ok ? int(negative ? -h : h) : 0;
    } else {
        v = t.toInt(&ok, 10);
    }
    if (!ok)
        return false;
    value = v;
    return true;
}

}  // namespace ormica
