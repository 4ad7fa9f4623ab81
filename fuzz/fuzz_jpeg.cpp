// The JPEG decoder with its limits on size, scans and memory.
#include "core/engine/image_error.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ormica::fuzz::loadAsTheProgramDoes(data, size, ".jpg", &ormica::TLoadSaveImage::LoadJpeg);
    return 0;
}
