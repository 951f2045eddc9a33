// Loading the settings file into the live settings: the option dialog's controls, the picture path and the splash.
#include "app/application.h"
#include "app/settings_file.h"
#include "core/settings_value.h"
#include "dialogs/Uoption.h"
#include "splash/Usplash.h"

namespace lumivex {
namespace {

// A spin edit takes a loaded value brought to the nearest bound of its range.
void loadInto(ui::SpinEdit& spin, int32_t v) { spin.setValue(core::clampToRange(v, spin.minValue(), spin.maxValue())); }

}  // namespace

// Every value falls back to the current value of its target; setters run change reactions only on a real change.
void Tsplash::ReadEnv() {
  const app::SettingsFile& ini = *app::settingsFile();
  TOption& o = *Option;
  ini.flush();
  setTop(ini.readInteger("Window", "Top", top()));
  setLeft(ini.readInteger("Window", "Left", left()));
  loadInto(o.splSpn, ini.readInteger("option", "splashtime", o.splSpn.value()));
  loadInto(o.bordSpn, ini.readInteger("option", "b_size", o.bordSpn.value()));
  o.ScrollBar1.setPosition(core::clampToRange(ini.readInteger("option", "trans", o.ScrollBar1.position()),
                                              o.ScrollBar1.minValue(), o.ScrollBar1.maxValue()));
  o.smpTxt.setColour(ini.readInteger("option", "colo", o.smpTxt.colour()));
  o.mesCol.setColour(ini.readInteger("option", "bcol", o.mesCol.colour()));
  o.mesCol2.setColour(ini.readInteger("option", "fcol", o.mesCol2.colour()));
  o.winposGrp.setItemIndex(core::clampToRange(ini.readInteger("option", "winpos", o.winposGrp.itemIndex()), -1, 1));
  loadInto(o.fsizEdt, ini.readInteger("option", "fsiz", o.fsizEdt.value()));
  setColour(ini.readInteger("option", "colo", o.smpTxt.colour()));
  o.lblTrans.setChecked(ini.readBool("option", "lbltrans", o.lblTrans.checked()));
  mesTxt.setCaption(ini.readString("message", "message", o.mesCmb.text()));
  o.mesCmb.setText(ini.readString("message", "message", o.mesCmb.text()));
  o.picturePath = ini.readString("pic", "picture", o.picturePath);
  o.nameEdt.setText(ini.readString("option", "name", o.nameEdt.text()));
  setWindowState(ini.readBool("Window", "Maxmize", false) ? ui::WindowState::Maximized : ui::WindowState::Normal);
}

}  // namespace lumivex
