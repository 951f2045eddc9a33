// The splash picture holder: bitmaps, JPEG and PNG pictures as pixels (JPEG decoded tile by tile as paints need them),
// icons and metafiles through the window system.
#include "splash/picture.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "core/bmp_reader.h"
#include "core/error_text.h"
#include "core/jpeg_decoder.h"
#include "core/metafile_check.h"
#include "core/paths.h"
#include "core/picture_limits.h"
#include "core/pixels.h"
#include "core/png_decoder.h"
#include "splash/translucent_picture.h"
#include "ui/handles.h"
#include "ui/message_box.h"
#include "ui/scaling.h"

namespace lumivex::pictures {
namespace {

std::vector<uint8_t> readWholeFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw ui::AppError(L"ファイル " + path + L" を開けません");
  std::vector<uint8_t> bytes;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) != FALSE && size.QuadPart >= 0 && size.QuadPart < (1LL << 31);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() ||
         (ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) != FALSE && got == bytes.size());
  }
  CloseHandle(f);
  if (!ok) throw ui::AppError(L"ファイル " + path + L" を読み込めません");
  return bytes;
}

bool sameText(const std::wstring& a, const wchar_t* b) {
  return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Copies `w` x `h` pixels from (`sx`, `sy`) of a decoded buffer to (`dx`, `dy`) of `dc`. Only the rows in use are
// described to the window system, as a top-down bitmap of their own, so the source origin is never ambiguous.
void blitPixels(HDC dc, const core::PixelBuffer& px, int sx, int sy, int w, int h, int dx, int dy) {
  if (w <= 0 || h <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = px.width;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, dx, dy, w, h, sx, 0, w, h, px.row(sy), &bi, DIB_RGB_COLORS, SRCCOPY);
}

RECT clipToPicture(const RECT& area, int width, int height) {
  return RECT{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, width),
              std::min<LONG>(area.bottom, height)};
}

class BitmapPicture : public Picture {
 public:
  explicit BitmapPicture(core::PixelBuffer pixels)
      : Picture(pixels.width, pixels.height), pixels_(std::move(pixels)) {}

  bool draw(HDC dc, POINT origin, const RECT& area) override {
    const RECT r = clipToPicture(area, width(), height());
    blitPixels(dc, pixels_, r.left, r.top, r.right - r.left, r.bottom - r.top, origin.x + r.left, origin.y + r.top);
    return true;
  }

 private:
  core::PixelBuffer pixels_;
};

