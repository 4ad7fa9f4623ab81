#include "core/engine/image_control.h"
#include "recorders.h"
#include "ui/scale/scale_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace ormica;

class TstScaleDialog : public QObject {
    Q_OBJECT

    // How an entry is finished.
    enum Finish { Enter, Tab, Run, Cancel };

    bool pink(QLineEdit* edit) const { return edit->palette().color(QPalette::Base) == QColor(255, 200, 200); }
    QString dec(const char* text) const
    {
        return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
    }

    void open()
    {
        form->SetScaleImages(source.get(), target.get());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

private slots:
    void init()
    {
        sink = std::make_unique<test::RecordingSink>();
        source = std::make_unique<TImageControl>();
        source->setPicture(test::patternImage(640, 480));
        target = std::make_unique<TImageControl>(QSize(10, 10));
        form = std::make_unique<TFormScaleDialog>();
    }
    void cleanup()
    {
        form.reset();
        target.reset();
        source.reset();
        sink.reset();
    }

    void opensOnTheSourceSize()
    {
        open();
        QCOMPARE(form->EditSrcW->text(), QStringLiteral("640"));
        QCOMPARE(form->EditSrcH->text(), QStringLiteral("480"));
        QCOMPARE(form->EditTrgW->text(), QStringLiteral("640"));
        QCOMPARE(form->EditTrgH->text(), QStringLiteral("480"));
        QCOMPARE(form->GroupBox1->title(), QStringLiteral(" Количество пикселей: 307200 (было: 307200)"));
        QVERIFY(form->ChkBoxProportional->isChecked());
        QVERIFY(form->ImageProportional->isVisible());
        QVERIFY(sink->silent());
    }

    void proportionalWidthInPixelsAndHeightInPercent()
    {
        open();
        form->EditTrgW->setText(QStringLiteral("320"));
        QCOMPARE(form->EditTrgH->text(), QStringLiteral("240"));
        QCOMPARE(form->GroupBox1->title(), QStringLiteral(" Количество пикселей: 76800 (было: 307200)"));
        form->CbBoxTrgH->setCurrentIndex(1);
        QCOMPARE(form->EditTrgH->text(), dec("50.0"));
        QCOMPARE(form->engine().TrgHeight, 240);

        // Run: the target gets the picture at the new size.
        form->EditTrgW->setText(QStringLiteral("64"));
        QCOMPARE(form->EditTrgH->text(), dec("10.0"));
        form->BitBtnRun->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(target->picture().size(), QSize(64, 48));
    }

    // A size is typed digit by digit: a partial number updates the linked
    // entry but is neither corrected nor warned about until the entry is
    // finished (Enter, leaving it, the run); cancelling finishes nothing.
    void typedSizesAreCorrectedWhenFinished_data()
    {
        QTest::addColumn<QSize>("sourceSize");
        QTest::addColumn<bool>("proportional");
        QTest::addColumn<bool>("width");  // the width entry, else the height
        QTest::addColumn<bool>("percent");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("finish");
        QTest::addColumn<QString>("otherWhileTyping");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("entries");  // width, height
        QTest::addColumn<QSize>("scaledTo");       // 0 x 0: nothing ran

        const QString sep = QLocale().decimalPoint();
        const QString zoom = QStringLiteral("Zoom ВНЕ диапазона:\r\n(  1") + sep + QStringLiteral("0 ... 800") + sep +
                             QStringLiteral("0 ) %\r\nЗапрос будет исправлен");
        const QString size = QStringLiteral("Размер строки или столбца ВНЕ диапазона:\r\n( 1 ... 6000 ) пикселей\r\n"
                                            "Запрос будет исправлен");
        const QSize none(0, 0);
        QTest::newRow("320 px, Enter runs") << QSize(640, 480) << true << true << false << "320" << int(Enter) << "240"
                                            << QStringList{} << QStringList{"320", "240"} << QSize(320, 240);
        QTest::newRow("150 px of 2000") << QSize(2000, 1000) << true << true << false << "150" << int(Tab) << "75"
                                        << QStringList{} << QStringList{"150", "75"} << none;
        QTest::newRow("900 %, Enter shows the correction")
            << QSize(640, 480) << true << false << true << "900" << int(Enter) << "5760" << QStringList{zoom}
            << QStringList{"5120", dec("800.0")} << none;
        QTest::newRow("7000 px alone, left by Tab") << QSize(640, 480) << false << true << false << "7000" << int(Tab)
                                                    << "480" << QStringList{size} << QStringList{"6000", "480"} << none;
        QTest::newRow("700 % beyond 6000 pixels")
            << QSize(1000, 500) << true << true << true << "700" << int(Tab) << "3500" << QStringList{size}
            << QStringList{dec("600.0"), "3000"} << none;
        QTest::newRow("height 7000 alone, run")
            << QSize(640, 480) << false << false << false << "7000" << int(Run) << "640" << QStringList{size}
            << QStringList{"640", "6000"} << QSize(640, 6000);
        QTest::newRow("3 px, cancelled") << QSize(640, 480) << true << true << false << "3" << int(Cancel) << "2"
                                         << QStringList{} << QStringList{"3", "2"} << none;
    }
    void typedSizesAreCorrectedWhenFinished()
    {
        QFETCH(QSize, sourceSize);
        QFETCH(bool, proportional);
        QFETCH(bool, width);
        QFETCH(bool, percent);
        QFETCH(QString, typed);
        QFETCH(int, finish);
        QFETCH(QString, otherWhileTyping);
        QFETCH(QStringList, warnings);
        QFETCH(QStringList, entries);
        QFETCH(QSize, scaledTo);

        source->setPicture(test::patternImage(sourceSize.width(), sourceSize.height()));
        open();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        if (!proportional)
            form->ChkBoxProportional->click();
        (width ? form->CbBoxTrgW : form->CbBoxTrgH)->setCurrentIndex(percent ? 1 : 0);
        QLineEdit* edit = width ? form->EditTrgW : form->EditTrgH;
        QLineEdit* other = width ? form->EditTrgH : form->EditTrgW;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QVERIFY(sink->silent());
        QCOMPARE(edit->text(), typed);
        QCOMPARE(other->text(), otherWhileTyping);

        switch (finish) {
        case Enter:
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case Tab:
            QTest::keyClick(edit, Qt::Key_Tab);
            break;
        case Run:
            form->BitBtnRun->click();
            break;
        default:
            form->BitBtnCancel->click();
        }
        QCOMPARE(sink->warnings, warnings);
        QCOMPARE((QStringList{form->EditTrgW->text(), form->EditTrgH->text()}), entries);
        QCOMPARE(target->picture().size(), scaledTo);
        // Enter runs unless it had a correction to show; leaving the entry never does.
        QCOMPARE(form->isVisible(), finish == Tab || (finish == Enter && scaledTo.isEmpty()));
    }

    void withoutProportionsAndBadText()
    {
        open();
        form->ChkBoxProportional->click();
        QVERIFY(!form->ImageProportional->isVisible());
        form->EditTrgW->setText(QStringLiteral("100"));
        QCOMPARE(form->EditTrgH->text(), QStringLiteral("480"));
        QCOMPARE(form->engine().TrgWidth, 100);
        QCOMPARE(form->GroupBox1->title(), QStringLiteral(" Количество пикселей: 48000 (было: 307200)"));

        form->EditTrgH->setText(QStringLiteral("4x"));
        QVERIFY(pink(form->EditTrgH));
        QCOMPARE(form->engine().TrgHeight, 480);
        form->EditTrgH->setText(QStringLiteral("200"));
        QVERIFY(!pink(form->EditTrgH));
        QCOMPARE(form->engine().TrgHeight, 200);
        QCOMPARE(form->engine().TrgWidth, 100);

        // Back: the source size, proportions on again.
        form->BitBtnUnDo->click();
        QCOMPARE(form->EditTrgW->text(), QStringLiteral("640"));
        QCOMPARE(form->EditTrgH->text(), QStringLiteral("480"));
        QVERIFY(form->ChkBoxProportional->isChecked());
        QVERIFY(form->engine().Proportional);
        QVERIFY(sink->silent());
    }

    void reserveMethodsScaleNothing()
    {
        open();
        form->CboBoxMhetod->setCurrentIndex(1);
        form->EditTrgW->setText(QStringLiteral("320"));
        form->BitBtnRun->click();
        QCOMPARE(sink->informations, QStringList{QStringLiteral("Пока НЕ реализовано")});
        QVERIFY(!form->isVisible());
        QVERIFY(target->picture().isNull());
    }

    void cancelChangesNothing()
    {
        open();
        form->EditTrgW->setText(QStringLiteral("320"));
        form->BitBtnCancel->click();
        QVERIFY(!form->isVisible());
        QVERIFY(target->picture().isNull());
    }

    void withoutImagesItClosesWithAWarning()
    {
        form->SetScaleImages(nullptr, target.get());
        form->show();
        QCoreApplication::processEvents();
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral("Не выполнена предустановка Images.\r\nФорма будет закрыта ...")});
        QCOMPARE(form->EditSrcW->text(), QStringLiteral("0"));
        QTRY_VERIFY(!form->isVisible());
    }

private:
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<TImageControl> source;
    std::unique_ptr<TImageControl> target;
    std::unique_ptr<TFormScaleDialog> form;
};

QTEST_MAIN(TstScaleDialog)
#include "tst_scale_dialog.moc"
