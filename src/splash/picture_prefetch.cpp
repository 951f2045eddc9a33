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
#include "ui/monitors.h"

namespace lumivex::pictures {
namespace {

struct Job {
  std::unique_ptr<core::Profile> settings;
  std::wstring programFolder;
  std::wstring path;
  WIN32_FILE_ATTRIBUTE_DATA file{};
  std::unique_ptr<Picture> picture;
};

Job g_job;
HANDLE g_worker = nullptr;

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
RECT shownPart(core::Profile& ini, int width, int height) {
  const core::Monitors monitors = ui::monitors();
  const core::Point stored{core::readInteger(ini, "Window", "Left", 0), core::readInteger(ini, "Window", "Top", 0)};
  const core::Point at =
      core::splashOrigin(width, height, monitors, core::readInteger(ini, "option", "winpos", 0) == 0, stored);
  const core::Rect shown = core::shownPart({at.x, at.y, at.x + width, at.y + height}, monitors);
  if (shown.empty()) return RECT{};
  return RECT{shown.left - at.x, shown.top - at.y, shown.right - at.x, shown.bottom - at.y};
}

DWORD WINAPI load(void*) {
  try {
    core::Profile& ini = *g_job.settings;
    g_job.path = core::resolveInFolder(g_job.programFolder, core::readText(ini, "pic", "picture", L""));
    if (!Picture::readsAsPixels(g_job.path) || !fileData(g_job.path, g_job.file)) {
      g_job.settings.reset();
      return 0;
    }
    g_job.picture = Picture::fromFile(g_job.path);
    g_job.picture->prepare(shownPart(ini, g_job.picture->width(), g_job.picture->height()));
  } catch (...) {
    g_job.picture.reset();
  }
  g_job.settings.reset();
  return 0;
}

void waitForWorker() {
  if (!g_worker) return;
  WaitForSingleObject(g_worker, INFINITE);
  CloseHandle(g_worker);
  g_worker = nullptr;
}

// Waits for the worker, then gives up what it left.
Job finish() {
  waitForWorker();
  Job done = std::move(g_job);
  g_job = Job{};
  return done;
}

}  // namespace

void prefetch(const std::wstring& settingsPath, std::unique_ptr<core::Profile> settings) {
  discardPrefetched();
  WIN32_FILE_ATTRIBUTE_DATA file{};
  if (!fileData(settingsPath, file)) return;  // a first run shows no splash picture
  g_job.settings = std::move(settings);
  g_job.programFolder = core::programFolderOf(settingsPath);  // the settings file lies beside the program
  g_worker = CreateThread(nullptr, 0, load, nullptr, 0, nullptr);
}

std::unique_ptr<Picture> takePrefetched(const std::wstring& path) {
  Job done = finish();
  WIN32_FILE_ATTRIBUTE_DATA now{};
  if (!done.picture || done.path != path || !fileData(path, now) || !sameFile(now, done.file)) return nullptr;
  return std::move(done.picture);
}

void discardPrefetched() { finish(); }

void waitForPrefetch() { waitForWorker(); }

}  // namespace lumivex::pictures
