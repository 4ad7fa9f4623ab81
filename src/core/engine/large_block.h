#pragma once

#include <QImage>
#include <cstddef>

namespace ormica {

// Blocks of this size or more are photographs' pixels: worth huge pages (a
// fresh 72 MB picture then costs a few dozen page faults instead of eighteen
// thousand), and worth keeping for the next picture once freed.
inline constexpr std::size_t kLargeBlockBytes = std::size_t(4) << 20;

// Pixel memory. Pictures come and go in pairs (a picture and its array, a
// source and its target), and on a large picture the system's zeroing of
// fresh pages costs more than most operations; so a freed large block is kept
// (two at most) for the next one of about its size. nullptr when out of memory.
void* AllocatePixelBlock(std::size_t bytes);
// `bytes` as it was asked for.
void FreePixelBlock(void* p, std::size_t bytes);
// Returns the kept blocks to the system.
void ReleaseKeptPixelBlocks();

// A new picture whose pixels are such a block; null when out of memory.
QImage NewPicture(int width, int height, QImage::Format format);

}  // namespace ormica
