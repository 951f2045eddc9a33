// A program folder with the whole application for the option dialog's tests, and helpers to drive the dialog.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "app_under_test.h"
#include "app/settings_file.h"
#include "dialogs/option_dialog.h"
#include "splash/splash_window.h"
#include "test_support.h"
#include "ui/common_dialogs.h"
#include "ui/text.h"

namespace lumivex::testing {

// The four default messages as the file holds them: code page 932, each line closed by CR LF.
inline std::string defaultMessageFileBytes() {
  return ui::narrow(L"しばらくお待ち下さい\r\nNow Loading...\r\n起動中・・・\r\n起動ing\r\n", 932);
}

class OptionRun : public ProgramRun {
 public:
  enum class Mode { Normal, FirstRun };
  struct Setup {
    Mode mode = Mode::Normal;
    std::string ini;                                       // contents of the settings file in normal mode
    bool messageFile = true;                               // write a "mes.txt" with the default lines
    std::wstring exeFolder;                                // another program folder (may not exist)
  };

  OptionRun() : OptionRun(Setup{}) {}
  explicit OptionRun(const Setup& s) {
    const std::wstring folder = s.exeFolder.empty() ? dir.path() : s.exeFolder;
    iniPath = folder + L"\\lumivex.ini";
    messagePath = folder + L"\\mes.txt";
    if (s.mode == Mode::Normal) writeFileBytes(iniPath, s.ini);
    if (s.messageFile) writeFileBytes(messagePath, defaultMessageFileBytes());
    start(folder + L"\\lumivex.exe");
    // Nothing here shows the splash window, so its countdown would otherwise end the run after a second.
    splash().countdown.setEnabled(false);
  }
  // Shows the dialog modally, runs `body` inside it, then ends it unless the body did; gives the modal result.
  int withDialogOpen(const std::function<void(OptionDialog&)>& body) {
    services.queueModalHook([body](ui::Form& f) {
      auto& o = static_cast<OptionDialog&>(f);
      body(o);
      if (o.modalResult() == ui::kNoResult) o.setModalResult(ui::kResultCancel);
    });
    return option().showModal();
  }
  // The same, for a body that works only the controls.
  int withDialogOpen(const std::function<void(OptionDialogControls&)>& body) {
    return withDialogOpen([&body](OptionDialog& o) { body(controlsOf(o)); });
  }

  std::wstring iniPath, messagePath;
};

// The lines of an INI file without the blank ones, in file order.
inline std::vector<std::string> iniLines(const std::string& bytes) {
  std::vector<std::string> out;
  std::string line;
  for (char c : bytes + "\n") {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) out.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return out;
}

inline std::string cp932(const std::wstring& s) { return ui::narrow(s, 932); }

}  // namespace lumivex::testing
