#include "app/about_box.h"
#include "app/main_window.h"
#include "engine/bmp_file.h"
#include "engine/box_message_sink.h"
#include "engine/color_dialog.h"
#include "engine/export_txt_dialog.h"
#include "engine/file_dialogs.h"
#include "engine/file_errors.h"
#include "engine/import_txt_dialog.h"
#include "filter/filter_window.h"
#include "histogram/histogram_window.h"
#include "microbase/micro_base_window.h"
#include "scale/scale_dialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    ormica::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    ormica::RaiseImageAllocationLimit();

    // Every text of the program is Russian; the standard buttons and dialogs
    // speak it too ("Да", "Нет", "Отмена"), whatever the desktop's language.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    ormica::TBoxMessageSink sink;
    ormica::setMessageSink(&sink);
    ormica::TQtFileDialogs dialogs;
    ormica::TQtColorDialog colors;

    // The main window first; the tool windows join it, hidden, as they come.
    ormica::TFormOrmica formOrmica(&dialogs, &colors);
    ormica::TFormScaleDialog formScaleDialog(&formOrmica);
    ormica::TImportTxtDialog importTxtDialog(&dialogs, &formOrmica);
    ormica::TExportTxtDialog exportTxtDialog(&dialogs, &formOrmica);
    ormica::TFormDFilter formDFilter(&formOrmica);
    ormica::TFormAbout formAbout(&formOrmica);
    ormica::TFormGistogram formGistogram(&formOrmica);
    ormica::TFormMicroBase formMicroBase(&dialogs, &formDFilter, &formDFilter);
    formDFilter.setShowDatabase([&formMicroBase] { formMicroBase.exec(); });
    ormica::TToolWindows windows;
    windows.scale = &formScaleDialog;
    windows.importText = &importTxtDialog;
    windows.exportText = &exportTxtDialog;
    windows.filter = &formDFilter;
    windows.about = &formAbout;
    windows.histogram = &formGistogram;
    windows.microBase = &formMicroBase;
    formGistogram.setFileDialogs(&dialogs);
    formOrmica.setToolWindows(windows);
    sink.setParent(&formOrmica);
    dialogs.setParent(&formOrmica);
    colors.setParent(&formOrmica);
    formOrmica.show();

    // ormica SOURCE [TARGET]: the pictures loaded as "Загрузить" loads them;
    // one that cannot be loaded gets its box, and the program goes on.
    // The program starts with them; there is nothing before them to undo.
    const QStringList files = app.arguments().mid(1);
    if (!files.isEmpty())
        formOrmica.OpenFile(files.at(0), 0);
    if (files.size() > 1)
        formOrmica.OpenFile(files.at(1), 1);
    if (!files.isEmpty()) {
        formOrmica.ShowPage(0);
        formOrmica.ClearHistory();
    }

    const int code = app.exec();
    ormica::setMessageSink(nullptr);
    return code;
}
