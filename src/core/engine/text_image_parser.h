#pragma once

// The streaming reader of text images, apart from the file handling around
// it: the values of a block are split and parsed as they come.

#include "core/engine/image_error.h"
#include "core/engine/img_tab.h"
#include "core/engine/text_image.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ormica::detail {

inline constexpr int kNoSeparator = -1;

inline bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

inline bool isDigit(int byte)
{
    return byte >= '0' && byte <= '9';
}

// A picture of rows this wide (whole pixels) and this many cannot be held.
inline bool beyondPicture(qint64 width, qint64 height)
{
    return width > 0 && !PictureSizeAllowed(width, height);
}

// The values of the rows read so far, one after another. Sized from the file
// (a value takes a digit and a separator at least); pages never written
// stay untouched, so the estimate costs no memory.
class TValueBuffer {
public:
    explicit TValueBuffer(qsizetype estimate) { grow(std::max<qsizetype>(estimate, 4096)); }
    std::uint8_t* begin() const { return data_.get(); }
    std::uint8_t* limit() const { return data_.get() + capacity_; }
    // Doubles the room; `used` bytes are kept. Returns the new begin.
    std::uint8_t* grow(qsizetype used, qsizetype capacity)
    {
        auto fresh = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(capacity));
        if (used > 0)
            std::memcpy(fresh.get(), data_.get(), std::size_t(used));
        data_ = std::move(fresh);
        capacity_ = capacity;
        return data_.get();
    }

private:
    void grow(qsizetype capacity) { grow(0, capacity); }
    std::unique_ptr<std::uint8_t[]> data_;
    qsizetype capacity_ = 0;
};

// Splits a text image into lines and values block by block. Only a token cut
// by the end of a block is copied; a line is never held whole. Once the rows
// make a picture larger than the program holds, their values are dropped as
// they come and only the lines and the widest row are still counted.
class TTextImageParser {
public:
    TTextImageParser(int separator, qsizetype estimate)
        : sep_(separator), fast_(!isDigit(separator)), values_(estimate), out_(values_.begin())
    {
    }

    // False when the lines exceed the limit.
    bool feed(const char* p, qsizetype n)
    {
        const char* const end = p + n;
        // Kept in locals: stores of bytes could alias any member.
        const unsigned sep = unsigned(sep_);  // no separator: matches no byte
        // A digit separator ends a number's digits; the line is cut at it first.
        const bool fast = fast_;
        std::uint8_t* out = out_;
        std::uint8_t* limit = values_.limit();
        auto push = [&](std::uint8_t v) {
            if (out == limit) {
                const qsizetype used = out - values_.begin();
                out = values_.grow(used, 2 * (limit - values_.begin())) + used;
                limit = values_.limit();
            }
            *out++ = v;
        };
        bool within = true;
        while (p < end) {
            if (pendingCR_) {
                pendingCR_ = false;
                if (*p == '\n') {
                    ++p;
                    continue;
                }
            }
            if (atLineStart_) {
                while (p < end && isBlank(*p) && *p != '\r' && *p != '\n') {
                    ++p;
                    lineHasBytes_ = true;
                }
                if (p == end)
                    break;
                atLineStart_ = false;
            }
            // Nearly every token is one to three digits and its separator.
            if (fast && end - p >= 4 && carry_.empty()) {
                unsigned v = 0;
                if (const char* next = shortToken(p, sep, v)) {
                    push(std::uint8_t(v));
                    lineHasBytes_ = true;
                    p = next;
                    continue;
                }
            }
            const char* q = p;
            while (q < end && *q != '\r' && *q != '\n' && unsigned(static_cast<unsigned char>(*q)) != sep)
                ++q;
            if (q == end) {
                // A token cut by the block; without a separator it can only be dropped.
                if (sep_ != kNoSeparator)
                    carry_.append(p, std::size_t(q - p));
                lineHasBytes_ = true;
                break;
            }
            if (*q == '\r' || *q == '\n') {
                // What follows the last separator of a line is not a value.
                if (!endLine(out)) {
                    within = false;
                    break;
                }
                pendingCR_ = *q == '\r';
                p = q + 1;
                continue;
            }
            lineHasBytes_ = true;
            std::uint8_t v = 0;
            if (tokenValue(p, q, v))
                push(v);
            p = q + 1;
        }
        measureRow(out);
        out_ = out;
        return within;
    }

