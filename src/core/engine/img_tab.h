#pragma once

#include "core/engine/large_block.h"

#include "core/engine/color.h"

#include <QtGlobal>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <vector>

namespace ormica {

// Rows of elements, row 0 at the top of the picture. Rows may differ in
// length; all of them live in one block so that a whole picture costs one
// allocation and rows can be copied as single blocks.
template <class T> class TRowArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    TRowArray() = default;
    TRowArray(const TRowArray& other) { *this = other; }
    TRowArray(TRowArray&& other) noexcept { *this = std::move(other); }
    TRowArray& operator=(TRowArray&& other) noexcept
    {
        data_ = std::move(other.data_);
        start_ = std::move(other.start_);
        capacity_ = other.capacity_;
        other.capacity_ = 0;
        other.start_.clear();
        return *this;
    }
    TRowArray& operator=(const TRowArray& other)
    {
        if (this == &other)
            return *this;
        std::vector<qsizetype> start = other.start_;
        if (!reusable(other.totalLength())) {
            data_ = newBlock(other.totalLength());
            capacity_ = other.totalLength();
        }
        if (other.totalLength() > 0)
            std::memcpy(data_.get(), other.data_.get(), std::size_t(other.totalLength()) * sizeof(T));
        start_ = std::move(start);
        return *this;
    }

    int rowCount() const { return start_.empty() ? 0 : int(start_.size() - 1); }
    bool empty() const { return rowCount() == 0; }
    qsizetype rowLength(int r) const { return start_[std::size_t(r) + 1] - start_[std::size_t(r)]; }
    T* row(int r) { return data_.get() + start_[std::size_t(r)]; }
    const T* row(int r) const { return data_.get() + start_[std::size_t(r)]; }
    std::span<T> operator[](int r) { return {row(r), std::size_t(rowLength(r))}; }
    std::span<const T> operator[](int r) const { return {row(r), std::size_t(rowLength(r))}; }

    void clear()
    {
        data_.reset();
        capacity_ = 0;
        start_.clear();
    }

    // `rows` rows of `length` elements each; contents are left undefined for
    // the caller to fill. The block in hand is kept when it fits, so that an
    // operation repeated on a picture of one size touches no new memory.
    // Throws std::bad_alloc, leaving the array empty.
    void setShape(int rows, qsizetype length)
    {
        start_.clear();
        if (rows <= 0) {
            clear();
            return;
        }
        std::vector<qsizetype> start(std::size_t(rows) + 1);
        for (std::size_t r = 0; r < start.size(); ++r)
            start[r] = qsizetype(r) * length;
        allocate(std::move(start));
    }

    // Rows of independent lengths.
    void setShape(std::span<const qsizetype> lengths)
    {
        start_.clear();
        if (lengths.empty()) {
            clear();
            return;
        }
        std::vector<qsizetype> start(lengths.size() + 1);
        for (std::size_t r = 0; r < lengths.size(); ++r)
            start[r + 1] = start[r] + lengths[r];
        allocate(std::move(start));
    }

    // Takes the block of `other`, its rows read as elements of this type,
    // without copying; false, with both left as they were, unless every row
    // boundary falls between two elements.
    template <class U> bool adopt(TRowArray<U>& other)
    {
        std::vector<qsizetype> start(other.start_.size());
        for (std::size_t i = 0; i < start.size(); ++i) {
            const qsizetype bytes = other.start_[i] * qsizetype(sizeof(U));
            if (bytes % qsizetype(sizeof(T)) != 0)
                return false;
            start[i] = bytes / qsizetype(sizeof(T));
        }
        const std::size_t blockBytes = other.data_.get_deleter().bytes;
        data_ = TBlock(reinterpret_cast<T*>(other.data_.release()), TBlockFree{blockBytes});
        capacity_ = other.capacity_ * qsizetype(sizeof(U)) / qsizetype(sizeof(T));
        start_ = std::move(start);
        other.capacity_ = 0;
        other.start_.clear();
        return true;
    }

    bool sameAs(const TRowArray& other) const
    {
        return start_ == other.start_ &&
               (totalLength() == 0 ||
                std::memcmp(data_.get(), other.data_.get(), std::size_t(totalLength()) * sizeof(T)) == 0);
    }

private:
    qsizetype totalLength() const { return start_.empty() ? 0 : start_.back(); }
    // A block is worth keeping when it is large enough and not over twice the need.
    bool reusable(qsizetype need) const { return data_ && capacity_ >= need && capacity_ <= 2 * need + 4096; }
    struct TBlockFree {
        std::size_t bytes = 0;
        void operator()(T* p) const { FreePixelBlock(p, bytes); }
    };
    using TBlock = std::unique_ptr<T[], TBlockFree>;
    static TBlock newBlock(qsizetype length)
    {
        const std::size_t bytes = std::size_t(length) * sizeof(T);
        T* p = static_cast<T*>(AllocatePixelBlock(bytes));
        if (!p)
            throw std::bad_alloc();
        return TBlock(p, TBlockFree{bytes});
    }
    void allocate(std::vector<qsizetype> start)
    {
        if (!reusable(start.back())) {
            data_.reset();
            capacity_ = 0;
            data_ = newBlock(start.back());
            capacity_ = start.back();
        }
        start_ = std::move(start);
    }

    template <class U> friend class TRowArray;

    TBlock data_;
    qsizetype capacity_ = 0;
    std::vector<qsizetype> start_;  // row r spans [start_[r], start_[r + 1])
};

// The image array: 3 bytes per pixel (blue, green, red) in each row.
class TImgTabBGR : public TRowArray<std::uint8_t> {
public:
    int height() const { return rowCount(); }
    // Length of row 0 divided by 3; 0 for no image.
    int width() const { return empty() ? 0 : int(rowLength(0) / 3); }
};

static_assert(sizeof(TBGRTriple) == 3);

// The colour array: rows of blue, green, red records.
class TImgTabColor : public TRowArray<TBGRTriple> {
public:
    int height() const { return rowCount(); }
    int width() const { return empty() ? 0 : int(rowLength(0)); }
};

}  // namespace ormica
