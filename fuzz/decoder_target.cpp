// One decoder on its own. Built once per decoder, KELPRA_FUZZ_DECODER naming its function.
// With KELPRA_FUZZ_FIX_PNG_CRC, every PNG chunk's CRC is made right first, so mutations reach
// past the CRC checks into libpng's decoding.
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#ifdef KELPRA_FUZZ_FIX_PNG_CRC
#include <zlib.h>
#endif

#include "codecs/picture_decoder.h"
#include "codecs/picture_loader.h"

namespace {

#ifdef KELPRA_FUZZ_FIX_PNG_CRC
std::vector<std::uint8_t> WithRightCrcs(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> png(data, data + size);
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::size_t length = std::size_t(png[at]) << 24 | std::size_t(png[at + 1]) << 16 |
                               std::size_t(png[at + 2]) << 8 | png[at + 3];
    if (length > png.size() - at - 12)
      break;
    const uLong crc = crc32(0, png.data() + at + 4, uInt(length + 4));
    for (int i = 0; i < 4; ++i)
      png[at + 8 + length + i] = std::uint8_t(crc >> (24 - 8 * i));
    at += 12 + length;
  }
  return png;
}
#else
std::vector<std::uint8_t> WithRightCrcs(const std::uint8_t* data, std::size_t size) {
  return {data, data + size};
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* raw, std::size_t rawSize) {
  const std::vector<std::uint8_t> input = WithRightCrcs(raw, rawSize);
  const std::uint8_t* data = input.data();
  const std::size_t size = input.size();
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
