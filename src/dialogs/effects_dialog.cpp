// The effects dialog: two spin edits for the fade times, with guidance and tooltips like the option dialog's.
#include "dialogs/effects_dialog.h"

#include <algorithm>

#include "ui/layout.h"
#include "ui/text.h"

namespace lumivex {
namespace {

constexpr int kFadeStepMs = 100;

int valueInRange(const ui::SpinEdit& edit) { return std::clamp(edit.value(), edit.minValue(), edit.maxValue()); }

}  // namespace

EffectsDialog::EffectsDialog(ui::Session& session)
    : Form(session), EffectsDialogControls(static_cast<ui::Form&>(*this)) {}
EffectsDialog::~EffectsDialog() = default;

void EffectsDialog::create() {
  ui::Form::create(ui::fixedDialogStyle(L"効果", 281, 149));

  ui::createLayout({
      {fadeInGroup, *this, 8, 8, 129, 65, L"フェードイン"},
      {fadeInEdit, fadeInGroup, 20, 24, 61, 21, L"0"},
      {fadeInUnitLabel, fadeInGroup, 89, 29, 0, 0, L"ミリ秒"},
      {fadeOutGroup, *this, 144, 8, 129, 65, L"フェードアウト"},
      {fadeOutEdit, fadeOutGroup, 20, 24, 61, 21, L"0"},
      {fadeOutUnitLabel, fadeOutGroup, 89, 29, 0, 0, L"ミリ秒"},
      {guidanceLine, *this, 8, 80, 265, 16, L""},
      {bottomButtons, *this, 99, 104, 174, 41, L""},
      {okButton, bottomButtons, 8, 8, 75, 25, L"OK"},
      {closeButton, bottomButtons, 91, 8, 75, 25, L"Close"},
  });

  okButton.setGlyph(L"BBOK");
  okButton.modalResult = ui::kResultOk;
  okButton.setDefault(true);
  closeButton.setGlyph(L"BBCANCEL");
  closeButton.modalResult = ui::kResultCancel;
  setCancelButton(&closeButton);
  setTabOrder({&bottomButtons, &fadeInGroup, &fadeOutGroup, &guidanceLine});  // OK first, as in the option dialog

  const struct {
    ui::SpinEdit& edit;
    const wchar_t* hint;
    const wchar_t* guidance;
  } rows[] = {
      {fadeInEdit, L"スプラッシュが現れる時間（ミリ秒）を設定します", L"フェードインの時間を設定します。0でなし。"},
      {fadeOutEdit, L"スプラッシュが消える時間（ミリ秒）を設定します", L"フェードアウトの時間を設定します。0でなし。"},
  };
  for (const auto& row : rows) {
    row.edit.increment = kFadeStepMs;
    row.edit.setMaxLength(4);
    row.edit.setHint(row.hint);
    ui::SpinEdit& edit = row.edit;
    const std::wstring text =
        row.guidance + ui::decimal(edit.minValue()) + L"～" + ui::decimal(edit.maxValue());
    edit.onEnter = [this, &edit, text] {
      edit.setColour(ui::kWindowBackground);
      guidanceLine.setText(text);
    };
    edit.onExit = [this, &edit] {
      edit.setColour(ui::kButtonFace);
      guidanceLine.setText(L"");
    };
  }
  okButton.setHint(L"設定を反映します");
  closeButton.setHint(L"閉じます");
}

FadeTimes EffectsDialog::shown() const { return FadeTimes{valueInRange(fadeInEdit), valueInRange(fadeOutEdit)}; }

std::optional<FadeTimes> EffectsDialog::edit(const FadeTimes& times) {
  fadeInEdit.setValue(times.fadeInMs);
  fadeOutEdit.setValue(times.fadeOutMs);
  guidanceLine.setText(L"");
  if (showModal() != ui::kResultOk) return std::nullopt;
  return shown();
}

}  // namespace lumivex
