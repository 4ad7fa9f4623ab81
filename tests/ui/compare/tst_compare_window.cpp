#include "core/engine/image_control.h"
#include "ui/compare/compare_window.h"
#include "ui/engine/magnifier.h"
#include "window_test.h"

#include <QComboBox>
#include <QLocale>
#include <QTableWidget>
#include <QtTest>
#include <cmath>
#include <memory>

using namespace ormica;

class TstCompareWindow : public QObject, protected test::TWindowTest {
    Q_OBJECT

    QString cell(int row, int column) const { return form->SGridNumbers->item(row, column)->text(); }

private slots:
    void init()
    {
        start();
        source.setPicture(test::patternImage(24, 16, 1));
        // B and R changed here and there, G nowhere.
        QImage target = source.picture().copy();
        for (int y = 0; y < 16; y += 3)
            for (int x = y % 4; x < 24; x += 5) {
                uchar* p = target.scanLine(y) + 3 * x;
                p[0] = uchar(p[0] ^ (x + 1));
                p[2] = uchar(255 - p[2]);
            }
        ws->target.setPicture(target);
        ws->SrcImageRef = &source;
    }
    void cleanup()
    {
        form.reset();
        stop();
    }

    void showsTheNumbersOfTheCore()
    {
        form = TFormCompare::Create(*ws, nullptr);
        QVERIFY(form);
        QVERIFY(sink->silent());
        const auto numbers = CompareImages(source.picture(), ws->target.picture());
        QVERIFY(numbers && numbers->Differing > 0);
        const QLocale locale;
        QCOMPARE(cell(0, 0), QStringLiteral("%1 из %2").arg(numbers->Differing).arg(24 * 16));
        for (int c = 0; c < kCompareChannels; ++c) {
            const TChannelDifference& d = numbers->Channels[std::size_t(c)];
            const double values[] = {double(d.Max), d.Mae, d.Mse, d.Psnr};
            for (int row = 1; row <= 4; ++row) {
                const double v = values[row - 1];
                const QString text = cell(row, c);
                if (std::isinf(v)) {
                    QCOMPARE(text, QStringLiteral("∞"));
                    continue;
                }
                bool ok = false;
                const double shown = locale.toDouble(text, &ok);
                QVERIFY2(ok && std::abs(shown - v) <= 1e-5 * std::abs(v), qPrintable(text));
            }
        }
        // G is equal everywhere, the others are not.
        QCOMPARE(cell(4, 1), QStringLiteral("∞"));
        QVERIFY(cell(4, 0) != QStringLiteral("∞") && cell(4, 3) != QStringLiteral("∞"));
    }

    void gainAndChannelChangeThePicture()
    {
        form = TFormCompare::Create(*ws, nullptr);
        QVERIFY(form);
        QCOMPARE(form->ImgDiff->image(),
                 DifferenceImage(source.picture(), ws->target.picture(), TCompareChannel::All, 1));
        const struct {
            int channelIndex, gainIndex;
            TCompareChannel channel;
            int gain;
        } cases[] = {{4, 2, TCompareChannel::All, 4},    {0, 2, TCompareChannel::B, 4},
                     {2, 0, TCompareChannel::R, 1},      {3, 0, TCompareChannel::Light, 1},
                     {3, 6, TCompareChannel::Light, 64}, {1, 3, TCompareChannel::G, 8}};
        for (const auto& k : cases) {
            const QImage before = form->ImgDiff->image();
            form->CBoxChannel->setCurrentIndex(k.channelIndex);
            form->CBoxGain->setCurrentIndex(k.gainIndex);
            const QImage shown = form->ImgDiff->image();
            QCOMPARE(shown, DifferenceImage(source.picture(), ws->target.picture(), k.channel, k.gain));
            QVERIFY(shown != before);
        }
    }

    void refusesPicturesThatCannotBeCompared()
    {
        const QString sizes =
            QStringLiteral("Изображения разного размера: сравнить можно только изображения одного размера.");
        ws->target.setPicture(test::patternImage(16, 24, 1));
        QVERIFY(!TFormCompare::Create(*ws, nullptr));
        QCOMPARE(sink->warnings, QStringList{sizes});
        ws->SrcImageRef = nullptr;
        QVERIFY(!TFormCompare::Create(*ws, nullptr));
        QCOMPARE(sink->warnings.size(), 2);
        QCOMPARE(sink->warnings.last(), QStringLiteral("Сравнивать нечего: одно из изображений пусто."));
    }

private:
    TImageControl source;
    std::unique_ptr<TFormCompare> form;
};

QTEST_MAIN(TstCompareWindow)
#include "tst_compare_window.moc"
