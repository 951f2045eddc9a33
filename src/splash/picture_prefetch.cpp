// The splash picture loaded on a worker thread while the main thread makes the program's windows.
//
// Making the windows keeps the main thread busy with the window system; reading the picture
// file and decoding what the desktop shows need next to none of it, so with a second core, or a disk slow at logon,
// that work comes off the path to the picture on screen. A changed file, or another picture chosen in the
// meantime, simply makes the show sequence load the file itself, so what the user sees never depends on the prefetch.
#include "splash/picture_prefetch.h"

#include <algorithm>
#include <cstdint>

#include "core/geometry.h"
#include "core/paths.h"
#include "core/placement.h"
#include "core/settings_keys.h"
#include "ui/monitors.h"

namespace lumivex::pictures {
namespace {

bool fileData(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return !path.empty() && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
         !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool sameFile(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
  return a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
         CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// The part of a `width` x `height` picture that the monitors show, in picture coordinates, where the splash window
// places itself: centred on the primary monitor (placement 0), or at the saved position kept on some monitor.
RECT shownPart(core::Profile& ini, core::Settings& place, int width, int height) {
  const core::Monitors monitors = ui::monitors();
  for (const core::SettingsKey* key : {&core::keys::left, &core::keys::top, &core::keys::placement})
    core::readSetting(ini, *key, place);
  const core::Point at = core::splashOrigin(width, height, monitors, place.placement == core::kCentred,
                                            {place.left, place.top});
  const core::Rect shown = core::shownPart({at.x, at.y, at.x + width, at.y + height}, monitors);
  if (shown.empty()) return RECT{};
  return RECT{shown.left - at.x, shown.top - at.y, shown.right - at.x, shown.bottom - at.y};
}

}  // namespace

PicturePrefetch::PicturePrefetch(const std::wstring& settingsPath, std::unique_ptr<core::Profile> settings) {
  WIN32_FILE_ATTRIBUTE_DATA file{};
  if (!fileData(settingsPath, file)) return;  // a first run shows no splash picture
  settings_ = std::move(settings);
  programFolder_ = core::programFolderOf(settingsPath);  // the settings file lies beside the program
  worker_ = std::thread([this] { load(); });
}

PicturePrefetch::~PicturePrefetch() { finish(); }

void PicturePrefetch::load() {
  try {
    core::Profile& ini = *settings_;
    core::Settings wanted;  // a missing key stands for its first-run value, as a load reads it
    core::readSetting(ini, core::keys::picturePath, wanted);
    path_ = core::resolveInFolder(programFolder_, wanted.picturePath);
    if (Picture::readsAsPixels(path_) && fileData(path_, file_)) {
      picture_ = Picture::fromFile(path_);
      picture_->prepare(shownPart(ini, wanted, picture_->width(), picture_->height()));
    }
  } catch (...) {
    picture_.reset();
  }
  settings_.reset();
}

void PicturePrefetch::finish() {
  if (worker_.joinable()) worker_.join();
}

std::unique_ptr<Picture> PicturePrefetch::take(const std::wstring& path) {
  finish();
  std::unique_ptr<Picture> picture = std::move(picture_);
  WIN32_FILE_ATTRIBUTE_DATA now{};
  if (!picture || path_ != path || !fileData(path, now) || !sameFile(now, file_)) return nullptr;
  return picture;
}

void PicturePrefetch::discard() {
  finish();
  picture_.reset();
}

}  // namespace lumivex::pictures
