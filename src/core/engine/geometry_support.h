#pragma once

// What the geometric operations share: shape checks, progress steps, and a
// source that may also be the target.

#include "core/engine/img_tab.h"
#include "core/engine/message_sink.h"
#include "core/engine/progress.h"

#include <cstring>
#include <optional>
#include <vector>

namespace ormica::detail::geometry {

// A pixel index outside a shorter row: the arrays do not have one shape.
struct RowMismatch {};

inline void warn(const QString& text)
{
    messages().warning(text);
}

// A failed routine leaves an empty target and says so.
inline void fail(TImgTabBGR& target, const QString& text)
{
    target.clear();
    warn(text);
}

// Every row as long as row 0, and whole pixels only.
inline bool uniform(const TImgTabBGR& a)
{
    const qsizetype len = a.rowLength(0);
    if (len % 3 != 0)
        return false;
    for (int y = 1; y < a.rowCount(); ++y)
        if (a.rowLength(y) != len)
            return false;
    return true;
}

inline std::vector<qsizetype> shapeOf(const TImgTabBGR& a)
{
    std::vector<qsizetype> lengths(static_cast<std::size_t>(a.rowCount()));
    for (int y = 0; y < a.rowCount(); ++y)
        lengths[std::size_t(y)] = a.rowLength(y);
    return lengths;
}

inline void zeroAll(TImgTabBGR& a)
{
    for (int y = 0; y < a.rowCount(); ++y)
        if (a.rowLength(y) > 0)
            std::memset(a.row(y), 0, std::size_t(a.rowLength(y)));
}

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// The source itself, or a copy of it when it is also the target.
class SourceView {
public:
    SourceView(const TImgTabBGR& source, const TImgTabBGR& target)
    {
        if (&source == &target) {
            copy_.emplace(source);
            view_ = &*copy_;
        } else {
            view_ = &source;
        }
    }
    const TImgTabBGR& operator*() const { return *view_; }

private:
    std::optional<TImgTabBGR> copy_;
    const TImgTabBGR* view_;
};

inline void addPosition(TProgress* p, int step)
{
    if (p)
        p->setPosition(p->position() + step);
}

inline void startProgress(TProgress* p, int maximum)
{
    if (p) {
        p->setMinimum(0);
        p->setMaximum(maximum);
        p->setPosition(0);
    }
}

// The vector code can be switched off, so that tests hold it to the plain code.
inline bool simdAllowed = true;

}  // namespace ormica::detail::geometry
