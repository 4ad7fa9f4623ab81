// The BMP reader: headers by our own code, pixels by Qt's reader.
#include "core/engine/image_error.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ormica::fuzz::loadAsTheProgramDoes(data, size, ".bmp", &ormica::TLoadSaveImage::LoadBmp);
    return 0;
}
