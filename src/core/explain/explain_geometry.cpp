// Grey, the moves of whole pixels (mirrors, quarter turns, crop) and the
// rotation by an angle, worked out for one pixel.
#include "core/engine/rect.h"
#include "core/explain/explanation.h"

#include <QCoreApplication>

#include <cmath>
#include <numbers>

namespace ormica::detail {

namespace {

TBGRTriple pixelAt(const QImage& picture, long long x, long long y)
{
    const std::uint8_t* p = picture.constScanLine(int(y)) + 3 * x;
    return {p[0], p[1], p[2]};
}

bool inside(const QImage& picture, long long x, long long y)
{
    return x >= 0 && y >= 0 && x < picture.width() && y < picture.height();
}

QString triple(TBGRTriple t)
{
    return QStringLiteral("(%1, %2, %3)").arg(t.b).arg(t.g).arg(t.r);
}

// Numbers with a proper minus sign; an operand after an operator goes in
// brackets when negative, so that "3 − (−2)" never reads as "3 − −2".
QString num(long double v, int digits = 10)
{
    QString text = ExplainNumber(v, digits);
    if (text.startsWith(QLatin1Char('-')))
        text.replace(0, 1, QStringLiteral("−"));
    return text;
}

QString operand(long double v, int digits = 10)
{
    return v < 0 ? QStringLiteral("(") + num(v, digits) + QStringLiteral(")") : num(v, digits);
}

// Appended, not put through arg(): "%1²" would read as place marker 12.
QString squared(long double v)
{
    return operand(v) + QStringLiteral("²");
}

void step(TExplanation& out, const QString& label, const QString& formula, const QString& numbers)
{
    out.Steps.push_back({label, formula, numbers});
}

// The pixel of the source that lands at the explained place, and its value.
void takeSource(const TOperationRecord& record, long long sx, long long sy, TExplanation& out)
{
    if (!inside(record.Source, sx, sy)) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Исходная точка (%1, %2) лежит вне исходного изображения.")
                .arg(sx)
                .arg(sy);
        return;
    }
    const TBGRTriple v = pixelAt(record.Source, sx, sy);
    step(out, QCoreApplication::translate("Explain", "Значение исходной точки"),
         QCoreApplication::translate("Explain", "(B, G, R) в точке (x′, y′)"),
         QStringLiteral("(%1, %2) → %3").arg(sx).arg(sy).arg(triple(v)));
    out.Result = v;
}

constexpr long double kPi = std::numbers::pi_v<long double>;

// The angle of the point about the centre, from its quadrant.
long double pointAngle(long double dY, long double dX, long double r, TExplanation& out)
{
    const long double phi0 = std::asin(std::fabs(dY) / r);
    long double phi;
    QString quadrant, formula, numbers;
    const QString arc = QStringLiteral("arcsin(%1 / %2)").arg(num(std::fabs(dY))).arg(num(r, 6));
    if (dY > 0 && dX > 0) {
        phi = phi0;
        quadrant = QStringLiteral("dY > 0, dX > 0");
        formula = QStringLiteral("φ = arcsin(|dY| / r)");
        numbers = arc;
    } else if (dY > 0) {
        phi = kPi - phi0;
        quadrant = QStringLiteral("dY > 0, dX ≤ 0");
        formula = QStringLiteral("φ = π − arcsin(|dY| / r)");
        numbers = QStringLiteral("π − ") + arc;
    } else if (dX > 0) {
        phi = 2 * kPi - phi0;
        quadrant = QStringLiteral("dY ≤ 0, dX > 0");
        formula = QStringLiteral("φ = 2π − arcsin(|dY| / r)");
        numbers = QStringLiteral("2π − ") + arc;
    } else {
        phi = kPi + phi0;
        quadrant = QStringLiteral("dY ≤ 0, dX ≤ 0");
        formula = QStringLiteral("φ = π + arcsin(|dY| / r)");
        numbers = QStringLiteral("π + ") + arc;
    }
    step(out, QCoreApplication::translate("Explain", "Угол точки (%1)").arg(quadrant), formula,
         numbers + QStringLiteral(" = ") + num(phi, 6));
    return phi;
}

// The offsets (dY, dX) from the centre turned back by the angle into the source's.
void turnOffsets(long double degrees, long double r, long double& dY, long double& dX, TExplanation& out)
{
    if (!(std::fabs(r) > 0.1L)) {
        // The centre itself: no angle to speak of, the offsets stay.
        step(out, QCoreApplication::translate("Explain", "Смещение по строкам в исходном (r ≤ 0,1)"),
             QStringLiteral("dY′ = dY"), num(dY));
        step(out, QCoreApplication::translate("Explain", "Смещение по столбцам в исходном (r ≤ 0,1)"),
             QStringLiteral("dX′ = dX"), num(dX));
        return;
    }
    const long double phi = pointAngle(dY, dX, r, out);
    const long double a = degrees * kPi / 180;
    step(out, QCoreApplication::translate("Explain", "Угол поворота"), QStringLiteral("a = α · π / 180"),
         QStringLiteral("%1 · π / 180 = %2").arg(operand(degrees)).arg(num(a, 6)));
    const long double psi = phi - a;
    step(out, QCoreApplication::translate("Explain", "Угол до поворота"), QStringLiteral("ψ = φ − a"),
         QStringLiteral("%1 − %2 = %3").arg(num(phi, 6)).arg(operand(a, 6)).arg(num(psi, 6)));
    const long double sinPsi = std::sin(psi), cosPsi = std::cos(psi);
    dY = r * sinPsi;
    dX = r * cosPsi;
    const QString product = QStringLiteral("%1 · %2 = %3");
    step(out, QCoreApplication::translate("Explain", "Смещение по строкам в исходном"),
         QStringLiteral("dY′ = r · sin ψ"), product.arg(num(r, 6), operand(sinPsi, 6), num(dY, 12)));
    step(out, QCoreApplication::translate("Explain", "Смещение по столбцам в исходном"),
         QStringLiteral("dX′ = r · cos ψ"), product.arg(num(r, 6), operand(cosPsi, 6), num(dX, 12)));
}

struct Place {
    long long row = 0;
    long long col = 0;
};

// The source row and column: the centre plus the turned offsets, rounded.
Place sourcePlace(long long w, long double yc, long double xc, long double dY, long double dX, TExplanation& out)
{
    const long double rowExact = yc + dY;
    const long long row = static_cast<long long>(std::nearbyint(rowExact));
    step(out, QCoreApplication::translate("Explain", "Строка источника (половины к чётному)"),
         QStringLiteral("row = round(Rc + dY′)"),
         QStringLiteral("round(%1 + %2) = round(%3) = %4")
             .arg(num(yc))
             .arg(operand(dY, 12))
             .arg(num(rowExact, 12))
             .arg(num(row)));
    const long double colExact = xc + dX;
    const long long turned = static_cast<long long>(std::nearbyint(colExact));
    const long long col = w - turned;
    step(out, QCoreApplication::translate("Explain", "Столбец источника (половины к чётному)"),
         QStringLiteral("col = W − round((W − Cc) + dX′)"),
         QStringLiteral("%1 − round(%2 + %3) = %1 − %4 = %5")
             .arg(w)
             .arg(num(xc))
             .arg(operand(dX, 12))
             .arg(operand(turned))
             .arg(num(col)));
    return {row, col};
}

// The source pixel at (row, col), or the fill colour where that lies outside.
void takeTurnedSource(const TOperationRecord& record, Place at, TExplanation& out)
{
    const long long row = at.row, col = at.col;
    const long long w = record.Source.width(), h = record.Source.height();
    const bool rowOut = row < 0 || row > h - 1;
    const bool colOut = col < 0 || col > w - 1;
    if (rowOut || colOut) {
        const TBGRTriple fill = ColorToBGRTriple(record.Fill);
        QStringList why;
        if (rowOut)
            why << QCoreApplication::translate("Explain", "строка %1 вне 0…%2").arg(num(row)).arg(h - 1);
        if (colOut)
            why << QCoreApplication::translate("Explain", "столбец %1 вне 0…%2").arg(num(col)).arg(w - 1);
        step(out, QCoreApplication::translate("Explain", "Цвет заливки"),
             QCoreApplication::translate("Explain", "точка (row, col) вне исходного"),
             why.join(QStringLiteral(", ")) + QStringLiteral(" → ") + triple(fill));
        out.Result = fill;
        return;
    }
    const TBGRTriple v = pixelAt(record.Source, col, row);
    step(out, QCoreApplication::translate("Explain", "Значение исходной точки"),
         QCoreApplication::translate("Explain", "(B, G, R) в точке (row, col)"),
         QStringLiteral("(%1, %2) → %3").arg(row).arg(col).arg(triple(v)));
    out.Result = v;
}

}  // namespace

