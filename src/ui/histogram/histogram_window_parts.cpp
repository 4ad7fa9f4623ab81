#include "ui/histogram/histogram_window_parts.h"

#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ormica {

QString FormatGeneral(long double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // 15 significant digits, rounded once, and the decimal exponent.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", value);
    const QString text = QString::fromLatin1(buf);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype ePos = text.indexOf(QLatin1Char('e'));
    QString digits = text.mid(negative ? 1 : 0, ePos - (negative ? 1 : 0)).remove(QLatin1Char('.'));
    const int exponent = text.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const QString sep = QLocale().decimalPoint();

    QString out;
    if (exponent < -5 || exponent >= 15) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += sep + digits.mid(1);
        out += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent < 0) {
        out = QLatin1Char('0') + sep + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        const int intDigits = exponent + 1;
        if (digits.size() <= intDigits) {
            out = digits + QString(intDigits - digits.size(), QLatin1Char('0'));
        } else {
            out = digits.left(intDigits) + sep + digits.mid(intDigits);
        }
    }
    return negative ? QLatin1Char('-') + out : out;
}

namespace gistparts {

QLabel* makeLabel(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// The text of a sunken read-out starts this far inside its frame.
constexpr int kReadOutIndent = 2;

int readOutWidth(const QFontMetrics& fm, const QString& text)
{
    return fm.horizontalAdvance(text) + 2 * (1 + kReadOutIndent);
}

QLabel* makeReadOut(const char* name, const QString& text, QWidget* parent, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(kReadOutIndent);
    label->setGeometry(geometry);
    return label;
}

QLabel* labelledReadOut(const QString& text, QWidget* parent, int x, int y, const char* name, int fieldX, int fieldW)
{
    QLabel* label = makeLabel(text, parent, x, y + 2);
    const int at = std::max(fieldX, rightOf(label) + kGap);
    return makeReadOut(name, QString(), parent, QRect(at, y, fieldW, kFieldH));
}

QFrame* makePanel(const char* name, QWidget* parent, QRect geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    return panel;
}

QToolButton* makeButton(const char* name, const QString& text, const QString& hint, QWidget* parent, QRect geometry)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setGeometry(geometry);
    return button;
}

int rightOf(const QWidget* w)
{
    return w->geometry().right() + 1;
}

void paintLabel(QLabel* label, TColor color)
{
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    label->setPalette(pal);
}

void useDesignFont(QWidget* tab)
{
    QFont font = tab->font();
    font.setPixelSize(11);
    tab->setFont(font);
}

namespace {

// The level of every pixel of a ramp: v in the channel named by the letter
// (B, G or R) and 0 in the others, or v in all three for L.
void putLevel(uchar* px, char channel, uchar v)
{
    px[0] = (channel == 'B' || channel == 'L') ? v : 0;  // blue, green, red
    px[1] = (channel == 'G' || channel == 'L') ? v : 0;
    px[2] = (channel == 'R' || channel == 'L') ? v : 0;
}

}  // namespace

void FillRampH(TImageControl& image, char channel)
{
    QImage picture(image.width(), image.height(), QImage::Format_BGR888);
    if (picture.isNull())
        return;
    const double factor = 256.0 / picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            putLevel(line + 3 * x, channel, static_cast<uchar>(static_cast<int>(x * factor)));
    }
    image.setPicture(picture);
}

void FillRampV(TImageControl& image, char channel)
{
    QImage picture(image.width(), image.height(), QImage::Format_BGR888);
    if (picture.isNull())
        return;
    const double factor = 256.0 / picture.height();
    for (int y = 0; y < picture.height(); ++y) {
        const auto v = static_cast<uchar>(255 - static_cast<int>(y * factor));
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            putLevel(line + 3 * x, channel, v);
    }
    image.setPicture(picture);
}

}  // namespace gistparts

}  // namespace ormica
