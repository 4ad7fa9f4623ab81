#include "ui/transfer/point_editor.h"

#include "recorders.h"

#include <QtTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

using namespace ormica;

namespace {

QColor face()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// A double-click as the desktop delivers it: press, release, the second
// press marked as double, release.
void doubleClick(QWidget* w, Qt::MouseButton button, QPoint p)
{
    QTest::mousePress(w, button, {}, p);
    QTest::mouseRelease(w, button, {}, p);
    QTest::mouseDClick(w, button, {}, p);
    QTest::mouseRelease(w, button, {}, p);
}

}  // namespace

class TstPointEditor : public QObject {
    Q_OBJECT

    QImage picture() const { return image->picture().copy(); }
    QColor at(int x, int y) const { return image->picture().pixelColor(x, y); }

    // The editor's points, pixel for pixel, drawn by an editor of its own.
    QImage drawnFresh()
    {
        TImageWidget other(QSize(512, 512));
        other.setFont(image->font());
        TPointEditor fresh(&other);
        fresh.FreeQueue();
        for (const TQueueElem* e : editor->Elements())
            fresh.AddLE('T', nullptr, e->Box);
        fresh.Redraw();
        return other.picture().copy();
    }

private slots:
    void init()
    {
        sink = std::make_unique<test::RecordingSink>();
        image = std::make_unique<TImageWidget>(QSize(512, 512));
        image->setFixedSize(512, 512);
        editor = std::make_unique<TPointEditor>(image.get());
        actions.clear();
        editor->OnChange = [this](TPointEditor&, TEditAction a) { actions.push_back(a); };
        image->show();
        QVERIFY(QTest::qWaitForWindowExposed(image.get()));
    }
    void cleanup()
    {
        editor.reset();
        image.reset();
        sink.reset();
    }

