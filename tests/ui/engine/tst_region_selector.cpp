#include "ui/engine/region_selector.h"

#include "recorders.h"

#include <QtTest>

using namespace ormica;

class TstRegionSelector : public QObject {
    Q_OBJECT

    struct Call {
        char what;
        TPoint start, end;
    };

private slots:
    void init()
    {
        image = std::make_unique<TImageWidget>(QSize(80, 60));
        original = test::patternImage(80, 60, 5);
        image->setPicture(original);
        selector = std::make_unique<TRegionSelector>(image.get());
        calls.clear();
        selector->OnStart = [this](TRegionSelector&, TShiftState, TPoint s, TPoint e) { calls.push_back({'s', s, e}); };
        selector->OnMove = [this](TRegionSelector&, TShiftState, TPoint s, TPoint e) { calls.push_back({'m', s, e}); };
        selector->OnEnd = [this](TRegionSelector&, TShiftState, TPoint s, TPoint e) { calls.push_back({'e', s, e}); };
        image->show();
        QVERIFY(QTest::qWaitForWindowExposed(image.get()));
    }
    void cleanup()
    {
        selector.reset();
        image.reset();
    }

    void dragDrawsABandThenLeavesADottedFrame()
    {
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(30, 40));
        QTest::mouseMove(image.get(), QPoint(20, 20));
        QVERIFY(image->picture() != original);  // the band
        QTest::mouseMove(image.get(), QPoint(10, 5));
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(selector->SelRect, (TRect{10, 5, 30, 40}));
        QVERIFY(selector->HasSelection);
        QVERIFY(selector->FrameShown);
        // Only the dotted frame differs from the picture: every other pixel of its outline.
        int changed = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                if (image->picture().pixel(x, y) != original.pixel(x, y)) {
                    ++changed;
                    QVERIFY(x == 10 || x == 30 || y == 5 || y == 40);
                    QCOMPARE(image->picture().pixel(x, y) & 0xFFFFFF, ~original.pixel(x, y) & 0xFFFFFF);
                }
        QCOMPARE(changed, (2 * 20 + 2 * 35) / 2);
        QCOMPARE(calls.front().what, 's');
        QCOMPARE(calls.back().what, 'e');
        QCOMPARE(calls.back().end, (TPoint{10, 5}));

        selector->ShowFrame(false);
        QCOMPARE(image->picture(), original);  // every pixel back
        selector->ShowFrame(false);            // already hidden: nothing
        QCOMPARE(image->picture(), original);
        selector->ShowFrame(true);
        QVERIFY(image->picture() != original);
    }

    void newPressRemovesTheOldFrame()
    {
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(image.get(), QPoint(25, 25));
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(25, 25));
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(image->picture(), original);
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(50, 50));
        // A click: no band, no frame, start equals end.
        QCOMPARE(image->picture(), original);
        QCOMPARE(selector->SelRect, (TRect{50, 50, 50, 50}));
        QCOMPARE(calls.back().start, calls.back().end);
        // Showing the frame of a one-point selection draws nothing but counts as shown.
        selector->ShowFrame(true);
        QCOMPARE(image->picture(), original);
        QVERIFY(selector->FrameShown);
    }

    void onlyAPlainLeftPressStarts_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("ctrl") << int(Qt::LeftButton) << int(Qt::ControlModifier);
        QTest::newRow("shift") << int(Qt::LeftButton) << int(Qt::ShiftModifier);
        QTest::newRow("right") << int(Qt::RightButton) << 0;
    }
    void onlyAPlainLeftPressStarts()
    {
        QFETCH(int, button);
        QFETCH(int, modifiers);
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(image.get(), QPoint(25, 25));
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(25, 25));
        const QImage framed = image->picture();
        calls.clear();
        QTest::mousePress(image.get(), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), QPoint(40, 40));
        QTest::mouseMove(image.get(), QPoint(60, 50));
        QTest::mouseRelease(image.get(), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), QPoint(60, 50));
        QVERIFY(calls.empty());
        QCOMPARE(image->picture(), framed);  // the previous frame stays
    }

    void secondPressOfADoubleClickStartsNothing()
    {
        // The first press and release, then the press that makes it double.
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(12, 12));
        QTest::mouseDClick(image.get(), Qt::LeftButton, {}, QPoint(12, 12));
        int starts = 0;
        for (const Call& c : calls)
            starts += c.what == 's';
        QCOMPARE(starts, 1);  // only the first press
    }

    void hiddenFramesModeStillSelects()
    {
        selector->SetFrameMode(1);
        QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(5, 6));
        QTest::mouseMove(image.get(), QPoint(40, 30));
        QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(40, 30));
        QCOMPARE(image->picture(), original);
        QCOMPARE(selector->SelRect, (TRect{5, 6, 40, 30}));
        QCOMPARE(calls.back().what, 'e');
    }

    void otherFiguresAlsoUndoThemselves()
    {
        for (int figure : {int(fgLine), int(fgEllipse), int(fgRoundRect)}) {
            selector->Figure = std::uint8_t(figure);
            QTest::mousePress(image.get(), Qt::LeftButton, {}, QPoint(3, 4));
            QTest::mouseMove(image.get(), QPoint(70, 50));
            QTest::mouseMove(image.get(), QPoint(60, 45));
            QTest::mouseRelease(image.get(), Qt::LeftButton, {}, QPoint(60, 45));
            QVERIFY(image->picture() != original);
            selector->ShowFrame(false);
            QCOMPARE(image->picture(), original);
        }
    }

    void failingNotificationIsDisconnected()
    {
        int thrown = 0;
        selector->OnStart = [&](TRegionSelector&, TShiftState, TPoint, TPoint) {
            ++thrown;
            throw std::runtime_error("owner broke");
        };
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(6, 6));
        QCOMPARE(thrown, 1);
        QVERIFY(!selector->OnStart);
        QCOMPARE(calls.back().what, 'e');  // the others still work
    }

    void releaseGivesTheControlItsHandlersBack()
    {
        selector.reset();
        int own = 0;
        image->OnMouseDown = [&](Qt::MouseButton, TShiftState, int, int) { ++own; };
        selector = std::make_unique<TRegionSelector>(image.get());
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(own, 0);
        selector.reset();
        QTest::mouseClick(image.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(own, 1);
    }

private:
    std::unique_ptr<TImageWidget> image;
    std::unique_ptr<TRegionSelector> selector;
    QImage original;
    std::vector<Call> calls;
};

QTEST_MAIN(TstRegionSelector)
#include "tst_region_selector.moc"
