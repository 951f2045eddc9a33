// The start-up registration dialog: registers the program in the Startup folder or as a logon task, or removes it.
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
  ui::CheckBox logonTaskCheck{*this};  // unchecked: the shortcut in the Startup folder, as always
  ui::Button okButton{*this};
  ui::Button cancelButton{*this};
  ui::Button unregisterButton{*this};

 private:
  void registerChosenWay();  // registers the way the check box names and removes the other
  void unregister();         // removes both ways
  std::wstring exePath_;
};

}  // namespace lumivex
