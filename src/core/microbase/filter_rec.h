#pragma once

#include "core/filter/filter_kernel.h"
#include "core/microbase/micro_base.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace ormica {

// A Windows-1251 short string of a record: a length byte and a fixed field
// of 80 bytes. Only the first Length bytes are the text; the rest of the
// field keeps whatever it held, and is written back as it was.
struct TShortString81 {
    static constexpr int kCapacity = 80;
    static constexpr int kSize = 1 + kCapacity;

    std::uint8_t Length = 0;
    std::array<char, kCapacity> Chars{};

    // The text; a length byte above 80 (a damaged record) gives the whole field.
    QString text() const;
    int usedLength() const { return Length > kCapacity ? kCapacity : Length; }
    // Puts the text in front of the field, leaving the bytes after it. A text
    // that does not fit or holds a character Windows-1251 has no byte for is
    // refused and changes nothing.
    bool setText(const QString& text);
    friend bool operator==(const TShortString81&, const TShortString81&) = default;
};

// Why a text cannot be kept in a record field, or empty when it can.
QString ShortStringRefusal(const QString& text);

// ShortStringRefusal for a text the user entered into the field `caption`:
// a refused text gets a warning naming the field, and false.
bool CheckShortString(const QString& text, const QString& caption);

// The payload of one database record, 447 bytes on disk.
struct TFilterRec {
    static constexpr int kSize = 447;
    static constexpr int kNameAt = 0;
    static constexpr int kKernelAt = 81;
    static constexpr int kScaleAt = 277;
    static constexpr int kTypeAt = 281;
    static constexpr int kComment1At = 285;
    static constexpr int kComment2At = 366;

    TShortString81 Name;
    TFilterKernel Kernel;
    std::int32_t Scale = 0;
    std::int32_t Type = 0;
    TShortString81 Comment1;
    TShortString81 Comment2;
    friend bool operator==(const TFilterRec&, const TFilterRec&) = default;
};

using TFilterRecBytes = std::array<std::uint8_t, TFilterRec::kSize>;

// The payload as the file holds it: little-endian integers, short strings
// with their remnants.
TFilterRecBytes FilterRecToBytes(const TFilterRec& rec);
TFilterRec FilterRecFromBytes(const std::uint8_t* bytes);

// The filter of a record as the filter window takes it, and back.
TFilterData FilterDataOf(const TFilterRec& rec);
void PutFilterData(TFilterRec& rec, const TFilterData& data);

// The record as the payload of the buffer (SetData); false when the buffer
// does not hold filter records.
bool PutFilterRec(TRecBuf& buf, const TFilterRec& rec);
// Record k of the base (Read), or nullopt when there is none.
std::optional<TFilterRec> ReadFilterRec(TMicroBase& base, std::int32_t k);

}  // namespace ormica
