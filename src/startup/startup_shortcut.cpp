// The program's shortcut in the Startup folder of the user, or of every user.
#include "startup/startup_shortcut.h"

#include <memory>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "core/paths.h"
#include "startup/com_failure.h"
#include "ui/handles.h"
#include "ui/message_box.h"
#include "ui/system_libraries.h"
#include "ui/text.h"

namespace lumivex::startup {
namespace {

// The shell-link component and the interfaces the registration asks it for.
constexpr CLSID kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DWORD kInProcOrLocalServer = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;  // 5

struct ItemIdListFree {
  void operator()(ITEMIDLIST* list) const { ui::syslib::coTaskMemFree(list); }
};

}  // namespace

StartupShortcut::StartupShortcut(std::wstring exePath, bool allUsers, HWND owner)
    : exePath_(std::move(exePath)), allUsers_(allUsers), owner_(owner) {}

std::string StartupShortcut::folder(bool mustExist) const {
  ITEMIDLIST* found = nullptr;
  const HRESULT located =
      ui::syslib::getSpecialFolderLocation(owner_, allUsers_ ? CSIDL_COMMON_STARTUP : CSIDL_STARTUP, &found);
  std::unique_ptr<ITEMIDLIST, ItemIdListFree> folderList(found);
  char folder[MAX_PATH + 1] = {};
  if (FAILED(located) || !folderList || !ui::syslib::getPathFromIdList(folderList.get(), folder) ||
      folder[0] == '\0') {
    if (mustExist) throw ui::AppError(L"スタートアップフォルダが見つかりません");
    return "";
  }
  return folder;
}

std::string StartupShortcut::path(const std::string& folder) const {
  return folder + "\\" + ui::narrow(core::shortcutNameFor(core::fileNamePart(exePath_)));
}

void StartupShortcut::write() const {
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

  check(file->Save(ui::widen(path(folder(true))).c_str(), TRUE));
}

bool StartupShortcut::exists() const {
  const std::string where = folder(false);
  if (where.empty()) return false;
  const DWORD a = GetFileAttributesW(ui::widen(path(where)).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void StartupShortcut::remove() const {
  const std::string where = folder(false);
  if (where.empty()) return;
  if (DeleteFileW(ui::widen(path(where)).c_str())) return;
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) check(HRESULT_FROM_WIN32(error));
}

}  // namespace lumivex::startup
