#include "ui/engine/progress_bar.h"

#include <QProgressBar>
#include <QtTest>

using namespace ormica;

class TstProgressBar : public QObject {
    Q_OBJECT

private slots:
    // An empty range is a busy indicator in Qt; the bar must never become one.
    void anEmptyRangeNeverMakesABusyBar()
    {
        QProgressBar* bar = MakeProgressBar(nullptr);
        TProgressBarAdapter progress(bar);
        progress.setMinimum(0);
        progress.setMaximum(0);
        progress.setPosition(0);
        QVERIFY(bar->maximum() > bar->minimum());
        QCOMPARE(progress.maximum(), 0);
        QCOMPARE(progress.minimum(), 0);

        progress.setMaximum(480);
        progress.setPosition(240);
        QCOMPARE(bar->maximum(), 480);
        QCOMPARE(bar->value(), 240);
        QCOMPARE(progress.position(), 240);
        delete bar;
    }

    // A long run moves the bar in visible steps, not at every row; the core
    // reads back every position it set, and the ends always show.
    void longRunsRepaintInVisibleSteps()
    {
        QProgressBar* bar = MakeProgressBar(nullptr);
        TProgressBarAdapter progress(bar);
        int changes = 0;
        connect(bar, &QProgressBar::valueChanged, bar, [&] { ++changes; });
        progress.setMinimum(0);
        progress.setMaximum(4000);
        for (int row = 1; row <= 4000; ++row) {
            progress.setPosition(row);
            QCOMPARE(progress.position(), row);
            QVERIFY(row - bar->value() < 20);
        }
        QCOMPARE(bar->value(), 4000);
        QVERIFY(changes <= 201);
        progress.setPosition(0);
        QCOMPARE(bar->value(), 0);
        delete bar;
    }
};

QTEST_MAIN(TstProgressBar)
#include "tst_progress_bar.moc"
