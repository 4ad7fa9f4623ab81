#include "ui/histogram/cross_hair_selector.h"

#include "core/engine/color.h"
#include "recorders.h"

#include <QtTest>
#include <memory>
#include <vector>

using namespace ormica;

namespace {

// The picture as it should look with the dotted cross at (cx, cy): every
// even row of the column and every even column of the row inverted; the
// centre, if on both, inverted twice.
QImage withCross(const QImage& picture, int cx, int cy)
{
    QImage out = picture.copy();
    auto invert = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= out.width() || y >= out.height())
            return;
        out.setPixel(x, y, ~out.pixel(x, y) | 0xFF000000u);
    };
    for (int y = 0; y < out.height(); y += 2)
        invert(cx, y);
    for (int x = 0; x < out.width(); x += 2)
        invert(x, cy);
    return out;
}

QRgb buttonFace()
{
    const TBGRTriple c = ColorToBGR(ResolveColor(clBtnFace));
    return qRgb(c.r, c.g, c.b);
}

// A move with no button held, wherever it is, even off the control.
void sendMove(QWidget* w, int x, int y)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

class TstCrossHairSelector : public QObject {
    Q_OBJECT

    struct Call {
        char what;  // 'm' move, 's' select, 'r' release
        int row, column;
    };

private slots:
    void init()
    {
        image = std::make_unique<TImageWidget>(QSize(80, 60));
        selector = std::make_unique<TCrossHairSelector>(image.get());
        calls.clear();
        selector->OnMove = [this](TCrossHairSelector& s, int row, int col) {
            QCOMPARE(&s, selector.get());
            calls.push_back({'m', row, col});
        };
        selector->OnSelect = [this](TCrossHairSelector&, int row, int col) { calls.push_back({'s', row, col}); };
        selector->OnRelease = [this](TCrossHairSelector&) { calls.push_back({'r', -1, -1}); };
        image->show();
        QVERIFY(QTest::qWaitForWindowExposed(image.get()));
    }
    void cleanup()
    {
        selector.reset();
        image.reset();
    }

    void creationGivesABlankPictureWithTheCrossInTheCentre()
    {
        TImageWidget control(QSize(287, 167));
        TCrossHairSelector s(&control);
        QCOMPARE(s.MaxW, 287);
        QCOMPARE(s.MaxH, 167);
        QCOMPARE(s.CrossX, 143);
        QCOMPARE(s.CrossY, 83);
        QVERIFY(s.Active);
        QVERIFY(s.Tracking);
        QVERIFY(!s.Selected);
        QCOMPARE(control.picture().format(), QImage::Format_BGR888);
        QCOMPARE(control.picture().size(), QSize(287, 167));
        QImage blank(287, 167, QImage::Format_BGR888);
        blank.fill(buttonFace());
        QCOMPARE(control.picture(), withCross(blank, 143, 83));
        QCOMPARE(withCross(blank, 143, 83) == blank, false);

        // Destroyed, it leaves the picture blank.
        TImageWidget other(QSize(31, 17));
        {
            TCrossHairSelector gone(&other);
        }
        QImage blank2(31, 17, QImage::Format_BGR888);
        blank2.fill(buttonFace());
        QCOMPARE(other.picture(), blank2);
    }

