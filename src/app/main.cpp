#include "app/about_box.h"
#include "app/main_window.h"
#include "engine/bmp_file.h"
#include "engine/box_message_sink.h"
#include "engine/color_dialog.h"
#include "engine/file_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ormica::RaiseImageAllocationLimit();

    ormica::TBoxMessageSink sink;
    ormica::setMessageSink(&sink);
    ormica::TQtFileDialogs dialogs;
    ormica::TQtColorDialog colors;

    // The main window first; the tool windows join it, hidden, as they come.
    ormica::TFormOrmica formOrmica(&dialogs, &colors);
    ormica::TFormAbout formAbout(&formOrmica);
    ormica::TToolWindows windows;
    windows.about = &formAbout;
    formOrmica.setToolWindows(windows);
    sink.setParent(&formOrmica);
    dialogs.setParent(&formOrmica);
    colors.setParent(&formOrmica);
    formOrmica.show();

    const int code = app.exec();
    ormica::setMessageSink(nullptr);
    return code;
}
