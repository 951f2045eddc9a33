// A program folder with the whole application for the splash window's tests, and helpers to look at its pixels.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "app_under_test.h"
#include "app/settings_file.h"
#include "dialogs/option_dialog.h"
#include "splash/splash_window.h"
#include "splash_pictures.h"
#include "test_support.h"
#include "ui/text.h"

namespace lumivex::testing {

// A settings file: the given option lines come first (so they win over the defaults after them), then a
// display time long enough that no test sees the countdown end unless it asks for it.
inline std::string splashIni(const std::wstring& picture, const std::string& optionLines = "",
                             const std::string& windowLines = "") {
  return "[Window]\r\n" + windowLines + "[option]\r\n" + optionLines + "splashtime=180\r\n[pic]\r\npicture=" +
         ui::narrow(picture) + "\r\n";
}

class SplashRun : public ProgramRun {
 public:
  // Writes the settings file and "mes.txt", and creates the application as the program does.
  explicit SplashRun(const std::string& ini) { begin(ini); }
  // A picture file in the program folder, which the settings file names.
  struct Picture {
    std::wstring name;
    std::string bytes;
  };
  explicit SplashRun(const Picture& p, const std::string& optionLines = "", const std::string& windowLines = "") {
    begin(splashIni(picture(p.name, p.bytes), optionLines, windowLines));
  }

  // The next modal showing of a form is counted and ended at once.
  void expectModal() {
    services.queueModalHook([this](ui::Form& f) {
      ++modalShowings;
      timerDuringModal = splash().countdown.enabled();
      f.setModalResult(ui::kResultCancel);
    });
  }

  void show() {
    splash().show();
    settle();
  }

  std::wstring picture(const std::wstring& name, const std::string& bytes) const {
    return writtenFile(dir, name, bytes);
  }
  std::wstring settingsPath() const { return dir.file(L"lumivex.ini"); }

  const std::wstring exePath = dir.file(L"lumivex.exe");
  int modalShowings = 0;
  bool timerDuringModal = true;

 private:
  void begin(const std::string& ini) {
    writeFileBytes(dir.file(L"mes.txt"), "Now Loading...\r\n");
    writeFileBytes(settingsPath(), ini);
    start(exePath);
  }
};

inline SIZE clientSize(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return SIZE{r.right, r.bottom};
}

inline SIZE outerSize(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace lumivex::testing
