// The kernel text reader, and the convolution behind it: every byte sequence
// is either refused, leaving the caller's kernel as it was, or read as 49
// weights that print and read back unchanged; a kernel the arithmetic accepts
// then filters a small picture to the same bytes in the fast way and by the
// definition.
#include "core/engine/image_error.h"  // fuzz_input.h needs it first
#include "core/filter/filter_tab.h"
#include "core/filter/kernel_file.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ormica;
    static fuzz::QuietSink sink;
    setMessageSink(&sink);
    const QString file = fuzz::writeInput(data, size, ".txt");
    if (file.isEmpty())
        return 0;
    TFilterKernel sentinel;
    sentinel.Weights.fill(-7);
    TFilterKernel kernel = sentinel;
    if (!ReadKernelFile(file, kernel)) {
        if (kernel != sentinel)
            __builtin_trap();
        return 0;
    }
    QByteArray text;
    for (std::int32_t w : kernel.Weights)
        text += QByteArray::number(w) + '\n';
    TFilterKernel again;
    QString why;
    if (!ParseKernelText(text, again, why) || again != kernel)
        __builtin_trap();
    if (!KernelFits(kernel))
        return 0;

    // A picture from the input bytes, odd-sized so that the vector blocks end mid-row.
    TImgTabColor picture;
    picture.setShape(9, 13);
    std::size_t at = 0;
    for (int i = 0; i < picture.height(); ++i)
        for (int j = 0; j < picture.width(); ++j) {
            auto next = [&] { return size ? data[at++ % size] : std::uint8_t(i * 31 + j); };
            picture.row(i)[j] = {next(), next(), next()};
        }
    const std::int32_t sum = *KernelSum(kernel);
    const std::int32_t scale = sum >= 1 ? sum : 1 + std::int32_t(size % 1000);
    TImgTabColor fast, direct;
    if (!FilterTabColor(kernel, scale, picture, fast, nullptr) ||
        !detail::FilterTabColorWith(detail::TConvolution::Direct, kernel, scale, picture, direct, nullptr) ||
        !fast.sameAs(direct))
        __builtin_trap();
    return 0;
}