    // The last line may lack its line break.
    bool finish()
    {
        if (lineHasBytes_)
            return endLine(out_);
        return true;
    }

    int lines() const { return int(lengths_.size()); }
    // The rows make a picture larger than the program holds.
    bool tooLarge() const { return tooLarge_; }
    // The widest row in whole pixels.
    qsizetype widest() const { return widest_; }

    // The rows read, copied into a new array.
    void build(TImgTabBGR& out) const
    {
        out.setShape(lengths_);
        const qsizetype size = out_ - values_.begin();
        if (size > 0)
            std::memcpy(out.row(0), values_.begin(), std::size_t(size));
    }

private:
    // A token of one to three digits ending at the separator: its value and
    // the byte after the separator, or null. Reads at most four bytes.
    static const char* shortToken(const char* p, unsigned sep, unsigned& v)
    {
        unsigned d = unsigned(static_cast<unsigned char>(p[0])) - '0';
        if (d > 9)
            return nullptr;
        v = d;
        const char* q = p + 1;
        d = unsigned(static_cast<unsigned char>(*q)) - '0';
        if (d <= 9) {
            v = v * 10 + d;
            d = unsigned(static_cast<unsigned char>(*++q)) - '0';
            if (d <= 9) {
                v = v * 10 + d;
                ++q;
            }
        }
        return unsigned(static_cast<unsigned char>(*q)) == sep && v <= 255 ? q + 1 : nullptr;
    }

    // The value of the token [p, q), with what the last block left of it.
    bool tokenValue(const char* p, const char* q, std::uint8_t& v)
    {
        if (carry_.empty())
            return TextToByte(std::string_view(p, std::size_t(q - p)), v);
        carry_.append(p, std::size_t(q - p));
        const bool ok = TextToByte(std::string_view(carry_), v);
        carry_.clear();
        return ok;
    }

    // A row can be as long as the whole file: it is measured block by block,
    // and once it is too wide its values go.
    void measureRow(std::uint8_t*& out)
    {
        const qsizetype row = out - values_.begin() - rowStart_;
        if (!tooLarge_ && row > 0 && beyondPicture(std::max(widest_, (rowDropped_ + row) / 3), lines() + 1))
            tooLarge_ = true;
        if (tooLarge_) {
            rowDropped_ += row;
            out = values_.begin();
            rowStart_ = 0;
        }
    }

    bool endLine(std::uint8_t*& out)
    {
        if (int(lengths_.size()) >= kMaxTextImageLines)
            return false;
        const qsizetype size = out - values_.begin();
        const qsizetype length = rowDropped_ + size - rowStart_;
        lengths_.push_back(length);
        widest_ = std::max(widest_, length / 3);
        tooLarge_ = tooLarge_ || beyondPicture(widest_, lines());
        if (tooLarge_) {
            out = values_.begin();
            rowStart_ = 0;
        } else {
            rowStart_ = size;
        }
        rowDropped_ = 0;
        carry_.clear();
        atLineStart_ = true;
        lineHasBytes_ = false;
        return true;
    }

    const int sep_;
    const bool fast_;
    TValueBuffer values_;
    std::uint8_t* out_;
    std::vector<qsizetype> lengths_;
    qsizetype rowStart_ = 0;
    qsizetype rowDropped_ = 0;  // values of the current row no longer kept
    qsizetype widest_ = 0;
    bool tooLarge_ = false;
    std::string carry_;
    bool atLineStart_ = true;
    bool lineHasBytes_ = false;
    bool pendingCR_ = false;
};

}  // namespace ormica::detail
