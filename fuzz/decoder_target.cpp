// One decoder on its own. Built once per decoder, KELPRA_FUZZ_DECODER naming its function.
#include <cstdint>
#include <cstdlib>
#include <new>

#include "codecs/picture_decoder.h"
#include "codecs/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelpra::TBitmap bmp;
  try {
    const kelpra::DecodeResult result = kelpra::KELPRA_FUZZ_DECODER({data, size}, bmp);
    if (result.status == kelpra::DecodeResult::Status::kDecoded) {
      // A decoded picture is never empty and never past the limits.
      if (bmp.Empty() || bmp.Width() > kelpra::kMaxPictureSide ||
          bmp.Height() > kelpra::kMaxPictureSide ||
          std::int64_t(bmp.Width()) * bmp.Height() > kelpra::kMaxPicturePixels) {
        std::abort();
      }
    } else if (result.status == kelpra::DecodeResult::Status::kBroken && result.problem.empty()) {
      std::abort();  // every refusal says why
    }
  } catch (const std::bad_alloc&) {
    // Only an allocation can fail this way; LoadFile turns it into a message.
  }
  return 0;
}
