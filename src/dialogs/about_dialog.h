// The About dialog: picture, version, credits and the user name as typed.
#pragma once
#include "core/settings.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class AboutDialog : public ui::Form {
 public:
  AboutDialog(ui::Session& session, const core::Settings& settings);
  ~AboutDialog() override;
  void create();

  ui::Image picture{*this};
  ui::Memo credits{*this};
  ui::Label versionLabel{*this};
  ui::Button okButton{*this};

 private:
  void onShowing();
  const core::Settings& settings_;
};

}  // namespace lumivex
