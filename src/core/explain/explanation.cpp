#include "core/explain/explanation.h"

#include "core/engine/img_service.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace ormica {

std::shared_ptr<TOperationRecord> MakeRecord(TOperationRecord::TKind kind, const TImgTabBGR& arr, const QImage& picture)
{
    auto record = std::make_shared<TOperationRecord>();
    record->Kind = kind;
    if (ArrayIsPicture(arr, picture))
        record->Source = picture;
    else if (!arr.empty()) {
        record->Source = QImage(1, 1, QImage::Format_BGR888);
        ImgTabToBitMap(record->Source, arr, nullptr);
    }
    return record;
}

QString OperationName(TOperationRecord::TKind kind)
{
    using K = TOperationRecord::TKind;
    switch (kind) {
    case K::Grey:
        return QCoreApplication::translate("Explain", "Серый");
    case K::MirrorH:
        return QCoreApplication::translate("Explain", "Зеркало по горизонтали");
    case K::MirrorV:
        return QCoreApplication::translate("Explain", "Зеркало по вертикали");
    case K::Rotate90Plus:
        return QCoreApplication::translate("Explain", "Поворот на +90°");
    case K::Rotate90Minus:
        return QCoreApplication::translate("Explain", "Поворот на -90°");
    case K::Crop:
        return QCoreApplication::translate("Explain", "Вырезка");
    case K::Rotate:
        return QCoreApplication::translate("Explain", "Поворот на угол");
    case K::Scale:
        return QCoreApplication::translate("Explain", "Масштабирование");
    case K::Filter:
        return QCoreApplication::translate("Explain", "Фильтр");
    case K::Transfer:
        return QCoreApplication::translate("Explain", "Передаточная функция");
    }
    return QString();
}

namespace detail {

QString ExplainNumber(long double value, int digits)
{
    if (std::isfinite(value) && value == std::nearbyint(value) && std::fabs(value) < 1e15L)
        return QString::number(static_cast<long long>(value));
    QString text = QString::number(double(value), 'g', digits);
    return text;
}

}  // namespace detail

