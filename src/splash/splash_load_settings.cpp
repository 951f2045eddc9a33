// Loading the settings file into the live settings: the option dialog's controls, the picture path and the splash.
#include "app/application.h"
#include "app/settings_file.h"
#include "core/settings_value.h"
#include "dialogs/option_dialog.h"
#include "splash/splash_window.h"

namespace lumivex {
namespace {

// A spin edit takes a loaded value brought to the nearest bound of its range.
void loadInto(ui::SpinEdit& spin, int32_t v) { spin.setValue(core::clampToRange(v, spin.minValue(), spin.maxValue())); }

}  // namespace

// Every value falls back to the current value of its target; setters run change reactions only on a real change.
void SplashWindow::loadSettings() {
  const app::SettingsFile& ini = *app::settingsFile();
  OptionDialog& o = *Option;
  ini.flush();
  setTop(ini.readInteger("Window", "Top", top()));
  setLeft(ini.readInteger("Window", "Left", left()));
  loadInto(o.displaySecondsEdit, ini.readInteger("option", "splashtime", o.displaySecondsEdit.value()));
  loadInto(o.borderWidthEdit, ini.readInteger("option", "b_size", o.borderWidthEdit.value()));
  o.translucencySlider.setPosition(core::clampToRange(ini.readInteger("option", "trans", o.translucencySlider.position()),
                                              o.translucencySlider.minValue(), o.translucencySlider.maxValue()));
  o.windowColourSwatch.setColour(ini.readInteger("option", "colo", o.windowColourSwatch.colour()));
  o.messageBackgroundSwatch.setColour(ini.readInteger("option", "bcol", o.messageBackgroundSwatch.colour()));
  o.messageTextColourSwatch.setColour(ini.readInteger("option", "fcol", o.messageTextColourSwatch.colour()));
  o.placementGroup.setItemIndex(core::clampToRange(ini.readInteger("option", "winpos", o.placementGroup.itemIndex()), -1, 1));
  loadInto(o.fontSizeEdit, ini.readInteger("option", "fsiz", o.fontSizeEdit.value()));
  setColour(ini.readInteger("option", "colo", o.windowColourSwatch.colour()));
  o.messageBackgroundCheck.setChecked(ini.readBool("option", "lbltrans", o.messageBackgroundCheck.checked()));
  messageLabel.setCaption(ini.readString("message", "message", o.messageCombo.text()));
  o.messageCombo.setText(ini.readString("message", "message", o.messageCombo.text()));
  o.picturePath = ini.readString("pic", "picture", o.picturePath);
  o.userNameEdit.setText(ini.readString("option", "name", o.userNameEdit.text()));
  setWindowState(ini.readBool("Window", "Maxmize", false) ? ui::WindowState::Maximized : ui::WindowState::Normal);
}

}  // namespace lumivex
