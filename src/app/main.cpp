#include "core/app/language.h"
#include "core/engine/bmp_file.h"
#include "core/engine/file_errors.h"
#include "ui/app/about_box.h"
#include "ui/app/main_window.h"
#include "ui/engine/box_message_sink.h"
#include "ui/engine/color_dialog.h"
#include "ui/engine/export_txt_dialog.h"
#include "ui/engine/file_dialogs.h"
#include "ui/engine/import_txt_dialog.h"
#include "ui/filter/filter_window.h"
#include "ui/help/help_window.h"
#include "ui/histogram/histogram_window.h"
#include "ui/microbase/micro_base_window.h"
#include "ui/scale/scale_dialog.h"
#include "ui/workspace/workspace.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    ormica::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    ormica::RaiseImageAllocationLimit();

    // Russian unless --lang, ORMICA_LANG or the user's earlier choice in the
    // "Язык / Language" menu says English; the standard buttons follow.
    QStringList args = app.arguments().mid(1);
    const ormica::TLanguageChoice language = ormica::ChooseLanguage(args, ormica::StoredLanguage());
    if (!language.error.isEmpty())
        std::fprintf(stderr, "ormica: %s\n", qPrintable(language.error));
    ormica::InstallLanguage(language.language, true);

    ormica::TBoxMessageSink sink;
    ormica::setMessageSink(&sink);
    ormica::TQtFileDialogs dialogs;
    ormica::TQtColorDialog colors;

    // What the windows share: the images, the program's folder, the working
    // filter and the base names.
    ormica::TWorkspace workspace;
    // The main window first; the tool windows join it, hidden, as they come.
    ormica::TFormOrmica formOrmica(workspace, &dialogs, &colors);
    ormica::TFormScaleDialog formScaleDialog(&formOrmica);
    ormica::TImportTxtDialog importTxtDialog(&dialogs, workspace.SrcArr, &formOrmica);
    ormica::TExportTxtDialog exportTxtDialog(&dialogs, workspace.SrcArr, &formOrmica);
    ormica::TFormDFilter formDFilter(workspace, &formOrmica);
    ormica::TFormAbout formAbout(&formOrmica);
    ormica::TFormGistogram formGistogram(workspace, &formOrmica);
    ormica::TFormMicroBase formMicroBase(workspace, &dialogs, &formDFilter);
    formDFilter.setShowDatabase([&formMicroBase] { return formMicroBase.ExchangeFilter(); });
    ormica::TToolWindows windows;
    windows.scale = &formScaleDialog;
    windows.importText = &importTxtDialog;
    windows.exportText = &exportTxtDialog;
    windows.filter = &formDFilter;
    windows.about = &formAbout;
    windows.histogram = &formGistogram;
    windows.microBase = &formMicroBase;
    formGistogram.setFileDialogs(&dialogs);
    formDFilter.setFileDialogs(&dialogs);
    // The help, with F1 in every window opening its own page.
    ormica::THelpWindow help(&formOrmica);
    windows.help = &help;
    formOrmica.setToolWindows(windows);
    sink.setParent(&formOrmica);
    dialogs.setParent(&formOrmica);
    colors.setParent(&formOrmica);
    formOrmica.show();

    // ormica SOURCE [TARGET]: the pictures loaded as "Загрузить" loads them;
    // one that cannot be loaded gets its box, and the program goes on.
    // The program starts with them; there is nothing before them to undo.
    const QStringList& files = args;
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
