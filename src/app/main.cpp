#include "app/main_window.h"
#include "engine/bmp_file.h"
#include "engine/box_message_sink.h"
#include "engine/file_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ormica::RaiseImageAllocationLimit();

    ormica::TBoxMessageSink sink;
    ormica::setMessageSink(&sink);
    ormica::TQtFileDialogs dialogs;

    // The main window first; the tool windows join it, hidden, as they come.
    ormica::TFormOrmica formOrmica(&dialogs);
    sink.setParent(&formOrmica);
    dialogs.setParent(&formOrmica);
    formOrmica.show();

    const int code = app.exec();
    ormica::setMessageSink(nullptr);
    return code;
}
