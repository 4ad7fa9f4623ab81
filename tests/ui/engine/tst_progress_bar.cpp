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
};

QTEST_MAIN(TstProgressBar)
#include "tst_progress_bar.moc"
