#include "ui/engine/image_widget.h"
#include "ui/engine/magnifier.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <cstdlib>
#include <memory>

using namespace ormica;

namespace {

// Every pixel of its own colour.
QImage patternOf(QSize size)
{
    QImage img(size, QImage::Format_BGR888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixelColor(x, y, QColor((7 * x + 3 * y) % 256, (11 * y) % 256, (200 + 5 * x) % 256));
    return img;
}

// The largest of 1, 2, 4 .. 32 at which the picture fits into the room; 1 if none.
int fittingStep(QSize picture, QSize room)
{
    int best = 1;
    for (int z = 1; z <= 32; z *= 2)
        if (picture.width() * z <= room.width() && picture.height() * z <= room.height())
            best = z;
    return best;
}

// A frameless pane whose viewport is `room` while no scroll bar shows.
std::unique_ptr<TMagnifier> paneOf(QSize room)
{
    auto pane = std::make_unique<TMagnifier>();
    pane->setFrameShape(QFrame::NoFrame);
    pane->resize(room);
    pane->show();
    if (!QTest::qWaitForWindowExposed(pane.get()))
        return nullptr;
    return pane;
}

void wheel(TMagnifier& pane, int angle, Qt::KeyboardModifiers keys)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, pane.viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pane.viewport(), &event);
}

int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

