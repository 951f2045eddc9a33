// What the windows ask of the system that a test stands in for: the boxes, the choosers, the executable's path,
// the metafile trial limit, the layered-window entry, and the moment a form enters its modal loop.
#pragma once
#include <string>

#include <windows.h>

namespace lumivex::ui {

class ColourDialog;
class Form;
class OpenFileDialog;

enum class BoxKind { Notice, Error };

class Services {
 public:
  virtual ~Services() = default;

  // Shows the notice or error box with exactly this text, modal to the active window.
  virtual void showBox(BoxKind kind, const std::wstring& text) = 0;
  // Run the chooser; true when the user confirmed (its fileName or colour then holds the choice).
  virtual bool choose(OpenFileDialog& dialog, HWND owner) = 0;
  virtual bool choose(ColourDialog& dialog, HWND owner) = 0;
  // The full path of the running executable: its folder is the program folder.
  virtual std::wstring exePath() = 0;
  // How long the trial playback of a metafile may take before its picture is refused.
  virtual unsigned metafileTrialLimitMs() = 0;
  // The layered-window entry of the loaded user32 (null where the system has none).
  virtual FARPROC layeredWindowEntry(HMODULE user32) = 0;
  // A form has entered its modal loop, shown and active.
  virtual void modalLoopEntered(Form& form) = 0;
};

// The real system.
class SystemServices : public Services {
 public:
  void showBox(BoxKind kind, const std::wstring& text) override;
  bool choose(OpenFileDialog& dialog, HWND owner) override;
  bool choose(ColourDialog& dialog, HWND owner) override;
  std::wstring exePath() override;
  unsigned metafileTrialLimitMs() override { return 1000; }
  FARPROC layeredWindowEntry(HMODULE user32) override;
  void modalLoopEntered(Form&) override {}
};

}  // namespace lumivex::ui
