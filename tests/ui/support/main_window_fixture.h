#pragma once

#include "core/engine/img_service.h"
#include "ui/app/main_window.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/region_selector.h"
#include "window_test.h"

#include <QtTest>
#include <memory>

// The controls every main-window test reaches through the window.
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

namespace ormica::test {

// A main window over a fresh workspace, with recorded messages and scripted
// file and colour dialogs. A test class derives from it, calling start()
// from init() and stop() from cleanup().
class TMainWindowFixture : protected TWindowTest {
protected:
    void start()
    {
        TWindowTest::start();
        dialogs = std::make_unique<ScriptedDialogs>();
        colors = std::make_unique<ScriptedColors>();
        form = std::make_unique<TFormOrmica>(*ws, dialogs.get(), colors.get());
    }
    void stop()
    {
        form.reset();
        colors.reset();
        dialogs.reset();
        TWindowTest::stop();
    }

    // Puts a picture into the source image as a load would.
    void giveSource(const QImage& picture)
    {
        form->ImageMain->setPicture(picture);
        ImageToImgTab(*form->ImageMain, ws->SrcArr, nullptr);
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(form->ImageMain, Qt::LeftButton, {}, from);
        QTest::mouseMove(form->ImageMain, (from + to) / 2);
        QTest::mouseMove(form->ImageMain, to);
        QTest::mouseRelease(form->ImageMain, Qt::LeftButton, {}, to);
    }
    void showForm()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    // After every command each array holds its bitmap's pixels (the source's
    // dotted frame apart, which is hidden first).
    void checkInvariant()
    {
        form->regionSelector()->ShowFrame(false);
        // Blank start-up and cleared pictures stand beside empty arrays.
        if (!ws->SrcArr.empty())
            QVERIFY(arrayHoldsPicture(ws->SrcArr, form->ImageMain->picture()));
        if (!ws->TrgArr.empty())
            QVERIFY(arrayHoldsPicture(ws->TrgArr, form->TargetImage->picture()));
    }

    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<ScriptedColors> colors;
    std::unique_ptr<TFormOrmica> form;
};

}  // namespace ormica::test
