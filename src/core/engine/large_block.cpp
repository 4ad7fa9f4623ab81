#include "core/engine/large_block.h"

#include <array>
#include <cstdlib>
#include <limits>
#include <mutex>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ormica {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// A kept block larger than this (an 85-megapixel picture) goes back at once:
// two of them would hold too much memory for too long.
constexpr std::size_t kLargestKept = std::size_t(256) << 20;

std::size_t roundedUp(std::size_t bytes)
{
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

struct TKeptBlock {
    void* p = nullptr;
    std::size_t bytes = 0;
};

std::mutex keptLock;
std::array<TKeptBlock, 2> kept;

// Asks for huge pages on an untouched block of whole, aligned huge pages
// where the system offers them; a refusal leaves ordinary pages, no fault.
void adviseHugePages(void* p, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (p)
        (void)madvise(p, bytes, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

}  // namespace

void* AllocatePixelBlock(std::size_t bytes)
{
    if (bytes < kLargeBlockBytes)
        return std::malloc(bytes > 0 ? bytes : 1);
    const std::size_t size = roundedUp(bytes);
    {
        // The smallest kept block that fits without wasting more than the block itself.
        const std::lock_guard guard(keptLock);
        TKeptBlock* best = nullptr;
        for (TKeptBlock& k : kept)
            if (k.p && k.bytes >= size && k.bytes <= 2 * size && (!best || k.bytes < best->bytes))
                best = &k;
        if (best) {
            void* p = best->p;
            *best = {};
            return p;
        }
    }
    void* p = std::aligned_alloc(kHugePage, size);
    adviseHugePages(p, size);
    return p;
}

void FreePixelBlock(void* p, std::size_t bytes)
{
    if (!p)
        return;
    const std::size_t size = roundedUp(bytes);
    if (bytes >= kLargeBlockBytes && size <= kLargestKept) {
        const std::lock_guard guard(keptLock);
        // An empty place, else the smaller kept block's when this one is larger.
        TKeptBlock* slot = nullptr;
        for (TKeptBlock& k : kept)
            if (!k.p)
                slot = &k;
        if (!slot) {
            slot = kept[0].bytes <= kept[1].bytes ? &kept[0] : &kept[1];
            if (slot->bytes >= size)
                slot = nullptr;
        }
        if (slot) {
            std::free(slot->p);
            *slot = {p, size};
            return;
        }
    }
    std::free(p);
}

void ReleaseKeptPixelBlocks()
{
    const std::lock_guard guard(keptLock);
    for (TKeptBlock& k : kept) {
        std::free(k.p);
        k = {};
    }
}

namespace {

struct TPictureBlock {
    void* p;
    std::size_t bytes;
};

void freePictureBlock(void* info)
{
    const auto* block = static_cast<TPictureBlock*>(info);
    FreePixelBlock(block->p, block->bytes);
    delete block;
}

}  // namespace

QImage NewPicture(int width, int height, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (width <= 0 || height <= 0 || depth <= 0)
        return QImage(width, height, format);
    // Qt's own row length: whole 32-bit words.
    const qsizetype line = ((qsizetype(width) * depth + 31) >> 5) << 2;
    const std::size_t bytes = std::size_t(line) * std::size_t(height);
    if (bytes < kLargeBlockBytes || line > std::numeric_limits<int>::max())
        return QImage(width, height, format);
    void* p = AllocatePixelBlock(bytes);
    if (!p)
        return QImage();
    auto* block = new TPictureBlock{p, bytes};
    QImage picture(static_cast<uchar*>(p), width, height, line, format, freePictureBlock, block);
    if (picture.isNull()) {
        freePictureBlock(block);
        return QImage();
    }
    return picture;
}

}  // namespace ormica
