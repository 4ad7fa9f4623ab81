// What helps a student start: the sample pictures, the help and the
// choice of language.
#include "ui/app/main_window.h"

#include "core/app/language.h"
#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/engine/sample_pictures.h"
#include "ui/engine/image_widget.h"
#include "ui/filter/filter_window.h"
#include "ui/help/help_window.h"
#include "ui/histogram/histogram_window.h"
#include "ui/scale/scale_dialog.h"
#include "ui/workspace/workspace.h"

#include <QTabWidget>

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace ormica {

void TFormOrmica::createLearningMenus(QMenu* files)
{
    QMenu* samples = new QMenu(tr("Примеры"), files);
    for (const TSampleInfo& sample : Samples()) {
        const QString key = QLatin1String(sample.key);
        samples->addAction(SampleName(sample.id), this, [this, key] { OpenSample(key); });
    }
    const qsizetype exitAt = files->actions().indexOf(MMExit);
    files->insertMenu(files->actions().at(exitAt - 1), samples);  // before the separator above "Выход"
    MMSamples = samples->menuAction();

    // Each language named in itself, so that either reader finds his own.
    QMenu* language = menuBar()->addMenu(QStringLiteral("Язык / Language"));
    auto* group = new QActionGroup(language);
    MMLanguageRu = language->addAction(QStringLiteral("Русский"));
    MMLanguageEn = language->addAction(QStringLiteral("English"));
    for (QAction* a : {MMLanguageRu, MMLanguageEn}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    (CurrentLanguage() == TLanguage::English ? MMLanguageEn : MMLanguageRu)->setChecked(true);
    connect(MMLanguageRu, &QAction::triggered, this, [this] { chooseLanguage(TLanguage::Russian); });
    connect(MMLanguageEn, &QAction::triggered, this, [this] { chooseLanguage(TLanguage::English); });

    QMenu* help = menuBar()->addMenu(tr("Справка"));
    MMHelp = help->addAction(tr("Содержание"), this, [this] { ShowHelp(QStringLiteral("main")); });
    MMHelp->setShortcut(QKeySequence::HelpContents);
}

void TFormOrmica::attachHelp()
{
    if (!HelpWindow)
        return;
    auto page = [](const char* key) { return [key] { return QString::fromLatin1(key); }; };
    const std::pair<QWidget*, const char*> pages[] = {
        {FormScaleDialog, "scaling"}, {ImportTxtDialog, "text"},   {ExportTxtDialog, "text"},
        {FormDFilter, "filter"},      {FormMicroBase, "database"}, {FormAbout, "index"},
    };
    for (const auto& [window, key] : pages)
        if (window)
            HelpWindow->attach(window, page(key));
    if (FormDFilter)
        connect(
            FormDFilter, &TFormDFilter::windowMade, HelpWindow,
            [help = HelpWindow](QWidget* window, const QString& key) { help->attach(window, [key] { return key; }); });
    // The histogram window's page follows its tab.
    if (TFormGistogram* form = FormGistogram)
        HelpWindow->attach(form, [form] {
            static const char* const tabs[] = {"histograms", "transfer", "fragment"};
            const int tab = form->PageControl1->currentIndex();
            return QString::fromLatin1(tabs[tab >= 0 && tab < 3 ? tab : 0]);
        });
    connect(HelpWindow, &THelpWindow::sampleRequested, this, &TFormOrmica::OpenSample, Qt::UniqueConnection);
}

void TFormOrmica::ShowHelp(const QString& page)
{
    if (HelpWindow)
        HelpWindow->showPage(page, this);
}

// The windows were made with their texts; the new language takes over when
// the program starts again. Said in both languages, the chosen one first: the
// box's title and button are still in the one the program speaks.
void TFormOrmica::chooseLanguage(TLanguage language)
{
    StoreLanguage(language);
    if (language == CurrentLanguage())
        return;
    const QString text = language == TLanguage::English
                             ? QStringLiteral("Ormica will speak English from its next start.\r\n"
                                              "Ormica заговорит по-английски при следующем запуске.")
                             : QStringLiteral("Ormica заговорит по-русски при следующем запуске.\r\n"
                                              "Ormica will speak Russian from its next start.");
    messages().information(text);
}

void TFormOrmica::OpenSample(const QString& key)
{
    const std::optional<TSample> sample = SampleByKey(key);
    if (!sample)
        return;
    ResetIndicators();
    TStep step(*this, 0);
    hideFrame();
    ImageMain->setPicture(MakeSample(*sample));
    MarkNoName(*ImageMain);
    ImageMain->ensureImageDesc().FileName = SampleName(*sample);  // named, though made by no file
    ImageToImgTab(*ImageMain, ws_.SrcArr, progress_.get());
    ShowPage(0);
}

}  // namespace ormica
