// JPEG pictures: header read at load, pixels decoded on demand, whole or by region.
#include "core/jpeg_decoder.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>

#include <jerror.h>
#include <jpeglib.h>

#include "core/picture_limits.h"

namespace lumivex::core {
namespace {

// Progressive files may repeat scans without end; real ones have a few dozen. Every scan is a pass over the
// whole picture, even one with no data left, so large pictures get fewer: about kScanPixelBudget pixels' worth,
// but never fewer than kMinScanLimit.
constexpr int kMaxScans = 1000;
constexpr int kMinScanLimit = 100;
constexpr uint64_t kScanPixelBudget = uint64_t{1} << 33;
// Ceiling for the library's own buffers (the whole-image coefficient store of a
// progressive file); enough for the largest picture accepted in three channels.
constexpr long kMaxWorkMemory = 1L << 30;
// Columns decoded beyond each side of a region. A cropped row is upsampled as if
// its ends were the picture's edges, which changes the outermost pixel or two; and
// when a progressive file lacks coefficients, the library smooths each block from
// the DC values of two blocks to either side, taking the left end of a cropped row
// as the edge too. A block is at most 32 pixels wide (4:1 subsampling).
constexpr JDIMENSION kCropMargin = 64;

struct Region {
  int x, y, w, h;
};

// Everything one decoder needs. It holds only plain data, because an error jumps
// straight out of the library through the frames that use it.
struct Session {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  const uint8_t* data;
  size_t size;
  JDIMENSION fullWidth;  // output_width before any crop
  bool cropped;          // a kept decoder's last pass was cropped
  Region region;
  JSAMPLE* row;  // one output row of the full width
  uint8_t* out;  // region.w * region.h * 4 bytes
};

Session* sessionOf(j_common_ptr cinfo) { return static_cast<Session*>(cinfo->client_data); }

[[noreturn]] void jumpOut(j_common_ptr cinfo) { std::longjmp(sessionOf(cinfo)->jump, 1); }

void ignoreMessage(j_common_ptr, int) {}
void ignoreOutput(j_common_ptr) {}

int scanLimit(const jpeg_decompress_struct& d) {
  const uint64_t pixels = uint64_t{d.image_width} * d.image_height;
  if (pixels == 0) return kMaxScans;
  return static_cast<int>(std::clamp<uint64_t>(kScanPixelBudget / pixels, kMinScanLimit, kMaxScans));
}

void limitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > scanLimit(*d)) {
    cinfo->err->msg_code = JERR_BAD_PROGRESSION;
    cinfo->err->error_exit(cinfo);
  }
}

void prepare(Session& s, const std::vector<uint8_t>& bytes) {
  s.cinfo.err = jpeg_std_error(&s.err);
  s.err.error_exit = jumpOut;
  s.err.emit_message = ignoreMessage;
  s.err.output_message = ignoreOutput;
  s.cinfo.client_data = &s;
  s.progress.progress_monitor = limitScans;
  s.data = bytes.data();
  s.size = bytes.size();
}

// Runs a step with the library's errors turned into a false result. Nothing
// here or in the step may own resources: the jump skips their destructors.
bool runGuarded(Session& s, void (*step)(Session&)) {
  if (setjmp(s.jump) != 0) return false;
  step(s);
  return true;
}

// Also safe for a session whose decompressor was never created (all zero).
void destroy(Session* s) {
  jpeg_destroy_decompress(&s->cinfo);
  delete s;
}
using SessionPtr = std::unique_ptr<Session, decltype(&destroy)>;

SessionPtr newSession(const std::vector<uint8_t>& bytes) {
  SessionPtr s(new Session{}, destroy);
  prepare(*s, bytes);
  return s;
}

void openFile(Session& s) {
  jpeg_create_decompress(&s.cinfo);
  s.cinfo.mem->max_memory_to_use = kMaxWorkMemory;
  s.cinfo.progress = &s.progress;
  jpeg_mem_src(&s.cinfo, s.data, static_cast<unsigned long>(s.size));
  jpeg_read_header(&s.cinfo, TRUE);
}

