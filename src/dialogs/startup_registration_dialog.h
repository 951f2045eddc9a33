// The start-up registration dialog: puts the program's shortcut into the Startup folder.
#pragma once
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class StartupRegistrationDialog : public ui::Form {
 public:
  StartupRegistrationDialog(ui::Session& session, std::wstring exePath);
  ~StartupRegistrationDialog() override;
  void create();

  ui::Label question{*this};
  ui::Button okButton{*this};
  ui::Button cancelButton{*this};

  void registerShortcut();  // writes the shortcut

 private:
  std::wstring exePath_;
};

}  // namespace lumivex
