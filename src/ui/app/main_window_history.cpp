// The main window's undo and redo of what the commands do to the two images.
#include "ui/app/main_window.h"

#include "core/app/undo_history.h"
#include "ui/engine/image_widget.h"
#include "ui/workspace/workspace.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <new>

namespace ormica {

namespace {

QString capText(qint64 bytes)
{
    return TFormOrmica::tr("%1 ГБ").arg(QString::number(double(bytes) / double(qint64(1) << 30), 'g', 3));
}

// Said here rather than in TStep, whose scope lupdate cannot place.
QString notUndoable(qint64 maxBytes)
{
    return TFormOrmica::tr(" Эту команду нельзя отменить: изображение больше %1").arg(capText(maxBytes));
}

}  // namespace

TFormOrmica::TStep::TStep(TFormOrmica& window, int which) : window_(window), which_(which == 0 ? 0 : 1)
{
    // The dotted frame is drawn into the picture; it must not be kept with it
    // (and the commands on the source take it off in any case).
    if (which == 0)
        window_.hideFrame();
    if (window_.stepDepth_++ > 0)
        return;
    outermost_ = true;
    recordBefore_ = window_.ws_.Records[which_];
    if (window_.history_)
        window_.history_->Begin(which, window_.PageControl1->currentIndex());
}

TFormOrmica::TStep::~TStep()
{
    if (--window_.stepDepth_ > 0 || !window_.history_ || !window_.history_->Pending())
        return;
    const int tab = window_.PageControl1->currentIndex();
    const TUndoHistory::TOutcome outcome =
        changed_ ? window_.history_->Commit(tab, *changed_) : window_.history_->Commit(tab);
    // A change the command did not describe (a load, a paste) has nothing to explain.
    if (outcome != TUndoHistory::TOutcome::Unchanged && window_.ws_.Records[which_] == recordBefore_)
        window_.ws_.Records[which_] = nullptr;
    window_.explainAgain();
    if (outcome == TUndoHistory::TOutcome::TooLarge)
        window_.showHistoryNote(notUndoable(window_.history_->MaxBytes));
    else if (outcome == TUndoHistory::TOutcome::Recorded)
        window_.showHistoryNote(QString());
    window_.updateUndoActions();
}

void TFormOrmica::ClearHistory()
{
    if (history_)
        history_->Clear();
    showHistoryNote(QString());
    updateUndoActions();
}

int TFormOrmica::currentImage() const
{
    return PageControl1->currentIndex() == 1 ? 1 : 0;
}

void TFormOrmica::showHistoryNote(const QString& text)
{
    sttxtHistory->setText(text);
    sttxtHistory->setVisible(!text.isEmpty());
}

void TFormOrmica::updateUndoActions()
{
    MMUndo->setEnabled(history_ && history_->CanUndo());
    MMRedo->setEnabled(history_ && history_->CanRedo());
}

void TFormOrmica::MMUndoClick()
{
    moveInHistory(true);
}

void TFormOrmica::MMRedoClick()
{
    moveInHistory(false);
}

void TFormOrmica::moveInHistory(bool back)
{
    if (!history_ || stepDepth_ > 0)
        return;
    ResetIndicators();
    hideFrame();
    std::optional<TUndoHistory::TMove> moved;
    try {
        moved = back ? history_->Undo(progress_.get()) : history_->Redo(progress_.get());
    } catch (const std::bad_alloc&) {
        // The picture is back; its array could not be made.
        showHistoryNote(tr(" Недостаточно памяти для массива изображения"));
    }
    if (moved) {
        showHistoryNote(QString());
        (moved->which == 0 ? ImageMain : TargetImage)->repaintNow();
        ShowPage(moved->tab);
    } else if (history_->LastMoveTooLarge()) {
        showHistoryNote(
            (back ? tr(" Отмена невозможна: изображение больше %1") : tr(" Повтор невозможен: изображение больше %1"))
                .arg(capText(history_->MaxBytes)));
    }
    updateUndoActions();
    explainAgain();
}

}  // namespace ormica
