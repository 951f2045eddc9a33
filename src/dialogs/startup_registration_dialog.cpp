// The start-up registration dialog: puts the program's shortcut into the Startup folder.
#include "dialogs/startup_registration_dialog.h"

#include <memory>
#include <string>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "core/paths.h"
#include "ui/layout.h"
#include "ui/handles.h"
#include "ui/message_box.h"
#include "ui/system_libraries.h"
#include "ui/text.h"

namespace lumivex {
namespace {

// The shell-link component and the interfaces the registration asks it for.
constexpr CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DWORD kInProcOrLocalServer = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;  // 5

// The system's text for a failure code without its closing blanks, control characters and full stops,
// or "OLE エラー" with the code when the system has none.
std::wstring failureText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  if (text.empty()) {
    wchar_t hex[16];
    swprintf(hex, 16, L"%.8X", static_cast<unsigned>(code));
    text = std::wstring(L"OLE エラー ") + hex;
  }
  return text;
}

void check(HRESULT code) {
  if (FAILED(code)) throw ui::AppError(failureText(code));
}

void checkInterface(HRESULT code) {
  if (code == E_NOINTERFACE) throw ui::AppError(L"Interface はサポートされていません");
  check(code);
}

struct ItemIdListFree {
  void operator()(ITEMIDLIST* list) const { ui::syslib::coTaskMemFree(list); }
};

}  // namespace

StartupRegistrationDialog::StartupRegistrationDialog(ui::Session& session, std::wstring exePath)
    : Form(session), exePath_(std::move(exePath)) {}
StartupRegistrationDialog::~StartupRegistrationDialog() = default;

void StartupRegistrationDialog::create() {
  ui::FormStyle style;
  style.caption = L"登録しますか？";
  style.clientWidth = 234;
  style.clientHeight = 110;
  style.fixedDialogFrame = true;
  style.topmost = true;
  style.centreOnFirstShow = true;
  ui::Form::create(style);

  question.wordWrap = true;
  ui::createLayout({
      {question, *this, 40, 8, 145, 33, L"スタートアップに登録しても宜しいですか？"},
      {okButton, *this, 32, 56, 75, 25, L"  OK"},
      {cancelButton, *this, 136, 56, 75, 25, L"Cancel"},
  });

  okButton.setGlyph(L"BBOK");
  okButton.setHint(L"OK");
  okButton.modalResult = ui::kResultOk;
  okButton.setDefault(true);
  okButton.onClick = [this] { registerShortcut(); };
  cancelButton.setGlyph(L"BBCANCEL");
  cancelButton.setHint(L"Cancel");
  cancelButton.modalResult = ui::kResultCancel;
  setCancelButton(&cancelButton);
  setTabOrder({&okButton, &cancelButton, &question});
}

void StartupRegistrationDialog::registerShortcut() {
  // The shell link takes its texts in the ANSI code page, as the system names the running module there.
  const std::wstring& exe = exePath_;
  const std::string exeAnsi = ui::narrow(exe);

  ui::ComPtr<IUnknown> object;
  check(ui::syslib::coCreateInstance(kShellLink, nullptr, kInProcOrLocalServer, kUnknown, object.putVoid()));
  ui::ComPtr<IShellLinkA> link;
  checkInterface(object->QueryInterface(kShellLinkA, link.putVoid()));
  ui::ComPtr<IPersistFile> file;
  checkInterface(link->QueryInterface(kPersistFile, file.putVoid()));

  link->SetArguments("");
  link->SetPath(exeAnsi.c_str());
  link->SetWorkingDirectory(ui::narrow(core::programFolderOf(exe)).c_str());

  ITEMIDLIST* found = nullptr;
  const HRESULT located = ui::syslib::getSpecialFolderLocation(GetWindow(hwnd(), GW_OWNER), CSIDL_STARTUP, &found);
  std::unique_ptr<ITEMIDLIST, ItemIdListFree> folderList(found);
  char folder[MAX_PATH + 1] = {};
  if (FAILED(located) || !folderList || !ui::syslib::getPathFromIdList(folderList.get(), folder) || folder[0] == '\0')
    throw ui::AppError(L"スタートアップフォルダが見つかりません");

  const std::string shortcut =
      std::string(folder) + "\\" + ui::narrow(core::shortcutNameFor(core::fileNamePart(exe)));
  check(file->Save(ui::widen(shortcut).c_str(), TRUE));
}

}  // namespace lumivex