void chooseOutput(Session& s) {
  const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
  s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
}

uint8_t mulDiv255(unsigned a, unsigned b) { return static_cast<uint8_t>((a * b + 127) / 255); }

// Copies one decoded row's wanted columns out as B, G, R, 0 (the library sets
// the fourth byte of its B, G, R, X rows to 255).
void copyRow(const Session& s, const JSAMPLE* src, uint8_t* dst) {
  const int n = s.region.w;
  if (s.cinfo.out_color_space != JCS_CMYK) {
    for (int i = 0; i < n; ++i, src += 4, dst += 4) {
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
      dst[3] = 0;
    }
    return;
  }
  // Files with an Adobe marker (Photoshop and most others) store CMYK inverted.
  const bool inverted = s.cinfo.saw_Adobe_marker;
  for (int i = 0; i < n; ++i, src += 4, dst += 4) {
    unsigned c = src[0], m = src[1], y = src[2], k = src[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    dst[0] = mulDiv255(y, k);
    dst[1] = mulDiv255(m, k);
    dst[2] = mulDiv255(c, k);
    dst[3] = 0;
  }
}

// Reads the region's rows of an output pass that has just started.
void readRegion(Session& s) {
  const Region& r = s.region;
  JDIMENSION spanLeft = static_cast<JDIMENSION>(r.x) > kCropMargin ? r.x - kCropMargin : 0;
  const JDIMENSION spanRight = std::min<JDIMENSION>(s.fullWidth, static_cast<JDIMENSION>(r.x + r.w) + kCropMargin);
  JDIMENSION spanWidth = spanRight - spanLeft;
  if (spanWidth < s.fullWidth || s.cropped) {
    // Each crop narrows the pass's output width, and a kept decoder keeps it, so the full width comes back first.
    // A crop to the full width is no change to the library, which would then keep the last pass's columns; with
    // one column of slack it sets them afresh for the whole width.
    s.cinfo.output_width = s.fullWidth + (spanWidth == s.fullWidth ? 1 : 0);
    jpeg_crop_scanline(&s.cinfo, &spanLeft, &spanWidth);
    s.cropped = spanWidth < s.fullWidth;
  }
  const size_t firstColumn = (static_cast<size_t>(r.x) - spanLeft) * static_cast<size_t>(s.cinfo.output_components);

  if (r.y > 0) jpeg_skip_scanlines(&s.cinfo, static_cast<JDIMENSION>(r.y));
  const size_t outStride = static_cast<size_t>(r.w) * 4;
  JSAMPROW rows[1] = {s.row};
  for (int line = 0; line < r.h; ++line) {
    if (jpeg_read_scanlines(&s.cinfo, rows, 1) != 1) {
      s.err.msg_code = JERR_INPUT_EOF;
      s.err.error_exit(reinterpret_cast<j_common_ptr>(&s.cinfo));
    }
    copyRow(s, s.row + firstColumn, s.out + outStride * static_cast<size_t>(line));
  }
}

// One pass over the file for one region.
void decodeOnce(Session& s) {
  openFile(s);
  chooseOutput(s);
  jpeg_start_decompress(&s.cinfo);
  s.fullWidth = s.cinfo.output_width;
  readRegion(s);
}

// Reads every scan into the library's coefficient store, which then serves any number of output passes.
void readAllScans(Session& s) {
  openFile(s);
  chooseOutput(s);
  s.cinfo.buffered_image = TRUE;
  jpeg_start_decompress(&s.cinfo);
  s.fullWidth = s.cinfo.output_width;
  for (;;) {
    limitScans(reinterpret_cast<j_common_ptr>(&s.cinfo));
    const int got = jpeg_consume_input(&s.cinfo);
    if (got == JPEG_REACHED_EOI || got == JPEG_SUSPENDED) break;
  }
}

// An output pass over the kept coefficients of every scan, as a single pass over the file would make it.
void decodeKept(Session& s) {
  jpeg_start_output(&s.cinfo, s.cinfo.input_scan_number);
  readRegion(s);
  jpeg_finish_output(&s.cinfo);
}

}  // namespace

