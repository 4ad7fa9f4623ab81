#include "ui/app/main_window.h"

#include "core/app/undo_history.h"
#include "core/engine/image_error.h"
#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "ui/engine/image_widget.h"
#include "ui/workspace/workspace.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

namespace ormica {

void TFormOrmica::reportFileError(const QString& text)
{
    // The box tells what went wrong; the lamp must not go on blinking over
    // "may take long" once the command is over.
    messages().error(text);
    SetAttention(false, clLime, QString());
    panels_[3]->clear();
}

bool TFormOrmica::fileCommand(const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const TImageError& e) {
        reportFileError(e.text());
    } catch (const std::exception& e) {
        reportFileError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void TFormOrmica::OpenFile(const QString& fileName, int page)
{
    if (page == 0)
        loadInto(*ImageMain, ws_.SrcArr, 0, fileName);
    else
        loadInto(*TargetImage, ws_.TrgArr, 1, fileName);
}

void TFormOrmica::loadInto(TImageWidget& image, TImgTabBGR& arr, int page, const QString& fileName)
{
    TStep step(*this, &image == ImageMain ? 0 : 1);
    // A frame left on the old picture would be "removed" from the new one
    // by the next press, leaving dots on it.
    if (&image == ImageMain)
        hideFrame();
    repaint();
    if (loadSave_) {
        const QString mayTakeLong = tr(" Операция может быть длительной");
        SetAttention(true, clLime, mayTakeLong);
        bool loaded = false;
        const bool done = fileCommand([&] {
            loaded = fileName.isEmpty() ? loadSave_->LoadImage(image) : loadSave_->LoadFile(fileName, image);
            if (loaded)
                ImageToImgTab(image, arr, progress_.get());
        });
        if (!done)
            return;
        // Only a new picture changes the tab and the title.
        if (loaded)
            ShowPage(page);
        // A cancel or a silent refusal leaves no outcome text of its own;
        // the warning belongs to the command that is now over.
        if (panels_[3]->text() == mayTakeLong)
            panels_[3]->clear();
    }
    SetAttention(false, clLime, QString());
}

void TFormOrmica::saveFrom(TImageWidget& image, int page)
{
    ResetIndicators();
    if (!loadSave_)
        return;
    // The dotted frame is drawn into the picture itself; it must not be saved.
    if (&image == ImageMain)
        hideFrame();
    loadSave_->JpegQuality = 100;
    if (fileCommand([&] { loadSave_->SaveImage(image); }))
        ShowPage(page);
}

namespace {

// The first local file among the dropped ones, or empty.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

}  // namespace

void TFormOrmica::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

// A picture dropped on a tab goes into that tab's image.
void TFormOrmica::dropEvent(QDropEvent* event)
{
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    ResetIndicators();
    OpenFile(file, PageControl1->currentIndex() == 1 ? 1 : 0);
}

void TFormOrmica::MMLoadToSrcClick()
{
    loadInto(*ImageMain, ws_.SrcArr, 0);
}

void TFormOrmica::MMLoadToDestClick()
{
    loadInto(*TargetImage, ws_.TrgArr, 1);
}

void TFormOrmica::MMSaveFromSrcClick()
{
    saveFrom(*ImageMain, 0);
}

void TFormOrmica::MMSaveFromDestClick()
{
    saveFrom(*TargetImage, 1);
}

void TFormOrmica::MMClipCopySRCClick()
{
    ResetIndicators();
    hideFrame();
    if (loadSave_)
        loadSave_->CopyToClipboard(*ImageMain);
}

void TFormOrmica::MMClipPasteSRCClick()
{
    ResetIndicators();
    if (!loadSave_)
        return;
    TStep step(*this, 0);
    hideFrame();
    if (loadSave_->PasteFromClipboard(*ImageMain))
        ImageToImgTab(*ImageMain, ws_.SrcArr, progress_.get());
    ShowPage(0);
}

// The text import and export dialogs fill and read the source array; the
// commands wait for them.
void TFormOrmica::MMImportToSrcClick()
{
    if (!ImportTxtDialog)
        return;
    ResetIndicators();
    TStep step(*this, 0);
    showModal(ImportTxtDialog);
    ImgTabToImage(ws_.SrcArr, *ImageMain, progress_.get());
    MarkNoName(*ImageMain);
    ShowPage(0);
}

void TFormOrmica::MMExportFromSrcClick()
{
    if (ExportTxtDialog)
        showModal(ExportTxtDialog);
}

}  // namespace ormica
