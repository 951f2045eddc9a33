// The program's logon task in the Task Scheduler's root folder, registered from its XML definition.
#include "startup/logon_task_registration.h"

#include <memory>

#include <windows.h>
#include <oleauto.h>
#include <sddl.h>
#include <taskschd.h>

#include "core/paths.h"
#include "startup/com_failure.h"
#include "ui/handles.h"
#include "ui/message_box.h"
#include "ui/system_libraries.h"

namespace lumivex::startup {
namespace {

constexpr CLSID kTaskScheduler = {0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};
constexpr IID kTaskService = {0x2FABA4C7, 0x4DA9, 0x4013, {0x96, 0x97, 0x20, 0xCC, 0x3F, 0xD4, 0x0F, 0x85}};

bool isNotFound(HRESULT code) {
  return code == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || code == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// A BSTR for the length of a call.
class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : value_(ui::syslib::sysAllocString(text.c_str())) {
    if (!value_) check(E_OUTOFMEMORY);
  }
  ~Bstr() { ui::syslib::sysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

VARIANT emptyVariant() {
  VARIANT v{};
  v.vt = VT_EMPTY;
  return v;
}

VARIANT textVariant(const Bstr& text) {
  VARIANT v{};
  v.vt = VT_BSTR;
  v.bstrVal = text.get();
  return v;
}

}  // namespace

struct LogonTaskRegistration::Folder {
  ui::ComPtr<ITaskService> service;
  ui::ComPtr<ITaskFolder> root;
};

core::LogonTaskPrincipal currentUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) check(HRESULT_FROM_WIN32(GetLastError()));
  const ui::KernelHandle tokenHandle(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::unique_ptr<BYTE[]> buffer(new BYTE[size ? size : 1]);
  if (!GetTokenInformation(token, TokenUser, buffer.get(), size, &size)) check(HRESULT_FROM_WIN32(GetLastError()));
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &text))
    check(HRESULT_FROM_WIN32(GetLastError()));
  core::LogonTaskPrincipal user{text};
  LocalFree(text);
  return user;
}

LogonTaskRegistration::LogonTaskRegistration(std::wstring exePath, core::LogonTaskPrincipal principal)
    : exePath_(std::move(exePath)),
      principal_(std::move(principal)),
      name_(core::logonTaskNameFor(core::fileNamePart(exePath_), principal_)),
      folder_(std::make_unique<Folder>()) {
  Folder* folder = folder_.get();
  check(ui::syslib::coCreateInstance(kTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, kTaskService,
                                     folder->service.putVoid()));
  check(folder->service->Connect(emptyVariant(), emptyVariant(), emptyVariant(), emptyVariant()));
  const Bstr root(L"\\");
  check(folder->service->GetFolder(root.get(), folder->root.put()));
}

LogonTaskRegistration::~LogonTaskRegistration() = default;

void LogonTaskRegistration::write() const {
  const Bstr name(name_);
  const Bstr xml(core::logonTaskXml(exePath_, principal_));
  const Bstr group(core::kUsersGroupSid);
  ui::ComPtr<IRegisteredTask> task;
  // The user's task runs with the token of the user's interactive logon; the task of every user runs for the
  // Users group, which only an administrator may register.
  const VARIANT user = principal_.allUsers() ? textVariant(group) : emptyVariant();
  const TASK_LOGON_TYPE logon = principal_.allUsers() ? TASK_LOGON_GROUP : TASK_LOGON_INTERACTIVE_TOKEN;
  check(folder_->root->RegisterTask(name.get(), xml.get(), TASK_CREATE_OR_UPDATE, user, emptyVariant(), logon,
                                    emptyVariant(), task.put()));
}

bool LogonTaskRegistration::exists() const {
  const Bstr name(name_);
  ui::ComPtr<IRegisteredTask> task;
  const HRESULT found = folder_->root->GetTask(name.get(), task.put());
  if (isNotFound(found)) return false;
  check(found);
  return true;
}

void LogonTaskRegistration::remove() const {
  const Bstr name(name_);
  const HRESULT removed = folder_->root->DeleteTask(name.get(), 0);
  if (!isNotFound(removed)) check(removed);
}

}  // namespace lumivex::startup
