#include "ui/transfer/graph_xy.h"

#include "recorders.h"

#include <QFrame>
#include <QLabel>
#include <QtTest>
#include <memory>

using namespace ormica;

namespace {

// y = x over 0..255: the X axis on the bottom row, the Y axis on column 0.
TGraphArr identity()
{
    TGraphArr f;
    for (int i = 0; i < 256; ++i)
        f.push_back({static_cast<long double>(i), static_cast<long double>(i)});
    return f;
}

const QColor kBack(200, 220, 240);
const QColor kCurve(255, 0, 0);

}  // namespace

class TstGraphXY : public QObject {
    Q_OBJECT

    QColor at(int x, int y) const { return graph->Image->picture().pixelColor(x, y); }

private slots:
    void init()
    {
        panel = std::make_unique<QWidget>();
        panel->resize(409, 193);  // a 389 x 149 plot image
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, kBack);
        panel->setPalette(pal);
        graph = std::make_unique<TGraphXY>(panel.get());
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }
    void cleanup()
    {
        graph.reset();
        panel.reset();
    }

    void buildsFramedImageAndCaption()
    {
        QVERIFY(graph->Ready);
        auto* bevel = panel->findChild<QFrame*>(QStringLiteral("BevelWImgXY"));
        auto* image = panel->findChild<TImageWidget*>(QStringLiteral("WImgXY"));
        auto* label = panel->findChild<QLabel*>(QStringLiteral("LabelWImgXY"));
        QVERIFY(bevel && image && label);
        QCOMPARE(bevel->geometry(), QRect(6, 30, 397, 157));
        QCOMPARE(image->geometry(), QRect(10, 34, 389, 149));
        QCOMPARE(image->picture().size(), QSize(389, 149));
        QCOMPARE(label->pos(), QPoint(6, 6));
        QCOMPARE(label->text(), QStringLiteral("Панель VerarIZi1 для отображения табличных функций"));
        graph->SetCaption(QStringLiteral("Автокорреляция"));
        QCOMPARE(label->text(), QStringLiteral("Автокорреляция"));
        QCOMPARE(graph->CaptionText, QStringLiteral("Автокорреляция"));
        QVERIFY(label->width() >= label->sizeHint().width());  // sized to the text

        // Cleared to the panel's colour, and no scales yet.
        QCOMPARE(at(0, 0), kBack);
        QCOMPARE(at(388, 148), kBack);
        QCOMPARE(graph->Scale.ScaleX, 0.0L);

        graph.reset();
        QVERIFY(!panel->findChild<QFrame*>(QStringLiteral("BevelWImgXY")));
        QVERIFY(!panel->findChild<TImageWidget*>(QStringLiteral("WImgXY")));
        QVERIFY(!panel->findChild<QLabel*>(QStringLiteral("LabelWImgXY")));
    }

    void tooSmallPanelGetsNothingAndDrawsSilently()
    {
        QWidget small;
        small.resize(62, 200);
        TGraphXY g(&small);
        QVERIFY(!g.Ready);
        QVERIFY(!g.Image);
        QVERIFY(small.children().isEmpty());
        test::RecordingSink sink;
        const TGraphArr f = identity();
        g.DrawFunction(&f, kCurve);
        g.DrawFunction(nullptr, kCurve);
        g.Reset();
        g.Redraw();
        QVERIFY(sink.silent());
        QCOMPARE(g.PixelToIndex(10, &f), -1);
    }

    void drawsGridAxesAndCurveWhereTheCoreSays()
    {
        test::RecordingSink sink;
        const TGraphArr f = identity();
        graph->DrawFunction(&f, kCurve);
        QVERIFY(sink.silent());
        const TGraphScale& s = graph->Scale;
        QCOMPARE(s.ScaleX, 388.0L / 255);
        QCOMPARE(s.ScaleY, 148.0L / 255);
        QCOMPARE(graph->Func.size(), f.size());

        const TGraphGrid gx = s.GridX();
        const TGraphGrid gy = s.GridY();
        QCOMPARE(gx.AxisPixel, 0);
        QCOMPARE(gy.AxisPixel, 148);
        QVERIFY(gx.Lines.size() >= 8);
        QVERIFY(gy.Lines.size() >= 8);

        const QColor grey(128, 128, 128);
        // Vertical grid lines on the top row, clear of every label and of the curve.
        for (const auto& line : gx.Lines) {
            QCOMPARE(at(line.Pixel, 0), grey);
            QCOMPARE(at(line.Pixel + 1, 0), kBack);
        }
        // The tick on the X axis, right of where the Y labels are written.
        QCOMPARE(at(gx.Lines.back().Pixel, 146), QColor(Qt::black));
        // Horizontal grid lines on the right edge, above the X labels.
        const int textHeight = QFontMetrics(graph->Image->font()).height();
        int checked = 0;
        for (const auto& line : gy.Lines) {
            if (line.Pixel >= gy.AxisPixel - textHeight - 6)
                continue;
            QCOMPARE(at(388, line.Pixel), grey);
            QCOMPARE(at(388, line.Pixel + 1), kBack);
            QCOMPARE(at(2, line.Pixel), QColor(Qt::black));  // the tick on the Y axis
            ++checked;
        }
        QVERIFY(checked >= 6);
        // The axes, black: column 0 above the curve's start, the bottom row
        // right of the curve's start and of the lowest Y label.
        for (int y = 0; y < 140; ++y)
            QCOMPARE(at(0, y), QColor(Qt::black));
        for (int x = 100; x < 389; ++x)
            QCOMPARE(at(x, 148), QColor(Qt::black));

        // The curve through the core's vertices.
        for (int i : {60, 128, 200, 255}) {
            const QPoint p(s.XToPixel(i), s.YToPixel(i));
            QCOMPARE(at(p.x(), p.y()), kCurve);
        }
        QCOMPARE(at(388, 0), kCurve);

        // A label the core places is written in black.
        const TGraphGridLine& mid = gy.Lines[gy.Lines.size() / 2];
        const QFontMetrics fm(graph->Image->font());
        const QSize textSize(fm.horizontalAdvance(mid.Label), fm.height());
        const auto origin = s.LabelTextOrigin(s.LabelCornerY(mid.Pixel, textSize.width()), mid.Label, textSize);
        QVERIFY(origin);
        int ink = 0;
        for (int y = origin->y(); y < origin->y() + textSize.height(); ++y)
            for (int x = origin->x(); x < origin->x() + textSize.width(); ++x)
                ink += at(x, y) == QColor(Qt::black);
        QVERIFY(ink > 5);
    }

    void laterArraysKeepTheScalesUntilAResetOrANewFormat()
    {
        test::RecordingSink sink;
        const TGraphArr f = identity();
        graph->DrawFunction(&f, kCurve);
        const TGraphScale& s = graph->Scale;
        const TGraphGrid gx = s.GridX();
        const QColor grey(128, 128, 128);
        const QFontMetrics fm(graph->Image->font());

        // A second array keeps the scales and is drawn over the first.
        const TGraphArr flat{{0, 100}, {255, 100}};
        graph->DrawFunction(&flat, Qt::blue);
        QVERIFY(sink.silent());
        QCOMPARE(s.ScaleY, 148.0L / 255);
        QCOMPARE(at(300, s.YToPixel(100)), QColor(Qt::blue));
        QCOMPARE(at(s.XToPixel(200), s.YToPixel(200)), kCurve);
        QCOMPARE(graph->Func.size(), flat.size());

        // A new label format redraws the grid and erases the curves.
        const QString longFormat = QStringLiteral("%3.0f единиц");
        graph->SetFormatX(longFormat);
        QCOMPARE(s.FmtX, longFormat);
        QCOMPARE(at(s.XToPixel(200), s.YToPixel(200)), kBack);
        QCOMPARE(at(300, s.YToPixel(100)), kBack);
        QCOMPARE(at(gx.Lines.front().Pixel, 0), grey);
        QCOMPARE(at(0, 0), QColor(Qt::black));
        // The last X label does not fit inside the image: its line is drawn, its text is not.
        const TGraphGrid gx2 = s.GridX();
        const TGraphGridLine& last = gx2.Lines.back();
        QCOMPARE(last.Label, QStringLiteral("230 единиц"));  // 229.5, half away from zero
        const QSize lastSize(fm.horizontalAdvance(last.Label), fm.height());
        QVERIFY(!s.LabelTextOrigin(s.LabelCornerX(last.Pixel, lastSize.height()), last.Label, lastSize));
        QCOMPARE(at(last.Pixel, 0), grey);
        for (int y = s.TickRowX() - lastSize.height() - 4; y < s.TickRowX() - 3; ++y)
            for (int x = last.Pixel + 1; x < 389; ++x)
                QVERIFY(at(x, y) != QColor(Qt::black));

        // Reset clears the picture; the next array fixes new scales.
        graph->Reset();
        QCOMPARE(s.ScaleX, 0.0L);
        QCOMPARE(at(0, 0), kBack);
        QCOMPARE(at(gx.Lines.front().Pixel, 0), kBack);
        const TGraphArr zeros{{0, 0}, {10, 0}};
        graph->DrawFunction(&zeros, kCurve);
        QVERIFY(sink.silent());
        QCOMPARE(s.AxisYMin, -1.0L);
        QCOMPARE(s.YToPixel(0), 74);  // the middle row
        QCOMPARE(at(200, 74), kCurve);
    }

    void refusalsAreReportedAndLeaveThePicture()
    {
        const TGraphArr f = identity();
        graph->DrawFunction(&f, kCurve);
        const QImage drawn = graph->Image->picture();

        test::RecordingSink sink;
        graph->DrawFunction(nullptr, kCurve);
        QCOMPARE(sink.warnings, QStringList{QStringLiteral("TGraphXY : Массив функции не задан")});
        QCOMPARE(graph->Image->picture(), drawn);

        sink.warnings.clear();
        const TGraphArr one{{5, 5}};
        graph->DrawFunction(&one, Qt::blue);
        QCOMPARE(sink.warnings, QStringList{QStringLiteral("TGraphXY : Чило точек функции меньше двух")});
        QCOMPARE(graph->Image->picture(), drawn);

        // After a Reset the scales are computed from the array, and refused.
        graph->Reset();
        const QImage cleared = graph->Image->picture();
        sink.warnings.clear();
        graph->DrawFunction(&one, Qt::blue);
        QCOMPARE(sink.warnings, (QStringList{QStringLiteral("TGraphXY : Чило точек функции меньше двух"),
                                             QStringLiteral("TGraphXY : По одной из осей нулевой масштаб")}));
        QCOMPARE(graph->Image->picture(), cleared);

        sink.warnings.clear();
        const TGraphArr vertical{{3, 0}, {3, 9}};
        graph->DrawFunction(&vertical, Qt::blue);
        QCOMPARE(sink.warnings, (QStringList{QStringLiteral("TGraphXY : Функция с нулевым размером диапазона X"),
                                             QStringLiteral("TGraphXY : По одной из осей нулевой масштаб")}));
        QCOMPARE(graph->Image->picture(), cleared);
        QVERIFY(sink.errors.isEmpty());
    }

    void imageMouseGoesToTheOwnersHandlers()
    {
        const TGraphArr f = identity();
        graph->DrawFunction(&f, kCurve);
        TImageWidget* image = graph->Image;

        // Without handlers the events go nowhere, and nothing breaks.
        QTest::mouseMove(image, QPoint(20, 20));
        QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(20, 20));

        struct Event {
            char what;
            QObject* sender;
            Qt::MouseButton button;
            TShiftState shift;
            QPoint at;
        };
        std::vector<Event> events;
        int index = -2;
        graph->OnImgMouseMove = [&](QObject* sender, TShiftState shift, int x, int y) {
            events.push_back({'m', sender, Qt::NoButton, shift, {x, y}});
            index = graph->PixelToIndex(x, &f);
        };
        graph->OnImgMouseDown = [&](QObject* sender, Qt::MouseButton b, TShiftState shift, int x, int y) {
            events.push_back({'d', sender, b, shift, {x, y}});
        };
        graph->OnImgMouseUp = [&](QObject* sender, Qt::MouseButton b, TShiftState shift, int x, int y) {
            events.push_back({'u', sender, b, shift, {x, y}});
        };

        QTest::mouseMove(image, QPoint(194, 50));
        QVERIFY(!events.empty());
        QCOMPARE(events.back().what, 'm');
        QCOMPARE(events.back().sender, image);
        QCOMPARE(events.back().at, QPoint(194, 50));
        QCOMPARE(index, 127);  // 256 / 389 * 194, truncated

        events.clear();
        QTest::mousePress(image, Qt::RightButton, Qt::ShiftModifier, QPoint(7, 9));
        QTest::mouseRelease(image, Qt::RightButton, Qt::ShiftModifier, QPoint(8, 9));
        QCOMPARE(events.size(), size_t(2));
        QCOMPARE(events[0].what, 'd');
        QCOMPARE(events[0].button, Qt::RightButton);
        QVERIFY(events[0].shift & ssShift);
        QCOMPARE(events[0].at, QPoint(7, 9));
        QCOMPARE(events[1].what, 'u');
        QCOMPARE(events[1].sender, image);
        QCOMPARE(events[1].at, QPoint(8, 9));

        // The point under a column, by the image's width.
        QCOMPARE(graph->PixelToIndex(0, &f), 0);
        QCOMPARE(graph->PixelToIndex(388, &f), 255);
        QCOMPARE(graph->PixelToIndex(1000, &f), 255);
        QCOMPARE(graph->PixelToIndex(-1, &f), -1);
        const TGraphArr one{{1, 1}};
        QCOMPARE(graph->PixelToIndex(5, &one), -1);
        QCOMPARE(graph->PixelToIndex(5, nullptr), -1);
    }

private:
    std::unique_ptr<QWidget> panel;
    std::unique_ptr<TGraphXY> graph;
};

QTEST_MAIN(TstGraphXY)
#include "tst_graph_xy.moc"
