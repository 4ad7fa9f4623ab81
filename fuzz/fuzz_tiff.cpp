// TIFF files through Qt's plugin, with our size limit and the change to 24 bits.
#include "core/engine/image_error.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ormica::fuzz::loadAsTheProgramDoes(data, size, ".tif", &ormica::TLoadSaveImage::LoadFile);
    return 0;
}
