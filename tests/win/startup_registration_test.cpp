// Start-up registration under Wine: the shortcut written into the Startup folder, its name and contents, the logon
// task that replaces it, and failures.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "app_under_test.h"
#include "dialogs/option_dialog.h"
#include "core/logon_task.h"
#include "dialogs/startup_registration_dialog.h"
#include "startup/logon_task_registration.h"
#include "test_support.h"
#include "ui/handles.h"
#include "ui/text.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

std::wstring startupFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, path, CSIDL_STARTUP, TRUE);
  return path;
}

std::set<std::wstring> shortcutsIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*.lnk").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.insert(found.cFileName);
  while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

struct Link {
  std::string target, arguments, workingDirectory;
};

Link readLink(const std::wstring& path) {
  Link link;
  ui::ComPtr<IShellLinkA> shell;
  EXPECT_TRUE(SUCCEEDED(
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shell.putVoid())));
  ui::ComPtr<IPersistFile> file;
  EXPECT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.putVoid())));
  EXPECT_TRUE(SUCCEEDED(file->Load(path.c_str(), STGM_READ)));
  char buffer[MAX_PATH + 1] = {};
  shell->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
  link.target = buffer;
  buffer[0] = '\0';
  shell->GetArguments(buffer, MAX_PATH);
  link.arguments = buffer;
  buffer[0] = '\0';
  shell->GetWorkingDirectory(buffer, MAX_PATH);
  link.workingDirectory = buffer;
  return link;
}

// The system's text for a failure code as the error box shows it: closing blanks and stops off, then ".".
std::wstring systemText(HRESULT code) {
  wchar_t buffer[1024] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code), 0,
                 buffer, 1024, nullptr);
  std::wstring text = buffer;
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  return text;
}

// Where the Task Scheduler keeps a task's definition; Wine keeps its settings there, not its trigger and action.
std::wstring taskFile(const std::wstring& exeName) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\Tasks\\" + core::logonTaskNameFor(exeName, startup::currentUser());
}

class StartupRegistration : public ::testing::Test, public ProgramRun {
 protected:
  StartupRegistration() {
    startup = startupFolder();
    before = shortcutsIn(startup);
    useExe(L"lumivex.exe");
    start(exe);
  }
  ~StartupRegistration() override {
    for (const std::wstring& name : shortcutsIn(startup))
      if (!before.count(name)) DeleteFileW((startup + L"\\" + name).c_str());
    for (const wchar_t* name : {L"lumivex.exe", L"renamed.exe"}) DeleteFileW(taskFile(name).c_str());
  }

  void useExe(const std::wstring& name) {
    exe = dir.file(name);
    writeFileBytes(exe, "MZ");
    services.exe = exe;
  }

  // Shows the dialog and lets `act` end it.
  int showWith(void (*act)(StartupRegistrationDialog&)) { return showWith(registration(), act); }
  int showWith(StartupRegistrationDialog& dialog, void (*act)(StartupRegistrationDialog&)) {
    services.queueModalHook([&dialog, act](ui::Form&) { act(dialog); });
    return dialog.showModal();
  }
  // The dialog of a copy of the program renamed "renamed.exe": another run, with a dialog of its own.
  std::unique_ptr<StartupRegistrationDialog> renamedCopy() {
    useExe(L"renamed.exe");
    auto dialog = std::make_unique<StartupRegistrationDialog>(app().session(), exe);
    dialog->create();
    return dialog;
  }
  static void pressOk(StartupRegistrationDialog& f) { press(controlsOf(f).okButton); }
  static void chooseTaskAndPressOk(StartupRegistrationDialog& f) {
    press(controlsOf(f).logonTaskCheck);
    pressOk(f);
  }
  static void pressUnregister(StartupRegistrationDialog& f) { press(controlsOf(f).unregisterButton); }

  std::wstring exe, startup;
  std::set<std::wstring> before;
};

}  // namespace

TEST_F(StartupRegistration, OkWritesAShortcutNamedAfterTheExecutable) {
  ASSERT_FALSE(startup.empty());
  EXPECT_EQ(showWith(pressOk), ui::kResultOk);
  const std::wstring path = startup + L"\\lumivex.lnk";
  ASSERT_TRUE(fileExists(path));
  const Link link = readLink(path);
  EXPECT_EQ(link.target, ui::narrow(exe));
  EXPECT_EQ(link.arguments, "");
  EXPECT_EQ(link.workingDirectory, ui::narrow(dir.path()));

  // Confirming again replaces it; a renamed executable gets a second shortcut and the old one stays.
  EXPECT_EQ(showWith(pressOk), ui::kResultOk);
  EXPECT_EQ(showWith(*renamedCopy(), pressOk), ui::kResultOk);
  std::set<std::wstring> added = shortcutsIn(startup);
  for (const std::wstring& name : before) added.erase(name);
  EXPECT_EQ(added, (std::set<std::wstring>{L"lumivex.lnk", L"renamed.lnk"}));
}