// A JPEG picture decoded in square tiles: a decode covers, in one pass, the box around the tiles a draw needs that
// are not decoded yet, and keeps the result for later draws. After the first draw a window may have these decodes
// made on a worker thread, so that its paints never wait for the decoder (see notifyWhenReady).
class JpegPicture : public Picture {
 public:
  explicit JpegPicture(core::JpegPicture jpeg)
      : Picture(jpeg.width(), jpeg.height()),
        jpeg_(std::move(jpeg)),
        columns_((width() + kTile - 1) / kTile),
        rows_((height() + kTile - 1) / kTile),
        tileBlock_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), kMissing) {}

  ~JpegPicture() override {
    {
      const std::lock_guard<std::mutex> hold(lock_);
      stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  bool draw(HDC dc, POINT origin, const RECT& area) override {
    if (failed()) return false;
    const RECT r = clipToPicture(area, width(), height());
    if (r.right <= r.left || r.bottom <= r.top) return true;
    const Tiles wanted{r.left / kTile, (r.right - 1) / kTile, r.top / kTile, (r.bottom - 1) / kTile};

    std::unique_lock<std::mutex> hold(lock_);
    if (!workerFailure_.empty()) return fail(workerFailure_);
    const bool later = window_ && drawn_;
    drawn_ = true;
    if (later) {
      queueMissing(wanted);
    } else {
      hold.unlock();
      try {
        decodeMissing(wanted);
      } catch (const core::JpegError& e) {
        hold.lock();
        return fail(core::jpegErrorText(e));
      }
      hold.lock();
    }

    for (int ty = wanted.y0; ty <= wanted.y1; ++ty) {
      for (int tx = wanted.x0; tx <= wanted.x1;) {
        const int b = tileBlock_[index(tx, ty)];
        int end = tx + 1;
        while (end <= wanted.x1 && tileBlock_[index(end, ty)] == b) ++end;
        if (b >= 0) {
          const Block& block = blocks_[static_cast<size_t>(b)];
          const RECT run{std::max<LONG>(r.left, tx * kTile), std::max<LONG>(r.top, ty * kTile),
                         std::min<LONG>(r.right, end * kTile), std::min<LONG>(r.bottom, (ty + 1) * kTile)};
          blitPixels(dc, block.pixels, run.left - block.x, run.top - block.y, run.right - run.left,
                     run.bottom - run.top, origin.x + run.left, origin.y + run.top);
        }
        tx = end;
      }
    }
    return true;
  }

  void prepare(const RECT& area) override {
    const RECT r = clipToPicture(area, width(), height());
    if (failed() || r.right <= r.left || r.bottom <= r.top) return;
    try {
      decodeMissing(Tiles{r.left / kTile, (r.right - 1) / kTile, r.top / kTile, (r.bottom - 1) / kTile});
    } catch (const core::JpegError&) {
    } catch (const std::bad_alloc&) {
    }
  }

  void notifyWhenReady(HWND window, UINT message) override {
    const std::lock_guard<std::mutex> hold(lock_);
    window_ = window;
    message_ = message;
  }

  uint64_t decodedPixels() const override {
    const std::lock_guard<std::mutex> hold(lock_);
    return decoded_;
  }

 private:
  static constexpr int kTile = 128;
  static constexpr int kMissing = -1;
  static constexpr int kQueued = -2;  // missing, and left to the worker
  struct Block {
    int x, y;
    core::PixelBuffer pixels;
  };
  struct Tiles {  // columns x0..x1 and rows y0..y1 of tiles, inclusive
    int x0, x1, y0, y1;
  };

  size_t index(int tx, int ty) const { return static_cast<size_t>(ty) * static_cast<size_t>(columns_) + tx; }

  // Ends the picture: nothing is drawn from then on. Called with lock_ held.
  bool fail(const std::wstring& text) {
    failureText_ = text;
    blocks_.clear();
    std::fill(tileBlock_.begin(), tileBlock_.end(), kMissing);
    requests_.clear();
    return false;
  }

  // Leaves the tiles of `wanted` that are neither decoded nor queued to the worker, which starts at the first
  // need. Called with lock_ held.
  void queueMissing(const Tiles& wanted) {
    bool any = false;
    for (int ty = wanted.y0; ty <= wanted.y1; ++ty)
      for (int tx = wanted.x0; tx <= wanted.x1; ++tx)
        if (int& b = tileBlock_[index(tx, ty)]; b == kMissing) {
          b = kQueued;
          any = true;
        }
    if (!any) return;
    requests_.push_back(wanted);
    if (!worker_.joinable()) worker_ = std::thread([this] { work(); });
    wake_.notify_one();
  }

  // The worker: the latest request first, since that is what the window shows now.
  void work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
      wake_.wait(hold, [this] { return stopping_ || !requests_.empty(); });
      if (stopping_) return;
      const Tiles wanted = requests_.back();
      requests_.pop_back();
      hold.unlock();
      std::wstring failure;
      try {
        decodeMissing(wanted);
      } catch (const core::JpegError& e) {
        failure = core::jpegErrorText(e);
      } catch (const std::bad_alloc&) {
        failure = L"メモリが不足しています";
      }
      hold.lock();
      if (!failure.empty()) {
        workerFailure_ = failure;
        requests_.clear();
      }
      PostMessageW(window_, message_, 0, 0);
    }
  }

  // Decodes, in one pass, the box around the tiles of `wanted` not decoded yet, and keeps it. The decoder runs
  // without lock_, so that draws go on meanwhile. Throws core::JpegError (or std::bad_alloc).
  void decodeMissing(const Tiles& wanted) {
    Tiles m{wanted.x1 + 1, -1, wanted.y1 + 1, -1};
    {
      const std::lock_guard<std::mutex> hold(lock_);
      for (int ty = wanted.y0; ty <= wanted.y1; ++ty)
        for (int tx = wanted.x0; tx <= wanted.x1; ++tx)
          if (tileBlock_[index(tx, ty)] < 0) {
            m.x0 = std::min(m.x0, tx);
            m.x1 = std::max(m.x1, tx);
            m.y0 = std::min(m.y0, ty);
            m.y1 = std::max(m.y1, ty);
          }
    }
    if (m.x1 < 0) return;
    Block block{m.x0 * kTile, m.y0 * kTile, {}};
    block.pixels = jpeg_.decodeRegion(block.x, block.y, (m.x1 + 1 - m.x0) * kTile, (m.y1 + 1 - m.y0) * kTile);

    bool complete = false;
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (!failureText_.empty()) return;
      decoded_ += static_cast<uint64_t>(block.pixels.width) * static_cast<uint64_t>(block.pixels.height);
      const int b = static_cast<int>(blocks_.size());
      blocks_.push_back(std::move(block));
      for (int ty = m.y0; ty <= m.y1; ++ty)
        for (int tx = m.x0; tx <= m.x1; ++tx)
          if (int& t = tileBlock_[index(tx, ty)]; t < 0) {
            t = b;
            ++decodedTiles_;
          }
      complete = decodedTiles_ == tileBlock_.size();
    }
    // With every tile decoded, the coefficients a progressive file keeps for later regions serve nothing more.
    if (complete) jpeg_.releaseKeptScans();
  }

  core::JpegPicture jpeg_;
  const int columns_, rows_;

  mutable std::mutex lock_;  // guards everything below
  std::vector<int> tileBlock_;  // per tile: its block in blocks_, kMissing or kQueued
  std::deque<Block> blocks_;    // a deque, so that blocks stay where draws find them while others are added
  size_t decodedTiles_ = 0;
  uint64_t decoded_ = 0;
  bool drawn_ = false;
  HWND window_ = nullptr;
  UINT message_ = 0;
  std::vector<Tiles> requests_;
  std::wstring workerFailure_;
  bool stopping_ = false;
  std::condition_variable wake_;
  std::thread worker_;
};

