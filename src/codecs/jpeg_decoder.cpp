// JPEG through libjpeg: full size, the accurate integer DCT, 24-bit output from colour, grey and
// CMYK pictures. libjpeg reports errors by calling error_exit, which must not return: it
// longjmps back into RunGuarded, the only function that calls setjmp, and the steps it runs
// hold no C++ objects, so no destructor is ever skipped.
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include "codecs/picture_decoder.h"

#include <jerror.h>
#include <jpeglib.h>

namespace kelpra {

namespace {

// More scans than any encoder writes; each scan makes libjpeg pass over the whole picture, so
// thousands of tiny scans would take minutes.
constexpr int kMaxScans = 256;
// libjpeg's own working memory: a progressive picture keeps all its coefficients, 2 bytes a
// sample; this covers the largest picture Kelpra shows with chroma subsampled 2x2.
constexpr long kMaxWorkingMemory = 1L << 30;

struct JpegSession {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errorManager{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump;
  bool tooManyScans = false;
  bool readingHeaders = true;  // until jpeg_read_header has found the first scan
  char message[JMSG_LENGTH_MAX] = {};
  int messageCode = 0;
  std::span<const std::uint8_t> data;
  TBitmap* out = nullptr;
  JSAMPLE* cmykRow = nullptr;  // owned by the caller's vector