    void everyStepLeavesExactlyOneCross()
    {
        const QImage pattern = loadPattern();
        QCOMPARE(image->picture(), withCross(pattern, 40, 30));

        QTest::mouseMove(image.get(), QPoint(10, 20));  // no button held
        QCOMPARE(selector->CrossX, 10);
        QCOMPARE(selector->CrossY, 20);
        QCOMPARE(image->picture(), withCross(pattern, 10, 20));
        QTest::mouseMove(image.get(), QPoint(11, 20));  // one column over, the row stays
        QCOMPARE(image->picture(), withCross(pattern, 11, 20));
        QTest::mouseMove(image.get(), QPoint(11, 20));  // the same place again
        QCOMPARE(image->picture(), withCross(pattern, 11, 20));

        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(11, 20));  // frozen
        QTest::mouseMove(image.get(), QPoint(70, 50));
        QCOMPARE(image->picture(), withCross(pattern, 11, 20));
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(70, 50));  // released
        QCOMPARE(image->picture(), withCross(pattern, 11, 20));              // it moves from where it was
        QTest::mouseMove(image.get(), QPoint(79, 59));
        QCOMPARE(image->picture(), withCross(pattern, 79, 59));

        selector->Deactivate();
        QCOMPARE(image->picture(), pattern);  // every pixel back
        selector->Activate();
        QCOMPARE(image->picture(), withCross(pattern, 79, 59));

        // The callers' round: deactivate, clear, draw, activate.
        selector->Deactivate();
        selector->Clear();
        QImage blank(80, 60, QImage::Format_BGR888);
        blank.fill(buttonFace());
        QCOMPARE(image->picture(), blank);
        selector->Activate();
        QCOMPARE(image->picture(), withCross(blank, 79, 59));

        // Clear while active wipes the cross too: nothing but the background.
        selector->Clear();
        QCOMPARE(image->picture(), blank);
    }

    void crossOffThePictureIsClippedAndMaxSizeStays()
    {
        const QImage pattern = loadPattern();
        sendMove(image.get(), -5, 30);  // column off the left edge: only the row shows
        QCOMPARE(selector->CrossX, -5);
        QCOMPARE(image->picture(), withCross(pattern, -5, 30));
        sendMove(image.get(), 80, 60);  // just past the right and bottom edges: nothing shows
        QCOMPARE(image->picture(), pattern);
        sendMove(image.get(), 79, 59);  // the last column and row
        QCOMPARE(image->picture(), withCross(pattern, 79, 59));
        sendMove(image.get(), 100000, -100000);
        QCOMPARE(image->picture(), pattern);
        QCOMPARE(calls.back().row, -100000);
        QCOMPARE(calls.back().column, 100000);
        sendMove(image.get(), 0, 0);
        QCOMPARE(image->picture(), withCross(pattern, 0, 0));
        selector->Deactivate();
        QCOMPARE(image->picture(), pattern);

        // A smaller picture drawn in: the cross spans it, the largest
        // fragment stays the size at creation.
        const QImage small = test::patternImage(30, 20, 9).convertToFormat(QImage::Format_BGR888);
        image->setPicture(small);
        selector->Activate();
        QCOMPARE(image->picture(), withCross(small, 0, 0));
        sendMove(image.get(), 29, 25);
        QCOMPARE(image->picture(), withCross(small, 29, 25));
        selector->Deactivate();
        QCOMPARE(image->picture(), small);
        QCOMPARE(selector->MaxW, 80);
        QCOMPARE(selector->MaxH, 60);
    }

    void notificationsCarryRowThenColumn()
    {
        QTest::mouseMove(image.get(), QPoint(10, 25));
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0].what, 'm');
        QCOMPARE(calls[0].row, 25);
        QCOMPARE(calls[0].column, 10);

        QTest::mouseClick(image.get(), Qt::RightButton, {}, QPoint(10, 25));  // any button freezes
        QVERIFY(selector->Selected);
        QVERIFY(!selector->Tracking);
        QCOMPARE(calls.back().what, 's');
        QCOMPARE(calls.back().row, 25);
        QCOMPARE(calls.back().column, 10);

        const size_t frozen = calls.size();
        QTest::mouseMove(image.get(), QPoint(50, 5));
        QCOMPARE(calls.size(), frozen);  // no moves while frozen
        QCOMPARE(selector->CrossX, 10);

        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(50, 5));
        QCOMPARE(calls.back().what, 'r');
        QVERIFY(!selector->Selected);
        QVERIFY(selector->Tracking);
        QTest::mouseMove(image.get(), QPoint(51, 6));
        QCOMPARE(calls.back().what, 'm');
        QCOMPARE(calls.back().row, 6);
        QCOMPARE(calls.back().column, 51);
    }

    void twoClicksWithoutMovingSelectThenRelease()
    {
        const QImage pattern = loadPattern();
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(3, 4));
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(3, 4));
        QCOMPARE(calls.size(), size_t(2));
        QCOMPARE(calls[0].what, 's');
        QCOMPARE(calls[0].row, 30);  // where the cross was, not the click
        QCOMPARE(calls[0].column, 40);
        QCOMPARE(calls[1].what, 'r');
        QTest::mouseMove(image.get(), QPoint(60, 10));
        QCOMPARE(image->picture(), withCross(pattern, 60, 10));  // nothing left at the old place
    }

    void deactivationClearsTheFrozenState()
    {
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(3, 4));
        QVERIFY(selector->Selected);
        selector->Deactivate();
        QVERIFY(!selector->Active);
        QVERIFY(!selector->Selected);
        QVERIFY(!selector->Tracking);
        selector->Activate();
        QVERIFY(selector->Tracking);
        calls.clear();
        QTest::mouseMove(image.get(), QPoint(20, 21));
        QCOMPARE(calls.size(), size_t(1));  // follows again at once
    }

    void secondActivationAndDeactivationDoNothing()
    {
        const QImage pattern = loadPattern();
        int own = 0;
        selector->Deactivate();
        image->OnMouseDown = [&](Qt::MouseButton, TShiftState, int, int) { ++own; };
        selector->Activate();
        const QImage once = image->picture();
        selector->Activate();  // no second cross that would cancel the first
        QCOMPARE(image->picture(), once);
        QCOMPARE(once, withCross(pattern, 40, 30));
        selector->Deactivate();
        QCOMPARE(image->picture(), pattern);
        selector->Deactivate();
        QCOMPARE(image->picture(), pattern);
        // The handler given back is the control's own, not the selector's.
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(own, 1);
        QVERIFY(calls.empty());
        QVERIFY(!selector->Selected);
    }

    void mouseEventsAreTakenAndGivenBack()
    {
        selector.reset();
        int down = 0, move = 0, up = 0;
        image->OnMouseDown = [&](Qt::MouseButton, TShiftState, int, int) { ++down; };
        image->OnMouseMove = [&](Qt::MouseButton, TShiftState, int, int) { ++move; };
        image->OnMouseUp = [&](Qt::MouseButton, TShiftState, int, int) { ++up; };
        image->setMouseTracking(false);
        auto roundOfEvents = [&] {
            QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::mouseMove(image.get(), QPoint(7, 8));
            QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(7, 8));
        };

        selector = std::make_unique<TCrossHairSelector>(image.get());
        QVERIFY(image->hasMouseTracking());
        roundOfEvents();
        sendMove(image.get(), 9, 9);
        QCOMPARE(down + move + up, 0);  // the selector alone hears them

        selector->Deactivate();
        QVERIFY(!image->hasMouseTracking());
        const QImage before = image->picture();
        roundOfEvents();
        QCOMPARE(down, 1);
        QCOMPARE(move, 1);
        QCOMPARE(up, 1);
        QCOMPARE(image->picture(), before);  // and the selector hears nothing
        QVERIFY(!selector->Selected);

        selector->Activate();
        roundOfEvents();
        QCOMPARE(down + move + up, 3);

        selector.reset();  // destroyed while active
        QVERIFY(!image->hasMouseTracking());
        roundOfEvents();
        QCOMPARE(down, 2);
        QCOMPARE(move, 2);
        QCOMPARE(up, 2);

        // Destroyed while inactive: the control keeps its own handlers.
        selector = std::make_unique<TCrossHairSelector>(image.get());
        selector->Deactivate();
        selector.reset();
        roundOfEvents();
        QCOMPARE(down, 3);
    }

    void noControlIsHarmless()
    {
        TCrossHairSelector s(nullptr);
        s.Activate();
        s.Clear();
        s.Deactivate();
        QVERIFY(!s.Active);
        QCOMPARE(s.MaxW, 0);
    }

private:
    // Puts a patterned picture under the cross the way callers do; returns it
    // as it is without the cross.
    QImage loadPattern()
    {
        selector->Deactivate();
        const QImage pattern = test::patternImage(80, 60, 5).convertToFormat(QImage::Format_BGR888);
        image->setPicture(pattern);
        selector->Activate();
        calls.clear();
        return pattern;
    }

    std::unique_ptr<TImageWidget> image;
    std::unique_ptr<TCrossHairSelector> selector;
    std::vector<Call> calls;
};

QTEST_MAIN(TstCrossHairSelector)
#include "tst_cross_hair_selector.moc"