class IconPicture : public Picture {
 public:
  IconPicture(ui::IconHandle icon, int width, int height) : Picture(width, height), icon_(std::move(icon)) {}

  static std::unique_ptr<Picture> load(const std::wstring& path) {
    ui::IconHandle icon(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.get(), &info)) throw ui::AppError(L"アイコンイメージが不正です");
    ui::BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(colour ? colour.get() : mask.get(), sizeof(bm), &bm);
    const int w = bm.bmWidth;
    const int h = colour ? bm.bmHeight : bm.bmHeight / 2;
    if (!core::pictureSizeAcceptable(w, h)) throw ui::AppError(L"アイコンイメージが不正です");
    return std::make_unique<IconPicture>(std::move(icon), w, h);
  }

  bool draw(HDC dc, POINT origin, const RECT&) override {
    DrawIconEx(dc, origin.x, origin.y, icon_.get(), width(), height(), 0, nullptr, DI_NORMAL);
    return true;
  }

 private:
  ui::IconHandle icon_;
};

class MetafilePicture : public Picture {
 public:
  MetafilePicture(ui::EnhMetaFileHandle mf, int width, int height) : Picture(width, height), mf_(std::move(mf)) {}

  // A placeable Windows metafile (it starts with the placeable key) or an enhanced metafile, whatever the
  // extension of the two says. The window system plays only records checked beforehand: its players trust the
  // counts and offsets inside records, and a damaged file made them read outside it and crash the program.
  static std::unique_ptr<Picture> load(const std::wstring& path, DWORD trialMs) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
    constexpr size_t kPlaceableHeader = 22;
    auto u16 = [&](size_t at) { return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8); };
    auto s16 = [&](size_t at) { return static_cast<int16_t>(u16(at)); };
    const bool placeable = bytes.size() >= 4 && (u16(0) | uint32_t{u16(2)} << 16) == kPlaceableKey;

    ui::EnhMetaFileHandle mf;
    int w = 0, h = 0;
    if (placeable) {
      if (bytes.size() <= kPlaceableHeader) invalid();
      uint16_t sum = 0;
      for (size_t i = 0; i < 20; i += 2) sum ^= u16(i);
      const int inch = u16(14);
      if (sum != u16(20) || inch == 0) invalid();
      if (!core::windowsMetafileIsSafe(bytes.data() + kPlaceableHeader, bytes.size() - kPlaceableHeader)) invalid();
      const int extX = s16(10) - s16(6), extY = s16(12) - s16(8);
      const int ppi = ui::systemDpi();
      w = MulDiv(extX, ppi, inch);
      h = MulDiv(extY, ppi, inch);
      METAFILEPICT mfp{MM_ANISOTROPIC, MulDiv(extX, 2540, inch), MulDiv(extY, 2540, inch), nullptr};
      mf.reset(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - kPlaceableHeader),
                                  bytes.data() + kPlaceableHeader, nullptr, &mfp));
    } else {
      if (!core::enhancedMetafileIsSafe(bytes.data(), bytes.size())) invalid();
      mf.reset(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
      ENHMETAHEADER header{};
      if (mf && GetEnhMetaFileHeader(mf.get(), sizeof(header), &header)) {
        const int ppi = ui::systemDpi();
        w = MulDiv(header.rclFrame.right - header.rclFrame.left, ppi, 2540);
        h = MulDiv(header.rclFrame.bottom - header.rclFrame.top, ppi, 2540);
      }
    }
    if (!mf || !core::pictureSizeAcceptable(w, h) || !playsInTime(mf.get(), w, h, trialMs)) invalid();
    return std::make_unique<MetafilePicture>(std::move(mf), w, h);
  }

  bool draw(HDC dc, POINT origin, const RECT&) override {
    const RECT r{origin.x, origin.y, origin.x + width(), origin.y + height()};
    PlayEnhMetaFile(dc, mf_.get(), &r);
    return true;
  }

 private:
  [[noreturn]] static void invalid() { throw ui::AppError(L"メタファイルが不正です"); }

  // Plays the metafile once at the picture's size, off the window's thread: records that pass the checks can still
  // keep the player busy for minutes (thousands of ellipses drawn with a very wide pen), which must not freeze the
  // splash window. The trial plays record by record and gives up at the deadline, so that its thread ends soon
  // after a refusal instead of keeping a core busy until the program ends; only a single record still running at
  // the deadline is waited for, on that thread.
  static bool playsInTime(HENHMETAFILE mf, int w, int h, DWORD trialMs) {
    struct Trial {
      HENHMETAFILE mf;
      int w, h;
      ULONGLONG deadline;
    };
    auto* trial = new Trial{CopyEnhMetaFileW(mf, nullptr), w, h, GetTickCount64() + trialMs};
    if (!trial->mf) {
      delete trial;
      return false;
    }
    constexpr DWORD kPlayed = 0, kStopped = 1;
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          const std::unique_ptr<Trial> t(static_cast<Trial*>(p));
          const ui::EnhMetaFileHandle own(t->mf);
          BITMAPINFO bi{};
          bi.bmiHeader = {sizeof(BITMAPINFOHEADER), t->w, t->h, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
          void* bits = nullptr;
          const ui::MemoryDc dc(CreateCompatibleDC(nullptr));
          const ui::BitmapHandle target(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
          if (!dc || !target) return kStopped;
          const ui::SelectGuard select(dc.get(), target.get());
          const RECT r{0, 0, t->w, t->h};
          const bool whole = EnumEnhMetaFile(dc.get(), own.get(), playRecordUntil,
                                             reinterpret_cast<void*>(static_cast<uintptr_t>(t->deadline)), &r) != FALSE;
          return whole && GetTickCount64() < t->deadline ? kPlayed : kStopped;
        },
        trial, 0, nullptr);
    if (!thread) {
      DeleteEnhMetaFile(trial->mf);
      delete trial;
      return false;
    }
    const bool ended = WaitForSingleObject(thread, trialMs) == WAIT_OBJECT_0;
    DWORD result = kStopped;
    const bool played = ended && GetExitCodeThread(thread, &result) && result == kPlayed;
    CloseHandle(thread);
    return played;
  }

  // Plays one record of a trial, or stops the playback once the deadline (a GetTickCount64 time) has come.
  static int CALLBACK playRecordUntil(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int objects,
                                      LPARAM deadline) {
    if (GetTickCount64() >= static_cast<ULONGLONG>(deadline)) return 0;
    PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(objects));
    return 1;
  }

  ui::EnhMetaFileHandle mf_;
};

