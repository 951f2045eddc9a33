// The start-up registration dialog: registers the program in the Startup folder or as a logon task, or removes it.
#pragma once
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

// The start-up registration dialog's controls by role.
class StartupRegistrationDialogControls : protected ui::FormControls {
 protected:
  using FormControls::FormControls;

 public:
  ui::Label question{form_};
  ui::CheckBox logonTaskCheck{form_};  // unchecked: the shortcut in the Startup folder, as always
  ui::Button okButton{form_};
  ui::Button cancelButton{form_};
  ui::Button unregisterButton{form_};
};

class StartupRegistrationDialog : public ui::Form, private StartupRegistrationDialogControls {
 public:
  StartupRegistrationDialog(ui::Session& session, std::wstring exePath);
  ~StartupRegistrationDialog() override;
  void create();

 private:
  // What drives the dialog from outside its code, as a user would, reaches the controls through this.
  friend StartupRegistrationDialogControls& controlsOf(StartupRegistrationDialog& dialog);

  void registerChosenWay();  // registers the way the check box names and removes the other
  void unregister();         // removes both ways
  std::wstring exePath_;
};

}  // namespace lumivex
