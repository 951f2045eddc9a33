// The splash picture holder: a picture file loaded by its extension (bitmap, JPEG, PNG, icon, metafile) and drawn on
// demand.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

namespace lumivex::core {
struct PremultipliedPixels;
}

namespace lumivex::pictures {

class Picture {
 public:
  virtual ~Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Loads the file by its extension, compared without regard to case. Failures raise ui::AppError with the
  // text the error box shows ("拡張子 .%s の画像形式は処理できません", "ビットマップイメージが不正です",
  // "JPEG エラー #%d", "PNG エラー #N: <reason>", ...). A JPEG file only has its header read here; its pixels are
  // decoded when drawn. A PNG is decoded whole here.
  // A metafile's trial playback may take `metafileTrialMs` before its picture is refused.
  static std::unique_ptr<Picture> fromFile(const std::wstring& path, unsigned metafileTrialMs = 1000);
  // Whether the file's extension names a bitmap, a JPEG or a PNG: pictures read into pixels without the window system.
  static bool readsAsPixels(const std::wstring& path);

  int width() const { return width_; }
  int height() const { return height_; }

  // Draws the part `area` (picture coordinates) with the picture's top-left corner at `origin` of `dc`.
  // Returns false when the pixels cannot be produced; failureText() then says why, and nothing is drawn
  // from then on.
  virtual bool draw(HDC dc, POINT origin, const RECT& area) = 0;
  bool failed() const { return !failureText_.empty(); }

  // The pixels with their alpha, premultiplied, for a picture that has transparent pixels (a PNG with an alpha
  // channel or tRNS that some pixel uses); null for every other picture, which is opaque.
  virtual const core::PremultipliedPixels* translucentPixels() const { return nullptr; }
  const std::wstring& failureText() const { return failureText_; }

  // Produces the pixels of `area` (picture coordinates) ahead of the paints that will need them, where that saves
  // work later: a JPEG decodes them. A failure here is no failure of the picture; the paint meets it again.
  virtual void prepare(const RECT& area) { (void)area; }

  // From the second draw on, a draw no longer waits for pixels that are not decoded yet (a JPEG's parts away
  // from the first paint): a worker thread decodes them, the draw leaves their place untouched, and `message` is
  // posted to `window` once they are ready, or once their decoding failed (the next draw then returns false).
  // The first draw still decodes what it needs, so that the picture appears whole. Without a window named here,
  // every draw decodes what it needs.
  virtual void notifyWhenReady(HWND window, UINT message) {
    (void)window;
    (void)message;
  }

  // Pixels decoded so far (JPEG: only the regions that paints have needed; others: the whole picture).
  virtual uint64_t decodedPixels() const { return static_cast<uint64_t>(width_) * static_cast<uint64_t>(height_); }

 protected:
  Picture(int width, int height) : width_(width), height_(height) {}
  std::wstring failureText_;

 private:
  int width_, height_;
};

}  // namespace lumivex::pictures
