// The splash picture loaded on a worker thread from the start of the program, while the windows are being made.
#pragma once
#include <memory>
#include <string>
#include <thread>

#include <windows.h>

#include "core/settings.h"
#include "splash/picture.h"

namespace lumivex::pictures {

class PicturePrefetch {
 public:
  // Nothing loaded ahead: every take gives null.
  PicturePrefetch() = default;
  // Starts loading the picture that the settings file at `settingsPath`, read through `settings`, names (a bitmap,
  // a JPEG or a PNG; nothing else is tried) and decoding the part of it that the desktop shows at the settings'
  // placement. Does nothing when the settings file is missing. Any failure leaves nothing behind: the show
  // sequence meets it again and reports it.
  PicturePrefetch(const std::wstring& settingsPath, std::unique_ptr<core::Profile> settings);
  ~PicturePrefetch();  // waits for the loading to end
  PicturePrefetch(const PicturePrefetch&) = delete;
  PicturePrefetch& operator=(const PicturePrefetch&) = delete;

  // Waits for the loading to end and hands over its picture when it is of `path` and that file is unchanged since
  // it was read; otherwise gives null. Either way the prefetched picture is given up, as by discard.
  std::unique_ptr<Picture> take(const std::wstring& path);
  void discard();

 private:
  void load();
  void finish();

  std::unique_ptr<core::Profile> settings_;
  std::wstring programFolder_;
  std::wstring path_;
  WIN32_FILE_ATTRIBUTE_DATA file_{};
  std::unique_ptr<Picture> picture_;
  std::thread worker_;
};

}  // namespace lumivex::pictures