// The decoder of a file of several scans, kept with all of them read.
struct JpegPicture::Kept {
  std::mutex lock;
  SessionPtr session{nullptr, destroy};
};

JpegError::JpegError(int code) : std::runtime_error("JPEG error #" + std::to_string(code)), code_(code) {}

JpegPicture::JpegPicture(std::vector<uint8_t> fileBytes) : bytes_(std::move(fileBytes)) {
  // The library takes the length as unsigned long, 32 bits on Windows.
  if (bytes_.size() > ULONG_MAX) throw JpegError(JERR_IMAGE_TOO_BIG);
  const SessionPtr s = newSession(bytes_);
  if (!runGuarded(*s, openFile)) throw JpegError(s->err.msg_code);
  if (!pictureSizeAcceptable(s->cinfo.image_width, s->cinfo.image_height)) throw JpegError(JERR_IMAGE_TOO_BIG);
  width_ = static_cast<int>(s->cinfo.image_width);
  height_ = static_cast<int>(s->cinfo.image_height);
  if (jpeg_has_multiple_scans(&s->cinfo)) kept_ = std::make_unique<Kept>();
}

JpegPicture::~JpegPicture() = default;
JpegPicture::JpegPicture(JpegPicture&&) noexcept = default;
JpegPicture& JpegPicture::operator=(JpegPicture&&) noexcept = default;

namespace {

// The buffer for a region of `w` x `h` pixels.
PixelBuffer pixelBuffer(int w, int h) {
  PixelBuffer out;
  out.width = w;
  out.height = h;
  try {
    out.bgrx.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  } catch (const std::bad_alloc&) {
    throw JpegError(JERR_OUT_OF_MEMORY);
  }
  return out;
}

}  // namespace

PixelBuffer JpegPicture::decodeRegion(int x, int y, int w, int h) const {
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, width_);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, height_);
  if (right <= left || bottom <= top) return PixelBuffer{};

  PixelBuffer out = pixelBuffer(static_cast<int>(right - left), static_cast<int>(bottom - top));
  std::vector<JSAMPLE> row(static_cast<size_t>(width_) * 4);
  const Region region{static_cast<int>(left), static_cast<int>(top), out.width, out.height};
  if (!kept_) {
    const SessionPtr s = newSession(bytes_);
    s->region = region;
    s->row = row.data();
    s->out = out.bgrx.data();
    if (!runGuarded(*s, decodeOnce)) throw JpegError(s->err.msg_code);
    return out;
  }

  const std::lock_guard<std::mutex> hold(kept_->lock);
  if (!kept_->session) {
    SessionPtr s = newSession(bytes_);
    if (!runGuarded(*s, readAllScans)) throw JpegError(s->err.msg_code);
    kept_->session = std::move(s);
  }
  Session& s = *kept_->session;
  s.region = region;
  s.row = row.data();
  s.out = out.bgrx.data();
  if (!runGuarded(s, decodeKept)) {
    const int code = s.err.msg_code;
    kept_->session.reset();  // left in the middle of a pass
    throw JpegError(code);
  }
  return out;
}

PixelBuffer JpegPicture::decodeAll() const {
  PixelBuffer out = pixelBuffer(width_, height_);
  std::vector<JSAMPLE> row(static_cast<size_t>(width_) * 4);
  const SessionPtr s = newSession(bytes_);
  s->region = Region{0, 0, width_, height_};
  s->row = row.data();
  s->out = out.bgrx.data();
  if (!runGuarded(*s, decodeOnce)) throw JpegError(s->err.msg_code);
  return out;
}

void JpegPicture::releaseKeptScans() {
  if (!kept_) return;
  const std::lock_guard<std::mutex> hold(kept_->lock);
  kept_->session.reset();
}

}  // namespace lumivex::core