TEST_F(StartupRegistration, CancelEscAndCloseBoxWriteNothing) {
  EXPECT_EQ(showWith([](StartupRegistrationDialog& f) { press(controlsOf(f).cancelButton); }), ui::kResultCancel);
  EXPECT_EQ(showWith([](StartupRegistrationDialog&) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }), ui::kResultCancel);
  EXPECT_EQ(showWith([](StartupRegistrationDialog& f) { PostMessageW(f.hwnd(), WM_CLOSE, 0, 0); }), ui::kResultCancel);
  EXPECT_EQ(shortcutsIn(startup), before);
}

TEST_F(StartupRegistration, RefusedSaveShowsTheSystemsTextAndTheOptionDialogStays) {
  // A folder where the shortcut file should go: the save is refused.
  const std::wstring blocked = startup + L"\\lumivex.lnk";
  ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
  bool optionStayed = false;
  services.queueModalHook([&](ui::Form&) {
    services.queueModalHook([this](ui::Form&) { pressOk(registration()); });
    controls().startupRegistrationButton.click();
    optionStayed = option().visible() && !registration().visible();
    option().setModalResult(ui::kResultCancel);
  });
  option().showModal();
  RemoveDirectoryW(blocked.c_str());
  EXPECT_TRUE(optionStayed);
  std::vector<std::wstring> errors;
  for (const FakeServices::Box& b : services.boxes)
    if (b.kind == ui::BoxKind::Error) errors.push_back(b.text);
  ASSERT_EQ(errors.size(), 1u);
  const std::wstring& text = errors[0];
  EXPECT_TRUE(text == systemText(E_ACCESSDENIED) + L"." || text == systemText(STG_E_ACCESSDENIED) + L".") << text;
  EXPECT_EQ(registration().modalResult(), ui::kResultOk);
}

TEST_F(StartupRegistration, MissingStartupFolderIsReportedAndNothingIsWritten) {
  ASSERT_TRUE(RemoveDirectoryW(startup.c_str())) << "the Startup folder of a fresh prefix is empty";
  EXPECT_EQ(showWith(pressOk), ui::kResultOk);
  CreateDirectoryW(startup.c_str(), nullptr);
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(services.boxes[0].text, L"スタートアップフォルダが見つかりません.");
  EXPECT_FALSE(fileExists(L"\\lumivex.lnk")) << "an empty folder path would put the shortcut at the drive's root";
}

TEST_F(StartupRegistration, TheLogonTaskAndTheShortcutReplaceEachOtherAndUnregisterRemovesBoth) {
  const std::wstring shortcut = startup + L"\\lumivex.lnk", task = taskFile(L"lumivex.exe");
  EXPECT_EQ(showWith(chooseTaskAndPressOk), ui::kResultOk);
  ASSERT_TRUE(fileExists(task));
  const std::string stored = readFileBytes(task);
  for (const char* setting : {"<Priority>4</Priority>", "<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>",
                              "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
                              "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"})
    EXPECT_NE(stored.find(setting), std::string::npos) << setting << "\n" << stored;

  // The check box stays as the user left it; unchecked again, OK writes the shortcut and removes the task.
  EXPECT_EQ(showWith([](StartupRegistrationDialog& f) {
              controlsOf(f).logonTaskCheck.setChecked(false);
              pressOk(f);
            }),
            ui::kResultOk);
  EXPECT_TRUE(fileExists(shortcut));
  EXPECT_FALSE(fileExists(task));

  EXPECT_EQ(showWith(chooseTaskAndPressOk), ui::kResultOk);
  EXPECT_EQ(showWith(pressUnregister), ui::kResultOk);
  EXPECT_FALSE(fileExists(shortcut));
  EXPECT_FALSE(fileExists(task));
  EXPECT_EQ(showWith(pressUnregister), ui::kResultOk) << "nothing registered is nothing to fail on";
}

TEST_F(StartupRegistration, ACopyUnderAnotherNameHasATaskOfItsOwn) {
  EXPECT_EQ(showWith(chooseTaskAndPressOk), ui::kResultOk);
  const auto copy = renamedCopy();
  EXPECT_EQ(showWith(*copy, chooseTaskAndPressOk), ui::kResultOk);
  EXPECT_TRUE(fileExists(taskFile(L"lumivex.exe")));
  EXPECT_TRUE(fileExists(taskFile(L"renamed.exe")));
  showWith(*copy, pressUnregister);
  EXPECT_FALSE(fileExists(taskFile(L"renamed.exe")));
  EXPECT_TRUE(fileExists(taskFile(L"lumivex.exe"))) << "the first copy's task is not touched";
}

TEST_F(StartupRegistration, ARefusedTaskKeepsTheShortcutAndShowsTheSystemsText) {
  EXPECT_EQ(showWith(pressOk), ui::kResultOk);
  // A folder where the task's file should go: the Task Scheduler refuses the task.
  const std::wstring blocked = taskFile(L"lumivex.exe");
  ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
  services.boxes.clear();
  EXPECT_EQ(showWith(chooseTaskAndPressOk), ui::kResultOk);
  RemoveDirectoryW(blocked.c_str());
  ASSERT_EQ(services.boxes.size(), 1u);
  EXPECT_EQ(services.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_FALSE(services.boxes[0].text.empty());
  EXPECT_TRUE(fileExists(startup + L"\\lumivex.lnk")) << "what was registered before stays";
}
