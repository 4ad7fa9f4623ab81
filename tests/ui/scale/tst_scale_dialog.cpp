#include "engine/image_control.h"
#include "recorders.h"
#include "scale/scale_dialog.h"

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

    bool pink(QLineEdit* edit) const { return edit->palette().color(QPalette::Base) == QColor(255, 200, 200); }
    QString dec(const char* text) const { return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint()); }

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

        // 900 % is beyond the zoom: the warning, zoom 8, the corrected entries.
        form->EditTrgH->setText(QStringLiteral("900"));
        QCOMPARE(sink->warnings.size(), 1);
        QCOMPARE(form->engine().Zoom, 8.0);
        QCOMPARE(form->EditTrgH->text(), dec("800.0"));
        QCOMPARE(form->EditTrgW->text(), QStringLiteral("5120"));

        // Run: the target gets the picture at the new size.
        form->EditTrgW->setText(QStringLiteral("64"));
        QCOMPARE(form->EditTrgH->text(), dec("10.0"));
        form->BitBtnRun->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(target->picture().size(), QSize(64, 48));
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
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Не выполнена предустановка Images.\r\nФорма будет закрыта ...")});
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