namespace {

TBGRTriple pixelOf(const QImage& picture, int x, int y)
{
    const std::uint8_t* p = picture.constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

QString triple(TBGRTriple t)
{
    return QStringLiteral("(%1, %2, %3)").arg(t.b).arg(t.g).arg(t.r);
}

}  // namespace

TExplanation Explain(const TOperationRecord& record, const QImage& written, int x, int y)
{
    TExplanation out;
    out.Operation = OperationName(record.Kind);
    out.X = x;
    out.Y = y;
    if (written.isNull() || written.format() != QImage::Format_BGR888 || x < 0 || y < 0 || x >= written.width() ||
        y >= written.height()) {
        out.Unavailable = QCoreApplication::translate("Explain", "Точка (%1, %2) лежит вне изображения.").arg(x).arg(y);
        return out;
    }
    out.Actual = pixelOf(written, x, y);
    if (record.Source.isNull() || record.Source.format() != QImage::Format_BGR888) {
        out.Unavailable = QCoreApplication::translate("Explain", "Исходное изображение операции больше не хранится.");
        return out;
    }
    using K = TOperationRecord::TKind;
    switch (record.Kind) {
    case K::Grey:
        detail::ExplainGrey(record, x, y, out);
        break;
    case K::MirrorH:
    case K::MirrorV:
    case K::Rotate90Plus:
    case K::Rotate90Minus:
    case K::Crop:
        detail::ExplainGeometry(record, written, x, y, out);
        break;
    case K::Rotate:
        detail::ExplainRotate(record, x, y, out);
        break;
    case K::Scale:
        detail::ExplainScale(record, written, x, y, out);
        break;
    case K::Filter:
        detail::ExplainFilter(record, x, y, out);
        break;
    case K::Transfer:
        detail::ExplainTransfer(record, x, y, out);
        break;
    }
    if (out.Unavailable.isEmpty() && !out.Matches())
        out.Steps.push_back({QCoreApplication::translate("Explain", "Расхождение"),
                             QCoreApplication::translate("Explain", "результат %1 ≠ точка изображения %2")
                                 .arg(out.Result ? triple(*out.Result) : QStringLiteral("—"), triple(*out.Actual)),
                             QString()});
    return out;
}

namespace {

// The 7 x 7 neighbourhood, a line a source row: "B,G,R×w" for each column.
QString neighbourhoodText(const TNeighbourhood& n)
{
    QString text = QCoreApplication::translate("Explain", "Окрестность: B,G,R×вес; строки %1 … %2, столбцы %3 … %4")
                       .arg(n.Rows.front())
                       .arg(n.Rows.back())
                       .arg(n.Cols.front())
                       .arg(n.Cols.back()) +
                   QLatin1Char('\n');
    for (std::size_t i = 0; i < 7; ++i) {
        QStringList cells;
        for (std::size_t j = 0; j < 7; ++j) {
            const TBGRTriple v = n.Values[i][j];
            cells << QStringLiteral("%1,%2,%3×%4").arg(v.b).arg(v.g).arg(v.r).arg(n.Weights[i][j]);
        }
        text += QStringLiteral("  %1: ").arg(n.Rows[i]) + cells.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace

QString ExplanationText(const TExplanation& e)
{
    QString text = QStringLiteral("%1: (%2, %3)\n").arg(e.Operation).arg(e.X).arg(e.Y);
    if (!e.Unavailable.isEmpty())
        return text + e.Unavailable + QLatin1Char('\n');
    for (const TExplainStep& s : e.Steps) {
        text += s.Label + QStringLiteral(": ") + s.Formula;
        if (!s.Numbers.isEmpty())
            text += QStringLiteral(" = ") + s.Numbers;
        text += QLatin1Char('\n');
    }
    if (e.Neighbourhood)
        text += neighbourhoodText(*e.Neighbourhood);
    if (e.Result)
        text += QStringLiteral("result\t%1\t%2\t%3\n").arg(e.Result->b).arg(e.Result->g).arg(e.Result->r);
    return text;
}

namespace {

QJsonArray tripleJson(TBGRTriple t)
{
    return QJsonArray{t.b, t.g, t.r};
}

QJsonObject neighbourhoodJson(const TNeighbourhood& n)
{
    QJsonArray rows, cols, values, weights;
    for (int i = 0; i < 7; ++i) {
        rows.append(n.Rows[std::size_t(i)]);
        cols.append(n.Cols[std::size_t(i)]);
        QJsonArray valueRow, weightRow;
        for (int j = 0; j < 7; ++j) {
            valueRow.append(tripleJson(n.Values[std::size_t(i)][std::size_t(j)]));
            weightRow.append(n.Weights[std::size_t(i)][std::size_t(j)]);
        }
        values.append(valueRow);
        weights.append(weightRow);
    }
    return {{QStringLiteral("rows"), rows},
            {QStringLiteral("columns"), cols},
            {QStringLiteral("values"), values},
            {QStringLiteral("weights"), weights}};
}

}  // namespace

QByteArray ExplanationJson(const TExplanation& e)
{
    QJsonObject o{{QStringLiteral("operation"), e.Operation}, {QStringLiteral("x"), e.X}, {QStringLiteral("y"), e.Y}};
    if (!e.Unavailable.isEmpty())
        o.insert(QStringLiteral("unavailable"), e.Unavailable);
    QJsonArray steps;
    for (const TExplainStep& s : e.Steps)
        steps.append(QJsonObject{{QStringLiteral("label"), s.Label},
                                 {QStringLiteral("formula"), s.Formula},
                                 {QStringLiteral("numbers"), s.Numbers}});
    o.insert(QStringLiteral("steps"), steps);
    if (e.Result)
        o.insert(QStringLiteral("result"), tripleJson(*e.Result));
    if (e.Actual)
        o.insert(QStringLiteral("actual"), tripleJson(*e.Actual));
    o.insert(QStringLiteral("matches"), e.Matches());
    if (e.Neighbourhood)
        o.insert(QStringLiteral("neighbourhood"), neighbourhoodJson(*e.Neighbourhood));
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

}  // namespace ormica
