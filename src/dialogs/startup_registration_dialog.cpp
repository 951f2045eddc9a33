// The start-up registration dialog: registers the program in the Startup folder or as a logon task, or removes it.
#include "dialogs/startup_registration_dialog.h"

#include <windows.h>

#include "startup/startup_registration.h"
#include "ui/layout.h"

namespace lumivex {

StartupRegistrationDialog::StartupRegistrationDialog(ui::Session& session, std::wstring exePath)
    : Form(session), StartupRegistrationDialogControls(static_cast<ui::Form&>(*this)), exePath_(std::move(exePath)) {}
StartupRegistrationDialog::~StartupRegistrationDialog() = default;

void StartupRegistrationDialog::create() {
  ui::FormStyle style = ui::fixedDialogStyle(L"登録しますか？", 234, 146);
  style.topmost = true;
  ui::Form::create(style);

  question.wordWrap = true;
  ui::createLayout({
      {question, *this, 40, 8, 145, 33, L"スタートアップに登録しても宜しいですか？"},
      {logonTaskCheck, *this, 32, 44, 190, 17, L"ログオン直後に表示する（タスク）"},
      {okButton, *this, 32, 72, 75, 25, L"  OK"},
      {cancelButton, *this, 136, 72, 75, 25, L"Cancel"},
      {unregisterButton, *this, 32, 110, 179, 25, L"登録を解除する"},
  });

  logonTaskCheck.setHint(L"タスクスケジューラに登録し、ログオンしてすぐロゴを表示します");
  okButton.setGlyph(L"BBOK");
  okButton.setHint(L"OK");
  okButton.modalResult = ui::kResultOk;
  okButton.setDefault(true);
  okButton.onClick = [this] { registerChosenWay(); };
  cancelButton.setGlyph(L"BBCANCEL");
  cancelButton.setHint(L"Cancel");
  cancelButton.modalResult = ui::kResultCancel;
  setCancelButton(&cancelButton);
  unregisterButton.setHint(L"スタートアップフォルダとタスクの登録を解除します");
  unregisterButton.modalResult = ui::kResultOk;
  unregisterButton.onClick = [this] { unregister(); };
  setTabOrder({&okButton, &cancelButton, &logonTaskCheck, &unregisterButton, &question});
}

void StartupRegistrationDialog::registerChosenWay() {
  const auto way =
      logonTaskCheck.checked() ? core::StartupWay::LogonTask : core::StartupWay::ShortcutInStartupFolder;
  startup::registerWay(way, {exePath_, false, GetWindow(hwnd(), GW_OWNER)});
}

void StartupRegistrationDialog::unregister() { startup::unregisterAll({exePath_, false, GetWindow(hwnd(), GW_OWNER)}); }

}  // namespace lumivex