// A PNG without transparent pixels is drawn like a bitmap; one with them keeps its alpha.
std::unique_ptr<Picture> loadPng(const std::vector<uint8_t>& bytes) {
  core::PngImage image;
  try {
    image = core::decodePng(bytes.data(), bytes.size());
  } catch (const core::PngError& e) {
    throw ui::AppError(core::pngErrorText(e));
  }
  if (!image.hasTransparency()) return std::make_unique<BitmapPicture>(core::withoutAlpha(std::move(image)));
  return std::make_unique<TranslucentPicture>(core::premultiplied(std::move(image)));
}

std::unique_ptr<Picture> loadByExtension(const std::wstring& path, DWORD metafileTrialMs) {
  const std::wstring ext = core::extensionOf(path);
  if (sameText(ext, L"bmp")) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    try {
      return std::make_unique<BitmapPicture>(core::readBmp(bytes.data(), bytes.size()));
    } catch (const core::BmpError&) {
      throw ui::AppError(L"ビットマップイメージが不正です");
    }
  }
  if (sameText(ext, L"jpg") || sameText(ext, L"jpeg")) {
    try {
      return std::make_unique<JpegPicture>(core::JpegPicture(readWholeFile(path)));
    } catch (const core::JpegError& e) {
      throw ui::AppError(core::jpegErrorText(e));
    }
  }
  if (sameText(ext, L"png")) return loadPng(readWholeFile(path));
  if (sameText(ext, L"ico")) return IconPicture::load(path);
  if (sameText(ext, L"wmf") || sameText(ext, L"emf")) return MetafilePicture::load(path, metafileTrialMs);
  throw ui::AppError(L"拡張子 ." + ext + L" の画像形式は処理できません");
}

}  // namespace

bool Picture::readsAsPixels(const std::wstring& path) {
  const std::wstring ext = core::extensionOf(path);
  return sameText(ext, L"bmp") || sameText(ext, L"jpg") || sameText(ext, L"jpeg") || sameText(ext, L"png");
}

std::unique_ptr<Picture> Picture::fromFile(const std::wstring& path, unsigned metafileTrialMs) {
  try {
    return loadByExtension(path, metafileTrialMs);
  } catch (const std::bad_alloc&) {
    throw ui::AppError(L"メモリが不足しています");
  }
}

}  // namespace lumivex::pictures