QImage shown(TMagnifier& pane)
{
    return pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TstMagnifier : public QObject {
    Q_OBJECT

private slots:
    void startsFittedAndZoomsInSteps_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("room");
        QTest::newRow("3 x 3 in the fragment box") << QSize(3, 3) << QSize(287, 167);
        QTest::newRow("the fragment box itself") << QSize(287, 167) << QSize(287, 167);
        QTest::newRow("larger than the pane") << QSize(500, 100) << QSize(287, 167);
        QTest::newRow("exactly 16 times") << QSize(10, 5) << QSize(160, 80);
        QTest::newRow("a row short of 16 times") << QSize(10, 5) << QSize(160, 79);
    }
    void startsFittedAndZoomsInSteps()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, room);
        auto pane = paneOf(room);
        QVERIFY(pane);
        pane->setImage(patternOf(picture));
        QCOMPARE(pane->zoom(), fittingStep(picture, room));

        // The keys halve and double, never past 1 and 32.
        for (int expected = pane->zoom(); expected > 1;) {
            expected /= 2;
            QTest::keyClick(pane.get(), Qt::Key_Minus);
            QCOMPARE(pane->zoom(), expected);
        }
        QTest::keyClick(pane.get(), Qt::Key_Minus);
        QCOMPARE(pane->zoom(), 1);
        for (int expected : {2, 4, 8, 16, 32, 32}) {
            QTest::keyClick(pane.get(), Qt::Key_Plus);
            QCOMPARE(pane->zoom(), expected);
        }
        // Ctrl+wheel a notch a step, half notches adding up; the wheel alone scrolls.
        wheel(*pane, -120, Qt::ControlModifier);
        QCOMPARE(pane->zoom(), 16);
        wheel(*pane, -60, Qt::ControlModifier);
        QCOMPARE(pane->zoom(), 16);
        wheel(*pane, -60, Qt::ControlModifier);
        QCOMPARE(pane->zoom(), 8);
        wheel(*pane, 120, Qt::NoModifier);
        QCOMPARE(pane->zoom(), 8);
        // Asked for a zoom between the steps, the pane takes the one below.
        for (const auto& [asked, taken] : {std::pair{5, 4}, {0, 1}, {31, 16}, {1000, 32}}) {
            pane->setZoom(asked);
            QCOMPARE(pane->zoom(), taken);
        }
        // A new picture of the same size keeps the zoom; one of another size fits again.
        pane->setImage(patternOf(picture));
        QCOMPARE(pane->zoom(), 32);
        pane->setImage(patternOf(picture + QSize(1, 0)));
        QCOMPARE(pane->zoom(), fittingStep(picture + QSize(1, 0), room));
    }

    // A click is reported as the pixel under it, and that pixel is what is
    // drawn there; the control the pane stands in for gets it too.
    void clickFindsThePixelDrawnUnderIt_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QPoint>("scroll");
        QTest::addColumn<QPoint>("click");
        QTest::newRow("1x") << 1 << QPoint(0, 0) << QPoint(5, 7);
        QTest::newRow("4x") << 4 << QPoint(0, 0) << QPoint(9, 5);
        QTest::newRow("8x scrolled") << 8 << QPoint(37, 50) << QPoint(3, 3);
        QTest::newRow("16x scrolled across") << 16 << QPoint(15, 0) << QPoint(0, 15);
        QTest::newRow("32x scrolled") << 32 << QPoint(100, 64) << QPoint(31, 100);
    }
    void clickFindsThePixelDrawnUnderIt()
    {
        QFETCH(int, zoom);
        QFETCH(QPoint, scroll);
        QFETCH(QPoint, click);
        auto pane = paneOf(QSize(200, 150));
        QVERIFY(pane);
        const QImage picture = patternOf(QSize(60, 40));
        TImageWidget control(picture.size());
        control.setPicture(picture);
        QPoint handed(-1, -1);
        control.OnMouseDown = [&](Qt::MouseButton, TShiftState, int x, int y) { handed = QPoint(x, y); };
        pane->standInFor(&control);
        pane->setZoom(zoom);
        pane->horizontalScrollBar()->setValue(scroll.x());
        pane->verticalScrollBar()->setValue(scroll.y());
        QCOMPARE(QPoint(pane->horizontalScrollBar()->value(), pane->verticalScrollBar()->value()), scroll);

        const QPoint pixel((click.x() + scroll.x()) / zoom, (click.y() + scroll.y()) / zoom);
        QSignalSpy clicked(pane.get(), &TMagnifier::pixelClicked);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, click);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toPoint(), pixel);
        QCOMPARE(handed, pixel);
        // The cell's last row and column: off the grid line and the values.
        const QPoint probe = pixel * zoom - scroll + QPoint(zoom - 1, zoom - 1);
        QCOMPARE(shown(*pane).pixelColor(probe), picture.pixelColor(pixel));

        // Off the picture: no pixel.
        pane->setZoom(1);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, QPoint(150, 100));
        QCOMPARE(clicked.count(), 1);
    }

    void valuesAreWrittenFrom16Times()
    {
        QCOMPARE(TMagnifier::valueText(qRgb(10, 200, 30)), QStringLiteral("30\n200\n10"));
        for (const QRgb c : {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0, 0, 255), qRgb(255, 255, 0),
                             qRgb(128, 128, 128), qRgb(127, 128, 128)}) {
            const bool light = 299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c) >= 128 * 1000;  // luma, per mille
            QCOMPARE(TMagnifier::textColourOn(c), QColor(light ? Qt::black : Qt::white));
        }

        auto pane = paneOf(QSize(200, 150));
        QVERIFY(pane);
        for (const QColor colour : {QColor(20, 40, 60), QColor(230, 220, 200)}) {
            QImage flat(4, 4, QImage::Format_BGR888);
            flat.fill(colour);
            pane->setImage(flat);
            const QColor text = TMagnifier::textColourOn(colour.rgb());
            for (int zoom : {8, 16, 32}) {
                pane->setZoom(zoom);
                const QImage img = shown(*pane);
                // Cell (1, 1) without its grid lines.
                int plain = 0, written = 0;
                for (int y = zoom + 1; y < 2 * zoom; ++y)
                    for (int x = zoom + 1; x < 2 * zoom; ++x) {
                        plain += img.pixelColor(x, y) == colour;
                        // Past halfway from the pixel's colour to the text's: drawn in that colour.
                        written += distance(img.pixelColor(x, y), text) * 2 < distance(colour, text);
                    }
                QCOMPARE(img.pixelColor(zoom, zoom + 3) == colour, false);  // the grid
                QCOMPARE(written > 0, zoom >= 16);
                QCOMPARE(plain == (zoom - 1) * (zoom - 1), zoom < 16);
            }
        }
    }

    void linkedPanesFollowEachOther()
    {
        auto a = paneOf(QSize(200, 150));
        auto b = paneOf(QSize(180, 150));
        auto alone = paneOf(QSize(200, 150));
        QVERIFY(a && b && alone);
        const QImage picture = patternOf(QSize(60, 40));
        for (TMagnifier* pane : {a.get(), b.get(), alone.get()})
            pane->setImage(picture);
        a->setZoom(8);
        a->linkWith(b.get());
        QCOMPARE(b->zoom(), 8);
        QSignalSpy zoomA(a.get(), &TMagnifier::zoomChanged);
        QSignalSpy zoomB(b.get(), &TMagnifier::zoomChanged);

        const auto scrollOf = [](TMagnifier& pane) {
            return QPoint(pane.horizontalScrollBar()->value(), pane.verticalScrollBar()->value());
        };
        QTest::keyClick(b.get(), Qt::Key_Plus);
        QCOMPARE(a->zoom(), 16);
        QCOMPARE(scrollOf(*a), scrollOf(*b));
        a->horizontalScrollBar()->setValue(300);
        a->verticalScrollBar()->setValue(77);
        QCOMPARE(scrollOf(*b), QPoint(300, 77));
        b->verticalScrollBar()->setValue(140);
        QCOMPARE(scrollOf(*a), QPoint(300, 140));
        wheel(*a, -120, Qt::ControlModifier);
        QCOMPARE(b->zoom(), 8);
        QCOMPARE(scrollOf(*a), scrollOf(*b));
        // One signal a change on each side: nothing echoes back.
        QCOMPARE(zoomA.count(), 2);
        QCOMPARE(zoomB.count(), 2);
        QCOMPARE(alone->zoom(), fittingStep(picture.size(), QSize(200, 150)));
        QCOMPARE(scrollOf(*alone), QPoint(0, 0));

        // A new picture of the linked one's size takes its view, not the fitting one.
        b->setImage(QImage(1, 1, QImage::Format_BGR888));
        QCOMPARE(b->zoom(), 32);
        QCOMPARE(a->zoom(), 32);
        a->setZoom(4);
        b->setImage(patternOf(QSize(60, 40)));
        QCOMPARE(b->zoom(), 4);

        // A pane gone leaves the other working.
        b.reset();
        a->setZoom(2);
        QCOMPARE(a->zoom(), 2);
    }
};

QTEST_MAIN(TstMagnifier)
#include "tst_magnifier.moc"
