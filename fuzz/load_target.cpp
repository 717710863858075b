// LoadFile as a whole, on the bytes a file would hold.
#include <cstdint>
#include <cstdlib>

#include "codecs/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelpra::TBitmap bmp;
  try {
    kelpra::DecodePicture({data, size}, "fuzz", bmp);
    if (bmp.PixelFormat() != kelpra::pf24bit || bmp.Empty())
      std::abort();
  } catch (const kelpra::PictureError& error) {
    if (error.what()[0] == '\0')
      std::abort();
  }
  return 0;
}
