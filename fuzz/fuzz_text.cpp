// The text image reader: every byte sequence, read with one of the
// separators in blocks of a size the input chooses, gives exactly the rows a
// plain line-by-line reading of the whole text gives, or is refused leaving
// the caller's array as it was; rows that can be written read back unchanged.
#include "core/engine/image_error.h"  // fuzz_input.h needs it first
#include "core/engine/text_image.h"
#include "fuzz_input.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::uint8_t>>;

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// Returns false when there are more lines than a text image may have.
bool plainRows(std::string_view text, int sep, Rows& rows)
{
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t e = i;
        while (e < text.size() && text[e] != '\r' && text[e] != '\n')
            ++e;
        std::string_view line = text.substr(i, e - i);
        i = e;
        if (e + 1 < text.size() && text[e] == '\r' && text[e + 1] == '\n')
            i = e + 2;
        else if (e < text.size())
            i = e + 1;
        if (rows.size() == std::size_t(ormica::kMaxTextImageLines))
            return false;
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        while (!line.empty() && isBlank(line.back()) && static_cast<unsigned char>(line.back()) != sep)
            line.remove_suffix(1);
        std::vector<std::uint8_t> row;
        for (;;) {
            const std::size_t p = sep < 0 ? std::string_view::npos : line.find(char(sep));
            if (p == std::string_view::npos)
                break;
            std::uint8_t v = 0;
            if (ormica::TextToByte(line.substr(0, p), v))
                row.push_back(v);
            line.remove_prefix(p + 1);
        }
        rows.push_back(std::move(row));
    }
    return true;
}

Rows rowsOf(const ormica::TImgTabBGR& arr)
{
    Rows rows;
    for (int r = 0; r < arr.rowCount(); ++r)
        rows.emplace_back(arr.row(r), arr.row(r) + arr.rowLength(r));
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ormica;
    static fuzz::QuietSink sink;
    setMessageSink(&sink);
    if (size < 1)
        return 0;
    static const QString separators[] = {QStringLiteral(";"), QStringLiteral("\t"), QStringLiteral(","),
                                         QString(),           QStringLiteral(" "),  QStringLiteral("Ж")};
    static const int bytes[] = {';', '\t', ',', -1, ' ', 0xC6};
    const int choice = data[0] % 6;
    const qsizetype block = 1 + (data[0] >> 3) * 3;  // 1 .. 94 bytes, or a whole MiB
    ++data;
    --size;
    const QString file = fuzz::writeInput(data, size, ".txt");
    if (file.isEmpty())
        return 0;

    Rows want;
    bool within = plainRows(std::string_view(reinterpret_cast<const char*>(data), size), bytes[choice], want);
    // Rows wider than the largest picture the program holds are refused.
    std::size_t widest = 0;
    for (const auto& row : want)
        widest = std::max(widest, row.size() / 3);
    if (widest > 0 && !PictureSizeAllowed(qint64(widest), qint64(want.size())))
        within = false;
    TImgTabBGR sentinel;
    sentinel.setShape(2, 3);
    std::memset(sentinel.row(0), 7, 6);
    TImgTabBGR arr = sentinel;
    detail::setTextImageBlock(block == 94 ? 0 : block);
    const bool read = ReadImgTabText(arr, separators[choice], file, nullptr);
    detail::setTextImageBlock(0);
    if (read != (within && !want.empty()))
        __builtin_trap();
    if (!read) {
        if (!arr.sameAs(sentinel))
            __builtin_trap();
        return 0;
    }
    if (rowsOf(arr) != want)
        __builtin_trap();

    // Rows the writer takes come back the same.
    for (const auto& row : want)
        if (row.empty() || qsizetype(row.size()) > kMaxTextImageRowBytes)
            return 0;
    if (!WriteImgTabText(arr, separators[choice], file, nullptr))
        __builtin_trap();
    TImgTabBGR back;
    if (!ReadImgTabText(back, separators[choice], file, nullptr) || (choice != 3 && !back.sameAs(arr)))
        __builtin_trap();
    return 0;
}