  JpegSession() = default;
  JpegSession(const JpegSession&) = delete;
  JpegSession& operator=(const JpegSession&) = delete;
  ~JpegSession() { jpeg_destroy_decompress(&info); }
};

JpegSession& SessionOf(j_common_ptr info) {
  return *reinterpret_cast<JpegSession*>(info->client_data);
}

[[noreturn]] void ErrorExit(j_common_ptr info) {
  JpegSession& session = SessionOf(info);
  session.messageCode = info->err->msg_code;
  info->err->format_message(info, session.message);
  std::longjmp(session.jump, 1);
}

// Notes about the headers lose nothing of the picture, and neither do stray bytes between
// header markers, which some writers leave.
bool AboutHeaders(int code, bool readingHeaders) {
  return code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC ||
         (code == JWRN_EXTRANEOUS_DATA && readingHeaders);
}

// Warnings about the picture data (a premature end, corrupt or skipped entropy-coded bytes, a bad
// progression) end the decoding: a damaged picture is an error, not a picture with grey filler.
void EmitMessage(j_common_ptr info, int level) {
  if (level >= 0 || AboutHeaders(info->err->msg_code, SessionOf(info).readingHeaders))
    return;
  info->err->error_exit(info);
}

void CheckScanCount(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    SessionOf(info).tooManyScans = true;
    info->err->msg_code = JERR_UNKNOWN_MARKER;
    info->err->error_exit(info);
  }
}

void Create(JpegSession& s) {
  jpeg_create_decompress(&s.info);
  s.info.mem->max_memory_to_use = kMaxWorkingMemory;
  s.info.progress = &s.progress;
  jpeg_mem_src(&s.info, s.data.data(), static_cast<unsigned long>(s.data.size()));
}

void ReadHeader(JpegSession& s) {
  jpeg_read_header(&s.info, TRUE);
  s.info.dct_method = JDCT_ISLOW;
  s.info.scale_num = 1;
  s.info.scale_denom = 1;
  s.info.do_fancy_upsampling = TRUE;
  s.readingHeaders = false;
  const bool cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
  s.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
}

void Start(JpegSession& s) {
  jpeg_start_decompress(&s.info);
}

std::uint8_t Product(unsigned a, unsigned b) {
  return std::uint8_t((a * b + 127) / 255);
}

void ReadRows(JpegSession& s) {
  TBitmap& out = *s.out;
  // Adobe writes CMYK inverted (255 is no ink); other writers store ink amounts.
  const bool inverted = s.info.saw_Adobe_marker;
  while (s.info.output_scanline < s.info.output_height) {
    const int y = int(s.info.output_scanline);
    JSAMPROW row = s.cmykRow ? s.cmykRow : out.ScanLine(y);
    jpeg_read_scanlines(&s.info, &row, 1);
    if (!s.cmykRow)
      continue;
    std::uint8_t* dst = out.ScanLine(y);
    for (JDIMENSION x = 0; x < s.info.output_width; ++x) {
      const JSAMPLE* ink = s.cmykRow + 4 * x;
      const unsigned k = inverted ? ink[3] : 255 - ink[3];
      for (int c = 0; c < 3; ++c) {
        dst[3 * x + 2 - c] = Product(inverted ? ink[c] : 255 - ink[c], k);
      }
    }
  }
  jpeg_finish_decompress(&s.info);
}

bool RunGuarded(JpegSession& s, void (*step)(JpegSession&)) {
  if (setjmp(s.jump))
    return false;
  step(s);
  return true;
}

DecodeResult Failure(const JpegSession& s) {
  if (s.tooManyScans) {
    return DecodeResult::Broken("the JPEG data has more than " + std::to_string(kMaxScans) +
                                " scans");
  }
  switch (s.messageCode) {
    case JERR_BAD_PRECISION:
      // 12 bits is a valid JPEG precision that this libjpeg build cannot decode.
      if (s.info.data_precision == 12) {
        return DecodeResult::Broken(
            "the JPEG picture has 12-bit samples; only 8-bit JPEG pictures are supported");
      }
      break;
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
      return DecodeResult::Broken("the JPEG data is truncated");
    case JERR_OUT_OF_MEMORY:
      throw std::bad_alloc();
    case JERR_IMAGE_TOO_BIG: {
      const std::string problem = PictureSizeProblem(s.info.image_width, s.info.image_height);
      return DecodeResult::Broken(
          !problem.empty() ? problem
                           : "the picture is too large (" + std::to_string(s.info.image_width) +
                                 " x " + std::to_string(s.info.image_height) +
                                 " pixels; a JPEG picture can have at most " +
                                 std::to_string(JPEG_MAX_DIMENSION) + " per side)");
    }
    case JERR_NO_BACKING_STORE:
      return DecodeResult::Broken("the JPEG picture needs more than " +
                                  std::to_string(kMaxWorkingMemory >> 20) +
                                  " MB of working memory");
    default:
      break;
  }
  return DecodeResult::Broken(std::string("the JPEG data is damaged (") + s.message + ")");
}

}  // namespace

bool HasJpegSignature(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

// The size may come after metadata of any length: the largest picture allowed, whose scans, for
// noise at the highest quality in four components, stay under 12 bytes a pixel.
std::uint64_t MostJpegBytes(std::span<const std::uint8_t>) {
  return MostBytesForAnySize(12);
}

DecodeResult DecodeJpeg(std::span<const std::uint8_t> data, TBitmap& out) {
  if (!HasJpegSignature(data))
    return DecodeResult::NotThisFormat();
  JpegSession s;
  s.info.err = jpeg_std_error(&s.errorManager);
  s.errorManager.error_exit = ErrorExit;
  s.errorManager.emit_message = EmitMessage;
  s.info.client_data = &s;
  s.progress.progress_monitor = CheckScanCount;
  s.data = data;
  if (!RunGuarded(s, Create) || !RunGuarded(s, ReadHeader))
    return Failure(s);
  const std::string sizeProblem = PictureSizeProblem(s.info.image_width, s.info.image_height);
  if (!sizeProblem.empty())
    return DecodeResult::Broken(sizeProblem);
  if (!RunGuarded(s, Start))
    return Failure(s);
  if (s.info.output_components != (s.info.out_color_space == JCS_CMYK ? 4 : 3)) {
    return DecodeResult::Broken("the JPEG colour format is not supported");
  }
  TBitmap picture(int(s.info.output_width), int(s.info.output_height), pf24bit);
  std::vector<JSAMPLE> cmykRow;
  if (s.info.out_color_space == JCS_CMYK) {
    cmykRow.resize(std::size_t(s.info.output_width) * 4);
    s.cmykRow = cmykRow.data();
  }
  s.out = &picture;
  if (!RunGuarded(s, ReadRows))
    return Failure(s);
  out = std::move(picture);
  return DecodeResult::Decoded();
}

}  // namespace kelpra
