#pragma once

#include "recorders.h"
#include "test_workspace.h"
#include "ui/engine/image_widget.h"
#include "ui/histogram/histogram_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace ormica::test {

// The default locale while it lives.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

// A control of a window by its name; without it the test cannot go on.
template <class T> T* findControl(const QWidget& window, const char* name)
{
    T* w = window.findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("%s has no control %s", qPrintable(window.objectName()), name);
    return w;
}

// The rows of numbers of a CSV file after its header line.
inline std::vector<std::vector<double>> csvRows(const QString& fileName)
{
    std::vector<std::vector<double>> rows;
    const QList<QByteArray> lines = fileBytes(fileName).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        rows.emplace_back();
        for (const QByteArray& field : lines[i].trimmed().split(','))
            rows.back().push_back(field.toDouble());
    }
    return rows;
}

// The histogram window of one test, over a fresh workspace, with the
// messages it shows recorded. The test's init and cleanup make and drop it.
class THistogramFixture {
protected:
    void makeWindow()
    {
        ws = std::make_unique<TTestWorkspace>();
        sink = std::make_unique<RecordingSink>();
        form = std::make_unique<TFormGistogram>(*ws);
    }
    void dropWindow()
    {
        form.reset();
        sink.reset();
        ws.reset();
    }

    // Shows the window as the main window opens it in `mode`, a fragment
    // drawn as the main window has it drawn.
    void openInMode(int mode)
    {
        if (!form->FragArr.empty())
            form->ShowFragment();
        form->GistogramMode = std::uint8_t(mode);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    template <class T> T* control(const char* name) const { return findControl<T>(*form, name); }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QToolButton* button(const char* name) const { return control<QToolButton>(name); }
    QComboBox* combo(const char* name) const { return control<QComboBox>(name); }
    TImageWidget* image(const char* name) const { return control<TImageWidget>(name); }

    std::unique_ptr<TTestWorkspace> ws;
    std::unique_ptr<RecordingSink> sink;
    std::unique_ptr<TFormGistogram> form;
};

}  // namespace ormica::test