void ExplainGrey(const TOperationRecord& record, int x, int y, TExplanation& out)
{
    if (!inside(record.Source, x, y)) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Исходная точка (%1, %2) лежит вне исходного изображения.")
                .arg(x)
                .arg(y);
        return;
    }
    const TBGRTriple p = pixelAt(record.Source, x, y);
    step(out, QCoreApplication::translate("Explain", "Исходная точка"), QStringLiteral("(B, G, R)"), triple(p));
    const int s = p.b * p.b + p.g * p.g + p.r * p.r;
    step(out, QCoreApplication::translate("Explain", "Сумма квадратов"), QStringLiteral("s = B² + G² + R²"),
         QStringLiteral("%1 + %2 + %3 = %4").arg(squared(p.b), squared(p.g), squared(p.r)).arg(s));
    // The level comes from √s / √3 in extended precision, as the conversion defines it.
    const long double v = std::sqrt(static_cast<long double>(s)) / std::sqrt(3.0L);
    step(out, QCoreApplication::translate("Explain", "Среднеквадратичное"), QStringLiteral("v = √(s / 3)"),
         QStringLiteral("√(%1 / 3) = %2").arg(s).arg(num(v, 6)));
    const auto level = v < 255.1L ? static_cast<std::uint8_t>(std::nearbyint(v)) : std::uint8_t(255);
    step(out, QCoreApplication::translate("Explain", "Уровень (половины к чётному)"),
         QCoreApplication::translate("Explain", "L = round(v) при v < 255,1, иначе 255"),
         QStringLiteral("round(%1) = %2").arg(num(v, 6)).arg(level));
    out.Result = TBGRTriple{level, level, level};
}