    void newEditorDrawsGridLabelsAndDiagonal()
    {
        const QImage p = picture();
        QCOMPARE(p.size(), QSize(512, 512));
        QCOMPARE(p.format(), QImage::Format_BGR888);
        // Grid lines every 32 pixels in grey, none at the edges.
        QCOMPARE(at(32, 5), QColor(128, 128, 128));
        QCOMPARE(at(480, 100), QColor(128, 128, 128));
        QCOMPARE(at(5, 32), QColor(128, 128, 128));
        QCOMPARE(at(0, 5), face());
        QCOMPARE(at(31, 5), face());
        // The function (0, 0)-(255, 255) runs corner to corner in black.
        QCOMPARE(at(256, 256), QColor(Qt::black));
        QCOMPARE(at(100, 412), QColor(Qt::black));
        // Labels sit right of each vertical line above the bottom edge, and
        // below-left of each horizontal line; the cells elsewhere are plain.
        int labelInk = 0, stray = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const QColor c = at(x, y);
                if (c == face() || c == QColor(128, 128, 128) || x == 511 - y || std::abs(x - (512 - y)) <= 1)
                    continue;
                const bool bottomLabel = y >= 496 && (x % 32) >= 4 && (x % 32) < 30;
                const bool leftLabel = x >= 4 && x < 30 && (y % 32) >= 16;
                (bottomLabel || leftLabel ? labelInk : stray)++;
            }
        QVERIFY(labelInk > 15 * 2 * 4);
        QCOMPARE(stray, 0);
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 0}, {255, 255}}));
    }

    void doubleClickAddsAPointWithItsMarker()
    {
        doubleClick(image.get(), Qt::LeftButton, QPoint(100, 300));
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 0}, {50, 106}, {255, 255}}));
        QCOMPARE(actions, std::vector<TEditAction>{TEditAction::Added});
        // A 6 x 6 marker hangs right of and below the point, filled with the background.
        QCOMPARE(at(100, 300), QColor(Qt::black));
        QCOMPARE(at(105, 305), QColor(Qt::black));
        QCOMPARE(at(105, 300), QColor(Qt::black));
        QCOMPARE(at(103, 303), face());
        QCOMPARE(at(106, 306), face());
        QCOMPARE(picture(), drawnFresh());

        // A point at the X of an existing one goes after it.
        doubleClick(image.get(), Qt::LeftButton, QPoint(100, 100));
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 0}, {50, 106}, {50, 205}, {255, 255}}));
    }

    void rightDoubleClickDeletesOnlyWhatItHits()
    {
        editor->SetPoints({{0, 0}, {50, 106}, {255, 255}});
        const QImage before = picture();
        actions.clear();
        doubleClick(image.get(), Qt::RightButton, QPoint(300, 300));
        QCOMPARE(editor->Count(), 3u);
        QVERIFY(actions.empty());
        QCOMPARE(picture(), before);

        doubleClick(image.get(), Qt::RightButton, QPoint(103, 304));
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 0}, {255, 255}}));
        QCOMPARE(actions, std::vector<TEditAction>{TEditAction::Deleted});
        QCOMPARE(picture(), drawnFresh());
    }

    void dragShowsBandAndReadoutAndRestoresEveryPixel()
    {
        editor->SetPoints({{0, 0}, {50, 106}, {255, 255}});
        const QImage idle = picture();
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(103, 303));
        QVERIFY(editor->Dragging());
        const QImage armed = picture();
        const TPoint start = editor->DragPos();
        QCOMPARE(start, (TPoint{100, 299}));
        // The highlight, the read-out "50, 106" to the right and the band.
        QVERIFY(differingPixels(idle, armed) > 50);
        QCOMPARE(armed.pixelColor(150, 150), idle.pixelColor(150, 150));

        QMouseEvent move(QEvent::MouseMove, QPointF(200, 150), QPointF(200, 150), QPointF(200, 150), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(image.get(), &move);
        QCOMPARE(editor->DragPos(), (TPoint{200, 150}));
        QVERIFY(differingPixels(armed, picture()) > 50);

        // Past the right neighbour, or below the field: ignored.
        const QImage moved = picture();
        for (QPoint p : {QPoint(512, 100), QPoint(600, 100), QPoint(300, 512), QPoint(0, 100)}) {
            QMouseEvent bad(QEvent::MouseMove, QPointF(p), QPointF(p), QPointF(p), Qt::NoButton, Qt::LeftButton,
                            Qt::NoModifier);
            QApplication::sendEvent(image.get(), &bad);
        }
        QCOMPARE(picture(), moved);

        // Back where it started: the band and read-out undo themselves exactly.
        const QPointF s0(start.x, start.y);
        QMouseEvent back(QEvent::MouseMove, s0, s0, s0, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(image.get(), &back);
        QCOMPARE(differingPixels(armed, picture()), 0);

        QApplication::sendEvent(image.get(), &move);
        actions.clear();
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(!editor->Dragging());
        QCOMPARE(actions, std::vector<TEditAction>{TEditAction::Moved});
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 0}, {100, 180}, {255, 255}}));
        QCOMPARE(picture(), drawnFresh());
    }

    // A histogram behind the function: bars from the bottom, the largest count
    // the field's height, under the grid, the labels, the function and its
    // markers; a drag and a release where it began leave every pixel as it was.
    void backgroundHistogramLiesUnderEverythingAndSurvivesADrag()
    {
        std::array<std::int32_t, 256> counts{};
        for (int i = 0; i < 256; ++i)
            counts[std::size_t(i)] = (i * 37) % 101;  // largest 100
        // Low under the marker of (50, 106), whose inside is the background.
        std::fill(counts.begin() + 49, counts.begin() + 54, 10);
        editor->SetPoints({{0, 0}, {50, 106}, {255, 255}});
        const QImage plain = picture();
        editor->SetBackgroundHistogram(&counts);
        const QImage idle = picture();
        int barPixels = 0, inkInBars = 0;
        for (int x = 0; x < 512; ++x) {
            const long bar = std::lround(counts[std::size_t(editor->XToBright(x))] * 512.0 / 100);
            for (int y = 0; y < 512; ++y) {
                const QColor was = plain.pixelColor(x, y), now = idle.pixelColor(x, y);
                if (was == face()) {
                    QCOMPARE(now != face(), y >= 512 - bar);
                    barPixels += now != face();
                } else if (was == QColor(128, 128, 128) || was == QColor(Qt::black)) {
                    QCOMPARE(now, was);
                    inkInBars += was == QColor(Qt::black) && y >= 512 - bar;
                }
            }
        }
        QVERIFY(barPixels > 512 * 100);
        QVERIFY(inkInBars > 50);  // the function and labels where bars reach

        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(103, 303));
        const QImage armed = picture();
        const TPoint start = editor->DragPos();
        for (QPointF p : {QPointF(200, 150), QPointF(start.x, start.y)}) {
            QMouseEvent move(QEvent::MouseMove, p, p, p, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(image.get(), &move);
        }
        QCOMPARE(differingPixels(armed, picture()), 0);
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(start.x, start.y));
        QCOMPARE(actions, std::vector<TEditAction>{TEditAction::Moved});
        QCOMPARE(differingPixels(idle, picture()), 0);

        editor->SetBackgroundHistogram(nullptr);
        QCOMPARE(picture(), plain);
    }

    void releaseFarRightKeepsTheOrder()
    {
        editor->SetPoints({{0, 0}, {50, 106}, {100, 120}, {255, 255}});
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(101, 301));
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(900, 900));
        const TBrightPointArray points = editor->GetPoints();
        QCOMPARE(points.size(), std::size_t(4));
        for (std::size_t i = 1; i < points.size(); ++i)
            QVERIFY(points[i - 1].X <= points[i].X);
    }

    void endPointsCannotBeDragged()
    {
        editor->Reset(true);  // the descending head is the pixel (0, 0)
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(0, 0));
        QVERIFY(!editor->Dragging());
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(0, 0));
        QVERIFY(actions.empty());
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 255}, {255, 0}}));
    }

    void invertAndResetRedraw()
    {
        editor->SetPoints({{0, 0}, {128, 64}, {255, 255}});
        const QImage ascending = picture();
        editor->InvertY();
        QCOMPARE(editor->GetPoints(), (TBrightPointArray{{0, 255}, {128, 191}, {255, 0}}));
        QCOMPARE(picture(), drawnFresh());
        editor->InvertY();
        QCOMPARE(picture(), ascending);
        editor->Reset(false);
        QCOMPARE(editor->Count(), 2u);
        QCOMPARE(picture(), drawnFresh());
        QVERIFY(actions.empty());
    }

    void handlersGoBackWithTheEditor()
    {
        bool called = false;
        editor.reset();
        image->OnMouseDown = [&](Qt::MouseButton, TShiftState, int, int) { called = true; };
        editor = std::make_unique<TPointEditor>(image.get());
        editor.reset();
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(called);
    }

private:
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<TImageWidget> image;
    std::unique_ptr<TPointEditor> editor;
    std::vector<TEditAction> actions;
};

QTEST_MAIN(TstPointEditor)
#include "tst_point_editor.moc"
