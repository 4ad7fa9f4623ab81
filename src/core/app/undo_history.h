#pragma once

#include "core/engine/image_control.h"
#include "core/engine/img_tab.h"
#include "core/engine/progress.h"
#include "core/explain/operation_record.h"

#include <QImage>
#include <deque>
#include <optional>

namespace ormica {

// One image as a command found it: the picture, its description, and the
// array. The array is kept only when it is not simply the picture's pixels
// (or is empty), so that a step costs one picture as a rule.
struct TImageSnapshot {
    QImage picture;
    std::optional<TImageDesc> desc;
    bool arrayFilled = false;
    std::optional<TImgTabBGR> ownArray;
    qint64 bytes() const;
};

TImageSnapshot TakeSnapshot(const TImageControl& image, const TImgTabBGR& arr);
// Puts picture, description and array back together. Throws std::bad_alloc
// (the image then keeps its picture, the array may be empty).
void RestoreSnapshot(const TImageSnapshot& snapshot, TImageControl& image, TImgTabBGR& arr, TProgress* progress);

// The undo and redo history of the two images. A command that may change an
// image is bracketed by Begin and Commit; what it changed becomes one step.
// History is capped by steps and by bytes; the oldest steps go first.
class TUndoHistory {
public:
    struct TImageRef {
        TImageControl* image = nullptr;
        TImgTabBGR* arr = nullptr;
        // What last wrote the image; it goes back and forth with the picture.
        TOperationRecordPtr* record = nullptr;
    };
    // Index 0 is the source image, 1 the target.
    TUndoHistory(TImageRef source, TImageRef target);

    qint64 MaxBytes = qint64(1) << 30;
    int MaxSteps = 20;

    enum class TOutcome {
        Recorded,   // one more step to undo
        Unchanged,  // the command changed nothing; no step
        TooLarge,   // the image changed, but its old state cannot be kept
    };

    // Before a command that may change image `which`; `tab` is the page shown now.
    void Begin(int which, int tab);
    // After it, with the page shown then: a step when the image differs from
    // what Begin saw. With `changed` given, that decides instead (a tool
    // window says whether it wrote the image). Any change empties the redo list.
    TOutcome Commit(int tab);
    TOutcome Commit(int tab, bool changed);
    bool Pending() const { return pending_.has_value(); }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int UndoCount() const { return int(undo_.size()); }
    int RedoCount() const { return int(redo_.size()); }
    qint64 Bytes() const;

    struct TMove {
        int which;  // the image put back
        int tab;    // the page to show with it: as before the command on undo, as after it on redo
    };
    // Puts back the state before the last step. Nothing when there is nothing
    // to undo, or when the present state cannot be kept for the redo (then
    // nothing changes).
    std::optional<TMove> Undo(TProgress* progress);
    std::optional<TMove> Redo(TProgress* progress);
    // Why the last Undo or Redo did nothing although it could have.
    bool LastMoveTooLarge() const { return lastTooLarge_; }
    void Clear();

private:
    struct TStep {
        int which = 0;
        int tabBefore = 0, tabAfter = 0;
        TImageSnapshot state;
        TOperationRecordPtr record;
    };
    bool unchanged(const TStep& step) const;
    std::optional<TMove> move(std::deque<TStep>& from, std::deque<TStep>& to, TProgress* progress);
    // Holds both caps after a step was added to `added`, whose newest step stays.
    void trim(std::deque<TStep>& added);

    TImageRef images_[2];
    std::optional<TStep> pending_;
    std::deque<TStep> undo_;  // oldest first
    std::deque<TStep> redo_;  // oldest first; the next redo is the last
    bool lastTooLarge_ = false;
};

}  // namespace ormica