void ExplainGeometry(const TOperationRecord& record, const QImage& written, int x, int y, TExplanation& out)
{
    using K = TOperationRecord::TKind;
    const long long w = written.width(), h = written.height();
    long long sx = x, sy = y;
    const QString column = QCoreApplication::translate("Explain", "Исходный столбец"),
                  row = QCoreApplication::translate("Explain", "Исходная строка");
    const QString same = QStringLiteral("%1");
    const QString back = QStringLiteral("%1 − 1 − %2 = %3");
    switch (record.Kind) {
    case K::MirrorH:
        sx = w - 1 - x;
        step(out, column, QStringLiteral("x′ = W − 1 − x"), back.arg(w).arg(x).arg(sx));
        step(out, row, QStringLiteral("y′ = y"), same.arg(sy));
        break;
    case K::MirrorV:
        sy = h - 1 - y;
        step(out, column, QStringLiteral("x′ = x"), same.arg(sx));
        step(out, row, QStringLiteral("y′ = H − 1 − y"), back.arg(h).arg(y).arg(sy));
        break;
    case K::Rotate90Plus:
        // Counter-clockwise: source row y′ becomes column y′, its last column the top row.
        sx = h - 1 - y;
        sy = x;
        step(out, column, QStringLiteral("x′ = H − 1 − y"), back.arg(h).arg(y).arg(sx));
        step(out, row, QStringLiteral("y′ = x"), same.arg(sy));
        break;
    case K::Rotate90Minus:
        sx = y;
        sy = w - 1 - x;
        step(out, column, QStringLiteral("x′ = y"), same.arg(sx));
        step(out, row, QStringLiteral("y′ = W − 1 − x"), back.arg(w).arg(x).arg(sy));
        break;
    case K::Crop: {
        const TRect& r = record.Rect;
        TRect clipped;
        if (r.Right < r.Left || r.Bottom < r.Top ||
            !IntersectRect(clipped, r, TRect{0, 0, record.Source.width() - 1, record.Source.height() - 1})) {
            out.Unavailable = QCoreApplication::translate(
                "Explain", "Вырезка ничего не взяла: прямоугольник пуст или лежит вне изображения.");
            return;
        }
        const QString clip = QStringLiteral("max(%1, 0) = %2"), shift = QStringLiteral("%1 + %2 = %3");
        step(out, QCoreApplication::translate("Explain", "Левый край"), QStringLiteral("L = max(Left, 0)"),
             clip.arg(num(r.Left)).arg(clipped.Left));
        step(out, QCoreApplication::translate("Explain", "Верхний край"), QStringLiteral("T = max(Top, 0)"),
             clip.arg(num(r.Top)).arg(clipped.Top));
        sx = clipped.Left + x;
        sy = clipped.Top + y;
        step(out, column, QStringLiteral("x′ = L + x"), shift.arg(clipped.Left).arg(x).arg(sx));
        step(out, row, QStringLiteral("y′ = T + y"), shift.arg(clipped.Top).arg(y).arg(sy));
        break;
    }
    default:
        return;
    }
    takeSource(record, sx, sy, out);
}

