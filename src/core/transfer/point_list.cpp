#include "core/transfer/point_list.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>

namespace ormica {

namespace {

char upper(char mode)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(mode)));
}

// n / d rounded to nearest, halves to even; d > 0. Exact in integers, which is
// what extended precision gives for these small operands.
std::int64_t roundDiv(std::int64_t n, std::int64_t d)
{
    std::int64_t q = n / d;
    std::int64_t r = n % d;
    if (r < 0) {
        --q;
        r += d;
    }
    const std::int64_t twice = 2 * r;
    if (twice > d || (twice == d && (q % 2 != 0)))
        ++q;
    return q;
}

TQueueElem* mut(const TQueueElem& e)
{
    return const_cast<TQueueElem*>(&e);
}

}  // namespace

TQueue2L::Items::iterator TQueue2L::locate(const TQueueElem* elem)
{
    return std::find_if(items_.begin(), items_.end(), [this, elem](const TQueueElem& e) {
        ++searchSteps_;
        return &e == elem;
    });
}

TQueue2L::Items::const_iterator TQueue2L::locate(const TQueueElem* elem) const
{
    return std::find_if(items_.begin(), items_.end(), [this, elem](const TQueueElem& e) {
        ++searchSteps_;
        return &e == elem;
    });
}

TQueueElem* TQueue2L::Head() const
{
    return items_.empty() ? nullptr : mut(items_.front());
}

TQueueElem* TQueue2L::Tail() const
{
    return items_.empty() ? nullptr : mut(items_.back());
}

std::vector<const TQueueElem*> TQueue2L::Elements() const
{
    std::vector<const TQueueElem*> out;
    out.reserve(items_.size());
    for (const TQueueElem& e : items_)
        out.push_back(&e);
    return out;
}

TQueueElem* TQueue2L::AddLE(char mode, TQueueElem* anchor, const TRect& box)
{
    mode = upper(mode);
    Items::iterator where = items_.end();
    if (items_.empty() || mode == 'T') {
        // An empty list takes the element whatever the mode.
    } else if (mode == 'H') {
        where = items_.begin();
    } else if (mode == 'N' || mode == 'P') {
        const auto at = anchor == nullptr ? items_.end() : locate(anchor);
        if (at == items_.end())
            return nullptr;
        where = (mode == 'N') ? std::next(at) : at;
    } else {
        return nullptr;
    }
    return &*link(where, box);
}

TQueue2L::Items::iterator TQueue2L::link(Items::iterator where, const TRect& box)
{
    const auto it = items_.insert(where, TQueueElem{0, box, false});
    ++lastNum_;
    it->Number = static_cast<std::uint32_t>(lastNum_);
    curr_ = &*it;
    return it;
}

bool TQueue2L::DelLE(char mode, TQueueElem* elem)
{
    mode = upper(mode);
    TQueueElem* target = nullptr;
    if (mode == 'C')
        target = FindLE(elem);
    else if (mode == 'H')
        target = Head();
    else if (mode == 'T')
        target = Tail();
    if (target == nullptr)
        return false;
    if (target->Busy) {
        messages().warning(
            QCoreApplication::translate("PointList", "TQueue2L.DelLE : Элемент занят.Удаление элемента отменено."));
        return false;
    }
    const bool isHead = target == Head();
    const bool isTail = target == Tail();
    if (curr_ == target)
        curr_ = nullptr;
    items_.erase(locate(target));
    // Taking an end off leaves the current cursor on the new end.
    if (isHead)
        curr_ = Head();
    else if (isTail)
        curr_ = Tail();
    return true;
}

void TQueue2L::FreeQueue()
{
    items_.clear();
    curr_ = nullptr;
    lastNum_ = 0;
}

TQueueElem* TQueue2L::FindLE(const TQueueElem* elem) const
{
    const auto it = locate(elem);
    return (elem == nullptr || it == items_.end()) ? nullptr : mut(*it);
}

TQueueElem* TQueue2L::FindLEAtPoint(int x, int y) const
{
    for (const TQueueElem& e : items_) {
        ++searchSteps_;
        if (e.Box.Left <= x && x <= e.Box.Right && e.Box.Top <= y && y <= e.Box.Bottom)
            return mut(e);
    }
    return nullptr;
}

TQueueElem* TQueue2L::FindLERightOf(int x) const
{
    for (const TQueueElem& e : items_) {
        ++searchSteps_;
        if (e.Box.Left > x)
            return mut(e);
    }
    return nullptr;
}

TQueueElem* TQueue2L::PrevLE(const TQueueElem* elem) const
{
    const auto it = locate(elem);
    if (elem == nullptr || it == items_.end() || it == items_.begin())
        return nullptr;
    return mut(*std::prev(it));
}

TQueueElem* TQueue2L::NextLE(const TQueueElem* elem) const
{
    const auto it = locate(elem);
    if (elem == nullptr || it == items_.end() || std::next(it) == items_.end())
        return nullptr;
    return mut(*std::next(it));
}

bool TQueue2L::SetLERect(TQueueElem* elem, const TRect& box)
{
    TQueueElem* e = FindLE(elem);
    if (e == nullptr)
        return false;
    e->Box = box;
    return true;
}

TRect TQueue2L::GetLERect(const TQueueElem* elem) const
{
    const TQueueElem* e = FindLE(elem);
    return e == nullptr ? TRect{} : e->Box;
}

int TQueue2L::GetLEX(const TQueueElem* elem) const
{
    return GetLERect(elem).Left;
}

int TQueue2L::GetLEY(const TQueueElem* elem) const
{
    return GetLERect(elem).Top;
}

TPointEditorModel::TPointEditorModel(int width, int height) : width_(width), height_(height)
{
    Reset(false);
}

