// The splash picture loaded on a worker thread from the start of the program, while the windows are being made.
#pragma once
#include <memory>
#include <string>

#include "core/settings.h"
#include "splash/picture.h"

namespace lumivex::pictures {

// Starts loading the picture that the settings file at `settingsPath`, read through `settings`, names (a bitmap,
// a JPEG or a PNG; nothing else is tried) and decoding the part of it that the desktop shows at the settings'
// placement. Does nothing when the settings file is missing. Any failure leaves nothing behind: the show sequence meets it again and reports it.
void prefetch(const std::wstring& settingsPath, std::unique_ptr<core::Profile> settings);

// Waits for the loading to end and hands over its picture when it is of `path` and that file is unchanged since
// it was read; otherwise gives null. Either way the prefetched picture is given up, as by discardPrefetched.
std::unique_ptr<Picture> takePrefetched(const std::wstring& path);
void discardPrefetched();

// Tests: waits for the loading to end and leaves its result for takePrefetched.
void waitForPrefetch();

}  // namespace lumivex::pictures
