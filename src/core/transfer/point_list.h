#pragma once

#include "core/engine/rect.h"

#include <cstdint>
#include <functional>
#include <list>
#include <vector>

namespace ormica {

// One point of a transfer function: input brightness X, output brightness Y.
struct TBrightPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TBrightPoint&, const TBrightPoint&) = default;
};
using TBrightPointArray = std::vector<TBrightPoint>;

// One list element; (Box.Left, Box.Top) is the point, Box its hit box.
struct TQueueElem {
    std::uint32_t Number = 0;
    TRect Box;
    bool Busy = false;
};

// An ordered list of elements addressed by stable pointers. Mode letters are
// compared without regard to case: 'H' head, 'T' tail, 'N' after the anchor,
// 'P' before the anchor, 'C' the element itself. Every element linked gets the
// next serial number; FreeQueue restarts the numbering.
class TQueue2L {
public:
    TQueue2L() = default;
    TQueue2L(const TQueue2L&) = delete;
    TQueue2L& operator=(const TQueue2L&) = delete;

    // Links a new element with the given box; null on a bad mode.
    TQueueElem* AddLE(char mode, TQueueElem* anchor, const TRect& box);
    // Unlinks and releases the element ('C'), the head ('H') or the tail ('T').
    // A busy element stays, with a warning. True when something was deleted.
    bool DelLE(char mode, TQueueElem* elem);
    void FreeQueue();

    TQueueElem* FindLE(const TQueueElem* elem) const;
    // First element from the head whose box holds (x, y), edges included.
    TQueueElem* FindLEAtPoint(int x, int y) const;
    // First element from the head with Box.Left > x.
    TQueueElem* FindLERightOf(int x) const;
    TQueueElem* PrevLE(const TQueueElem* elem) const;
    TQueueElem* NextLE(const TQueueElem* elem) const;
    bool SetLERect(TQueueElem* elem, const TRect& box);
    TRect GetLERect(const TQueueElem* elem) const;
    int GetLEX(const TQueueElem* elem) const;
    int GetLEY(const TQueueElem* elem) const;

    std::uint32_t Count() const { return static_cast<std::uint32_t>(items_.size()); }
    std::int32_t LastNum() const { return lastNum_; }
    TQueueElem* Head() const;
    TQueueElem* Tail() const;
    // The element linked last; null once it is unlinked.
    TQueueElem* Curr() const { return curr_; }
    // The elements head first.
    std::vector<const TQueueElem*> Elements() const;
    // Elements visited by the searches so far: bulk operations must not walk
    // the list once per element.
    std::uint64_t SearchSteps() const { return searchSteps_; }

protected:
    using Items = std::list<TQueueElem>;
    // Links a new element with the box before `where`, numbered and made
    // current as by AddLE; for callers that know the place without a search.
    Items::iterator link(Items::iterator where, const TRect& box);
    Items& items() { return items_; }

private:
    Items::iterator locate(const TQueueElem* elem);
    Items::const_iterator locate(const TQueueElem* elem) const;

    Items items_;
    std::int32_t lastNum_ = 0;
    TQueueElem* curr_ = nullptr;
    mutable std::uint64_t searchSteps_ = 0;
};

// What the last button press did; handed to the change receiver.
enum class TEditAction : std::uint8_t { None = 0, Added = 1, Deleted = 2, Moved = 3 };

// The shift state of a button press, as the editor tells them apart.
enum class TEditClick { LeftDouble, RightDouble, Left, Other };

// The non-drawing part of the point editor: a function kept as points in the
// pixels of a W x H editor image (Y grows downward), the conversions to and
// from brightness, and the mouse protocol. A widget draws it after each call.
class TPointEditorModel : public TQueue2L {
public:
    static constexpr int MarkSize = 6;

    explicit TPointEditorModel(int width = 512, int height = 512);

    int Width() const { return width_; }
    int Height() const { return height_; }

    int XToBright(int x) const;
    int BrightToX(int b) const;
    int YToBright(int y) const;
    int BrightToY(int b) const;

    // Links the two corner points: (0, 0)-(255, 255), or (0, 255)-(255, 0) when descending.
    void MakeEndPoints(bool descending);
    void Reset(bool descending);
    // The negative of the function: every point mirrored vertically.
    void InvertY();
    TBrightPointArray GetPoints() const;
    // Rebuilds the list from an array; the first pair only chooses the direction,
    // the last is ignored; pairs outside 0..255 are skipped with a warning.
    void SetPoints(const TBrightPointArray& points);

    // Mouse protocol. Down returns true when it added, deleted or armed a drag;
    // Move returns true when the point followed; Up ends the drag and notifies.
    bool MouseDown(TEditClick click, int x, int y);
    bool MouseMove(int x, int y);
    void MouseUp(int x, int y);

    TEditAction LastAction() const { return lastAction_; }
    bool Dragging() const { return dragging_; }
    const TQueueElem* DragElem() const { return dragElem_; }
    TPoint DragPos() const { return {dragX_, dragY_}; }
    TPoint PrevPos() const { return {prevX_, prevY_}; }
    TPoint NextPos() const { return {nextX_, nextY_}; }

    std::function<void(TPointEditorModel&, TEditAction)> OnChange;

private:
    void DoChange();
    TRect markBox(int x, int y) const { return {x, y, x + MarkSize, y + MarkSize}; }

    int width_;
    int height_;
    TEditAction lastAction_ = TEditAction::None;
    TQueueElem* dragElem_ = nullptr;
    bool dragging_ = false;
    int dragX_ = 0, dragY_ = 0;
    int prevX_ = 0, prevY_ = 0;
    int nextX_ = 0, nextY_ = 0;
};

}  // namespace ormica
