// The About dialog: picture, version, credits and the user name as typed.
#pragma once
#include "core/settings.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

// The About dialog's controls by role.
class AboutDialogControls : protected ui::FormControls {
 protected:
  using FormControls::FormControls;

 public:
  ui::Image picture{form_};
  ui::Memo credits{form_};
  ui::Label versionLabel{form_};
  ui::Button okButton{form_};
};

class AboutDialog : public ui::Form, private AboutDialogControls {
 public:
  AboutDialog(ui::Session& session, const core::Settings& settings);
  ~AboutDialog() override;
  void create();

 private:
  // What drives the dialog from outside its code, as a user would, reaches the controls through this.
  friend AboutDialogControls& controlsOf(AboutDialog& dialog);

  void onShowing();
  const core::Settings& settings_;
};

}  // namespace lumivex
