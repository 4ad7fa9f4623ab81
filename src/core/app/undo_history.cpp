#include "core/app/undo_history.h"

#include "core/engine/img_service.h"

#include <cstring>
#include <new>

namespace ormica {

qint64 TImageSnapshot::bytes() const
{
    // Counted in full even while the picture is still shared with the image:
    // the command that follows nearly always replaces it.
    qint64 total = picture.sizeInBytes();
    if (ownArray)
        for (int y = 0; y < ownArray->height(); ++y)
            total += ownArray->rowLength(y);
    return total;
}

TImageSnapshot TakeSnapshot(const TImageControl& image, const TImgTabBGR& arr)
{
    TImageSnapshot s;
    s.picture = image.picture();
    if (const TImageDesc* desc = image.imageDesc())
        s.desc = *desc;
    s.arrayFilled = !arr.empty();
    if (s.arrayFilled && !ArrayIsPicture(arr, s.picture))
        s.ownArray = arr;
    return s;
}

void RestoreSnapshot(const TImageSnapshot& snapshot, TImageControl& image, TImgTabBGR& arr, TProgress* progress)
{
    if (snapshot.ownArray)
        arr = *snapshot.ownArray;
    image.setPicture(snapshot.picture);
    if (snapshot.desc)
        image.ensureImageDesc() = *snapshot.desc;
    if (!snapshot.ownArray) {
        if (snapshot.arrayFilled)
            ImageToImgTab(image, arr, progress);
        else
            arr.clear();
    }
}

TUndoHistory::TUndoHistory(TImageRef source, TImageRef target) : images_{source, target} {}

void TUndoHistory::Begin(int which, int tab)
{
    const TImageRef& ref = images_[which == 0 ? 0 : 1];
    pending_ =
        TStep{which == 0 ? 0 : 1, tab, tab, TakeSnapshot(*ref.image, *ref.arr), ref.record ? *ref.record : nullptr};
}

bool TUndoHistory::unchanged(const TStep& step) const
{
    const TImageRef& ref = images_[step.which];
    const TImageDesc* desc = ref.image->imageDesc();
    const bool sameDesc = step.state.desc ? desc && desc->FileName == step.state.desc->FileName &&
                                                desc->SourceKind == step.state.desc->SourceKind &&
                                                desc->PixelFormat == step.state.desc->PixelFormat
                                          : desc == nullptr;
    // Any write access to the picture gives it a new cache key.
    if (!sameDesc || ref.image->picture().cacheKey() != step.state.picture.cacheKey() ||
        ref.arr->empty() == step.state.arrayFilled)
        return false;
    return step.state.ownArray ? ref.arr->sameAs(*step.state.ownArray)
                               : ArrayIsPicture(*ref.arr, ref.image->picture()) || ref.arr->empty();
}

TUndoHistory::TOutcome TUndoHistory::Commit(int tab)
{
    if (!pending_)
        return TOutcome::Unchanged;
    return Commit(tab, !unchanged(*pending_));
}

TUndoHistory::TOutcome TUndoHistory::Commit(int tab, bool changed)
{
    if (!pending_)
        return TOutcome::Unchanged;
    TStep step = std::move(*pending_);
    step.tabAfter = tab;
    pending_.reset();
    if (!changed)
        return TOutcome::Unchanged;
    redo_.clear();
    if (step.state.bytes() > MaxBytes)
        return TOutcome::TooLarge;
    undo_.push_back(std::move(step));
    trim(undo_);
    return TOutcome::Recorded;
}

qint64 TUndoHistory::Bytes() const
{
    qint64 total = 0;
    for (const auto* list : {&undo_, &redo_})
        for (const TStep& s : *list)
            total += s.state.bytes();
    return total;
}

void TUndoHistory::trim(std::deque<TStep>& added)
{
    while (int(added.size()) > MaxSteps)
        added.pop_front();
    // The list just added to keeps its newest step; the other one gives way first.
    auto& other = &added == &undo_ ? redo_ : undo_;
    while (Bytes() > MaxBytes)
        (other.empty() ? added : other).pop_front();
}

std::optional<TUndoHistory::TMove> TUndoHistory::move(std::deque<TStep>& from, std::deque<TStep>& to,
                                                      TProgress* progress)
{
    lastTooLarge_ = false;
    pending_.reset();
    if (from.empty())
        return std::nullopt;
    const int which = from.back().which;
    const TImageRef& ref = images_[which];
    TStep present{which, from.back().tabBefore, from.back().tabAfter, TakeSnapshot(*ref.image, *ref.arr),
                  ref.record ? *ref.record : nullptr};
    if (present.state.bytes() > MaxBytes) {
        lastTooLarge_ = true;
        return std::nullopt;
    }
    RestoreSnapshot(from.back().state, *ref.image, *ref.arr, progress);
    if (ref.record)
        *ref.record = from.back().record;
    const int backTab = &from == &undo_ ? from.back().tabBefore : from.back().tabAfter;
    from.pop_back();
    to.push_back(std::move(present));
    trim(to);
    return TMove{which, backTab};
}

std::optional<TUndoHistory::TMove> TUndoHistory::Undo(TProgress* progress)
{
    return move(undo_, redo_, progress);
}

std::optional<TUndoHistory::TMove> TUndoHistory::Redo(TProgress* progress)
{
    return move(redo_, undo_, progress);
}

void TUndoHistory::Clear()
{
    pending_.reset();
    undo_.clear();
    redo_.clear();
}

}  // namespace ormica