void ExplainRotate(const TOperationRecord& record, int x, int y, TExplanation& out)
{
    const QImage& src = record.Source;
    const long long w = src.width(), h = src.height();
    if (h < 3) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Поворот не выполнялся: в исходном изображении меньше трёх строк.");
        return;
    }
    const long long rc = record.CentreRow, cc = record.CentreCol;
    step(out, QCoreApplication::translate("Explain", "Точка"), QStringLiteral("(y, x)"),
         QStringLiteral("(%1, %2)").arg(y).arg(x));
    step(out, QCoreApplication::translate("Explain", "Центр"), QStringLiteral("(Rc, Cc)"),
         QStringLiteral("(%1, %2)").arg(num(rc), num(cc)));
    step(out, QCoreApplication::translate("Explain", "Ширина"), QStringLiteral("W"), QString::number(w));

    // Columns are counted from the right edge (X = W − x) so that a positive
    // angle turns counter-clockwise on the screen.
    const long double yc = rc;
    const long double xc = static_cast<long double>(w - cc);
    long double dY = static_cast<long double>(y) - yc;
    long double dX = static_cast<long double>(w - x) - xc;
    step(out, QCoreApplication::translate("Explain", "Смещение по строкам"), QStringLiteral("dY = y − Rc"),
         QStringLiteral("%1 − %2 = %3").arg(y).arg(operand(yc)).arg(num(dY)));
    step(out, QCoreApplication::translate("Explain", "Смещение по столбцам (от правого края)"),
         QStringLiteral("dX = (W − x) − (W − Cc)"),
         QStringLiteral("%1 − %2 = %3").arg(num(w - x)).arg(operand(xc)).arg(num(dX)));
    const long double r = std::sqrt(dX * dX + dY * dY);
    step(out, QCoreApplication::translate("Explain", "Радиус"), QStringLiteral("r = √(dX² + dY²)"),
         QStringLiteral("√(%1 + %2) = %3").arg(squared(dX), squared(dY)).arg(num(r, 6)));

    turnOffsets(record.Degrees, r, dY, dX, out);
    takeTurnedSource(record, sourcePlace(w, yc, xc, dY, dX, out), out);
}

}  // namespace ormica::detail