int TPointEditorModel::XToBright(int x) const
{
    if (width_ <= 0)
        return 0;
    return static_cast<int>(roundDiv(std::int64_t{x} * 255, width_));
}

int TPointEditorModel::BrightToX(int b) const
{
    return static_cast<int>(roundDiv(std::int64_t{b} * width_, 255));
}

int TPointEditorModel::YToBright(int y) const
{
    if (height_ <= 0)
        return 0;
    return 255 - static_cast<int>(roundDiv(std::int64_t{y} * 255, height_));
}

int TPointEditorModel::BrightToY(int b) const
{
    return height_ - static_cast<int>(roundDiv(std::int64_t{b} * height_, 255));
}

void TPointEditorModel::MakeEndPoints(bool descending)
{
    const int headY = descending ? 0 : height_;
    const int tailY = descending ? height_ : 0;
    AddLE('H', nullptr, {0, headY, 0, headY});
    AddLE('T', nullptr, {width_, tailY, width_, tailY});
}

void TPointEditorModel::Reset(bool descending)
{
    dragElem_ = nullptr;
    dragging_ = false;
    FreeQueue();
    MakeEndPoints(descending);
}

void TPointEditorModel::InvertY()
{
    for (TQueueElem& e : items()) {
        e.Box.Top = height_ - e.Box.Top;
        e.Box.Bottom = e.Box.Top + MarkSize;
    }
}

TBrightPointArray TPointEditorModel::GetPoints() const
{
    TBrightPointArray out;
    out.reserve(Count());
    for (const TQueueElem* e : Elements())
        out.push_back({XToBright(e->Box.Left), YToBright(e->Box.Top)});
    return out;
}

void TPointEditorModel::SetPoints(const TBrightPointArray& points)
{
    if (points.size() < 2)
        return;
    const bool descending = points.front().X != 0 || points.front().Y != 0;
    Reset(descending);
    // A function file may hold a quarter of a million points, too many to walk
    // the list for each. While the tail is not left of the head the list stays
    // ordered by X, so the element right of px is the first one of the next
    // larger X, and the first element of each X is kept in a map.
    const bool ordered = width_ >= 0;
    std::map<int, Items::iterator> firstAtX;
    if (ordered) {
        firstAtX.emplace(0, items().begin());
        firstAtX.emplace(width_, std::prev(items().end()));
    }
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const TBrightPoint& p = points[i];
        if (p.X < 0 || p.X > 255 || p.Y < 0 || p.Y > 255) {
            messages().warning(QCoreApplication::translate("PointList", "Пропуск точки X : %1").arg(p.X));
            continue;
        }
        const int px = BrightToX(p.X);
        const int py = BrightToY(p.Y);
        // Equal X goes after the points already there; px >= W finds nothing.
        if (!ordered) {
            if (TQueueElem* hit = FindLERightOf(px))
                AddLE('P', hit, markBox(px, py));
            continue;
        }
        const auto right = firstAtX.upper_bound(px);
        if (right != firstAtX.end())
            firstAtX.emplace(px, link(right->second, markBox(px, py)));
    }
}

bool TPointEditorModel::MouseDown(TEditClick click, int x, int y)
{
    lastAction_ = TEditAction::None;
    dragElem_ = nullptr;
    dragging_ = false;
    switch (click) {
    case TEditClick::LeftDouble:
        if (TQueueElem* hit = FindLERightOf(x)) {
            AddLE('P', hit, markBox(x, y));
            lastAction_ = TEditAction::Added;
            return true;
        }
        return false;
    case TEditClick::RightDouble:
        if (TQueueElem* hit = FindLEAtPoint(x, y)) {
            if (!DelLE('C', hit))
                return false;
            lastAction_ = TEditAction::Deleted;
            return true;
        }
        return false;
    case TEditClick::Left: {
        TQueueElem* hit = FindLEAtPoint(x, y);
        if (hit == nullptr || hit == Head() || hit == Tail())
            return false;
        dragElem_ = hit;
        dragX_ = hit->Box.Left;
        dragY_ = hit->Box.Top;
        const TQueueElem* prev = PrevLE(hit);
        const TQueueElem* next = NextLE(hit);
        prevX_ = prev ? prev->Box.Left : 0;
        prevY_ = prev ? prev->Box.Top : 0;
        nextX_ = next ? next->Box.Left : 0;
        nextY_ = next ? next->Box.Top : 0;
        dragging_ = true;
        lastAction_ = TEditAction::Moved;
        return true;
    }
    case TEditClick::Other:
        break;
    }
    return false;
}

bool TPointEditorModel::MouseMove(int x, int y)
{
    if (!dragging_ || !(prevX_ < x && x < nextX_) || y < 0 || y >= height_)
        return false;
    dragX_ = x;
    dragY_ = y;
    return true;
}

void TPointEditorModel::MouseUp(int x, int y)
{
    dragging_ = false;
    if (dragElem_ != nullptr) {
        // A release outside the field pulls the point in from the border, but
        // only from its own last accepted place and never past a neighbour's X.
        int px = dragX_;
        int py = dragY_;
        if (x < 0)
            px = std::max(px, 0);
        else if (x > width_ - 2)
            px = std::min(px, width_ - 2);
        if (y < 0)
            py = std::max(py, 0);
        else if (y > height_ - 2)
            py = std::min(py, height_ - 2);
        px = std::clamp(px, prevX_, std::max(prevX_, nextX_));
        SetLERect(dragElem_, markBox(px, py));
        dragX_ = px;
        dragY_ = py;
    }
    DoChange();
}

void TPointEditorModel::DoChange()
{
    if (OnChange && lastAction_ != TEditAction::None)
        OnChange(*this, lastAction_);
}

}  // namespace ormica
