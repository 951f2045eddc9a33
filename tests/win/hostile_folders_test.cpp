// Program folders with unusual names, on a drive root, and ones whose settings file cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

#include <windows.h>
#include <winioctl.h>

#include "core/paths.h"
#include "hostile_support.h"
#include "option_fixture.h"
#include "splash_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;
namespace lt = lumivex::testing;

namespace {

// The whole program started from `exePath`, whatever its folder, as SplashRun starts it from a folder of its own.
class FolderRun : public ProgramRun {
 public:
  explicit FolderRun(const std::wstring& exePath) : iniPath(core::settingsPathFor(exePath)) { start(exePath); }

  // Shows the splash window, then opens the option dialog by a double-click on the picture; `inDialog` runs there
  // and OK is pressed. A dialog that a failed save keeps open is then left as the close box leaves it.
  void showThenSaveWithOk(const std::function<void(OptionDialog&)>& inDialog) {
    splash().show();
    settle();
    services.queueModalHook([&](ui::Form& f) {
      auto& o = static_cast<OptionDialog&>(f);
      auto& ctl = controlsOf(o);
      inDialog(o);
      SendMessageW(ctl.okButton.hwnd(), BM_CLICK, 0, 0);
      dialogStayedOpen = o.modalResult() == ui::kNoResult;
      if (dialogStayedOpen) o.setModalResult(ui::kResultCancel);
    });
    SendMessageW(splash().hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    splash().countdown.setEnabled(false);
  }

  std::wstring iniPath;
  bool dialogStayedOpen = false;
};

// A program folder holding a picture, "mes.txt" and a settings file naming the picture.
void populate(const std::wstring& folder) {
  const std::wstring picture = core::joinFolder(folder, L"logo.bmp");
  lt::writeFileBytes(picture, lt::bmpFile(120, 90, [](int, int) -> uint32_t { return 0x00C000; }));
  lt::writeFileBytes(core::joinFolder(folder, L"mes.txt"), "Now Loading...\r\n");
  lt::writeFileBytes(core::joinFolder(folder, L"lumivex.ini"), lt::splashIni(picture, "b_size=0\r\n"));
}

// Saves edited settings from the program in `exePath`'s folder, then starts it again and finds them loaded.
void expectSavedAndLoadedAgain(const std::wstring& exePath) {
  std::vector<lt::SavedValue> saved;
  {
    FolderRun run(exePath);
    run.showThenSaveWithOk([](OptionDialog& o) {
      auto& ctl = controlsOf(o);
      ctl.displaySecondsEdit.setValue(9);
      ctl.userNameEdit.setText(L"山田 %s%n");
      ctl.messageCombo.setText(L"起動 %x%n");
    });
    EXPECT_TRUE(run.services.boxes.empty()) << ui::narrow(run.services.boxes.empty() ? L"" : run.services.boxes[0].text);
    saved = lt::liveSettings(run);
    lt::expectSettingsReadBack(run.iniPath, saved);
  }
  FolderRun again(exePath);
  again.splash().show();
  EXPECT_TRUE(again.services.boxes.empty());
  ASSERT_NE(again.splash().image.picture(), nullptr) << "the picture in the program folder loads";
  EXPECT_EQ(again.controls().displaySecondsEdit.value(), 9);
  EXPECT_EQ(again.controls().userNameEdit.text(), L"山田 %s%n");
  EXPECT_EQ(again.controls().messageCombo.text(), L"起動 %x%n");
  EXPECT_EQ(again.splash().messageLabel.caption(), L"起動 %x%n");
  again.splash().countdown.setEnabled(false);
}

// A drive letter for a folder: DefineDosDeviceW on Windows. Wine accepts that call but its file system does not
// follow it, so there the letter is defined through the mount manager, as Wine's own configuration tool does.
class MappedDrive {
 public:
  explicit MappedDrive(const std::wstring& folder) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t l = L'Y'; l >= L'M' && !letter_; --l)
      if (!(used & (1u << (l - L'A')))) letter_ = l;
    if (!letter_) return;
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) {
      defined_ = DefineDosDeviceW(0, device().c_str(), folder.c_str()) != FALSE;
      folder_ = folder;
    } else if (const char* unixPath = toUnix(folder.c_str())) {
      defined_ = wineDefine(unixPath);
    }
    defined_ = defined_ && GetFileAttributesW(root().c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  ~MappedDrive() {
    if (!letter_) return;
    if (!folder_.empty())
      DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device().c_str(), folder_.c_str());
    else
      wineDefine(nullptr);
  }
  bool defined() const { return defined_; }
  std::wstring root() const { return device() + L"\\"; }

 private:
  std::wstring device() const { return std::wstring(1, letter_) + L":"; }

  // Wine's request to the mount manager: the letter and the Unix path of its root (none removes the letter).
  bool wineDefine(const char* unixPath) {
    struct UnixDrive {
      ULONG size, type, fsType;
      DWORD serial;
      ULONGLONG unixDevice;
      WCHAR letter;
      USHORT mountPoint, device, label;
    };
    const size_t pathBytes = unixPath ? std::strlen(unixPath) + 1 : 0;
    std::vector<char> request(sizeof(UnixDrive) + pathBytes);
    auto* d = reinterpret_cast<UnixDrive*>(request.data());
    d->size = static_cast<ULONG>(request.size());
    d->type = DRIVE_FIXED;
    d->letter = static_cast<WCHAR>(towlower(letter_));
    d->mountPoint = unixPath ? sizeof(UnixDrive) : 0;
    if (unixPath) std::memcpy(request.data() + sizeof(UnixDrive), unixPath, pathBytes);
    const HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                    nullptr, 0, &got, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
  }

  wchar_t letter_ = 0;
  bool defined_ = false;
  std::wstring folder_;
};

}  // namespace

TEST(HostileFolders, SettingsAreSavedAndLoadedInFoldersWithSpacesPercentSignsJapaneseAndDots) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"a b c", L"lumivex.exe"},
      {L"%s%n%x", L"lumivex.exe"},
      {L"ロゴ 表示", L"lumivex.exe"},
      {L"a.b.c", L"lumivex"},  // no extension of its own: the folder's dots are not one
  };
  for (const auto& [leaf, exeName] : cases) {
    SCOPED_TRACE(ui::narrow(leaf));
    const lt::TempFolder folder(leaf);
    populate(folder.path());
    expectSavedAndLoadedAgain(folder.file(exeName));
  }
}

TEST(HostileFolders, SettingsAreSavedAndLoadedOnADriveRoot) {
  const lt::TempFolder folder;
  const MappedDrive drive(folder.path());
  if (!drive.defined()) GTEST_SKIP() << "no drive letter could be mapped";
  populate(drive.root());
  ASSERT_TRUE(lt::fileExists(folder.file(L"lumivex.ini")));
  expectSavedAndLoadedAgain(drive.root() + L"lumivex.exe");
  EXPECT_NE(lt::readFileBytes(folder.file(L"lumivex.ini")).find("splashtime=9"), std::string::npos);
}

TEST(HostileFolders, AProgramFolderThatVanishedDuringTheRunIsReportedNotRecreated) {
  const lt::TempFolder parent;
  const std::wstring folder = parent.file(L"program");
  CreateDirectoryW(folder.c_str(), nullptr);
  populate(folder);
  FolderRun run(folder + L"\\lumivex.exe");
  run.splash().show();
  ASSERT_NE(run.splash().image.picture(), nullptr);
  for (const wchar_t* name : {L"lumivex.ini", L"mes.txt", L"logo.bmp"}) DeleteFileW((folder + L"\\" + name).c_str());
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));

  run.showThenSaveWithOk([](OptionDialog&) {});
  ASSERT_EQ(run.services.boxes.size(), 3u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice) << "the message file is missing";
  EXPECT_EQ(run.services.boxes[1].text, L"ファイル " + folder + L"\\mes.txt を作成できません.");
  EXPECT_EQ(run.services.boxes[2].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.services.boxes[2].text, folder + L"\\lumivex.ini に書き込めません.");
  EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(run.dialogStayedOpen) << "the edits stay on screen for another try";
}

TEST(HostileFolders, ASettingsFileReplacedOrDeletedDuringTheRun) {
  for (const bool replacedByAFolder : {true, false}) {
    SCOPED_TRACE(replacedByAFolder ? "replaced by a folder: refused, and the folder stays"
                                   : "deleted: the save writes a whole new file");
    const lt::TempFolder folder;
    populate(folder.path());
    const std::wstring ini = folder.file(L"lumivex.ini");
    FolderRun run(folder.file(L"lumivex.exe"));
    run.showThenSaveWithOk([&](OptionDialog&) {
      DeleteFileW(ini.c_str());
      if (replacedByAFolder) CreateDirectoryW(ini.c_str(), nullptr);
    });
    if (replacedByAFolder) {
      ASSERT_EQ(run.services.boxes.size(), 1u);
      EXPECT_EQ(run.services.boxes[0].text, ini + L" に書き込めません.");
      EXPECT_NE(GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    } else {
      EXPECT_TRUE(run.services.boxes.empty());
      lt::expectSettingsReadBack(ini, lt::liveSettings(run));
    }
  }
}

namespace {

// Saves a message, a user name and a picture path that code page 932 cannot hold from the program in `folder`, and
// gives the settings file's bytes. The picture lies in a folder of its own with a name of the same kind.
std::string saveTextsOutsideTheCodePage(const std::wstring& folder, const std::wstring& firstPicture,
                                        const std::wstring& picture) {
  lt::writeFileBytes(core::joinFolder(folder, L"mes.txt"), "Now Loading...\r\n");
  lt::writeFileBytes(core::joinFolder(folder, L"lumivex.ini"), lt::splashIni(firstPicture, "b_size=0\r\n"));
  FolderRun run(core::joinFolder(folder, L"lumivex.exe"));
  run.showThenSaveWithOk([&](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    ctl.displaySecondsEdit.setValue(9);
    ctl.userNameEdit.setText(L"Zo\xEB");
    ctl.messageCombo.setText(L"\x2026" L"caf\xE9 \x2615");
    run.settings().picturePath = picture;
  });
  EXPECT_TRUE(run.services.boxes.empty()) << ui::narrow(run.services.boxes.empty() ? L"" : run.services.boxes[0].text);
  EXPECT_FALSE(run.dialogStayedOpen);
  return lt::readFileBytes(run.iniPath);
}

// The next start of the program in `folder` finds the three texts as they were chosen.
void expectTextsLoadedAsChosen(const std::wstring& folder, const std::wstring& picture, const std::wstring& message,
                               const std::wstring& name) {
  FolderRun again(core::joinFolder(folder, L"lumivex.exe"));
  again.services.queueModalHook([](ui::Form& f) { f.setModalResult(ui::kResultCancel); });  // a picture not found
  again.splash().show();
  EXPECT_TRUE(again.services.boxes.empty()) << ui::narrow(again.services.boxes.empty() ? L"" : again.services.boxes[0].text);
  EXPECT_EQ(again.settings().picturePath, picture);
  EXPECT_NE(again.splash().image.picture(), nullptr);
  EXPECT_EQ(again.splash().messageLabel.caption(), message);
  EXPECT_EQ(again.controls().messageCombo.text(), message);
  EXPECT_EQ(again.controls().userNameEdit.text(), name);
  again.splash().countdown.setEnabled(false);
}

void writePicture(const std::wstring& path) {
  lt::writeFileBytes(path, lt::bmpFile(40, 30, [](int, int) -> uint32_t { return 0x00C000; }));
}

}  // namespace

// A folder name outside code page 932 ("é", "☕"): the settings file is reached all the same and keeps the bytes a
// folder of plain name gets; texts the code page cannot hold come back as chosen, and their keys keep today's bytes.
TEST(HostileFolders, AFolderAndTextsOutsideTheCodePageKeepTheFileInCodePage932AndEveryTextAsChosen) {
  const lt::TempFolder pictures(L"Caf\xE9 Logos"), plain(L"plain"), accented(L"Caf\xE9 \x2615");
  const std::wstring picture = pictures.file(L"logo.bmp"), firstPicture = plain.file(L"first.bmp");
  writePicture(picture);
  writePicture(firstPicture);
  const std::string plainBytes = saveTextsOutsideTheCodePage(plain.path(), firstPicture, picture);
  const std::string bytes = saveTextsOutsideTheCodePage(accented.path(), firstPicture, picture);
  EXPECT_EQ(bytes, plainBytes) << "the same bytes whichever services reach the file";
  const std::vector<std::string> lines = iniLines(bytes);
  for (const std::string& line : std::vector<std::string>{"name=" + cp932(L"Zo\xEB"), "name_utf8=Zo%C3%AB",
                                  "message=" + cp932(L"\x2026" L"caf\xE9 \x2615"),
                                  "message_utf8=%E2%80%A6caf%C3%A9 %E2%98%95",
                                  "picture=" + cp932(picture), "splashtime=9"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  expectTextsLoadedAsChosen(accented.path(), picture, L"\x2026" L"caf\xE9 \x2615", L"Zo\xEB");
}

// An administrator copies one settings file to many PCs: "pic\logo.bmp" lies in each program folder, wherever the
// program was started from.
TEST(HostileFolders, ARelativePictureLiesInTheProgramFolderWhateverTheWorkingFolder) {
  const lt::TempFolder folder, elsewhere;
  CreateDirectoryW(folder.file(L"pic").c_str(), nullptr);
  writePicture(folder.file(L"pic\\logo.bmp"));
  lt::writeFileBytes(folder.file(L"mes.txt"), "Now Loading...\r\n");
  lt::writeFileBytes(folder.file(L"lumivex.ini"), "[option]\r\nsplashtime=180\r\n[pic]\r\npicture=pic\\logo.bmp\r\n");
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(elsewhere.path().c_str());
  {
    FolderRun run(folder.file(L"lumivex.exe"));
    run.services.queueModalHook([](ui::Form& f) { f.setModalResult(ui::kResultCancel); });  // a picture not found
    run.splash().show();
    EXPECT_TRUE(run.services.boxes.empty()) << ui::narrow(run.services.boxes.empty() ? L"" : run.services.boxes[0].text);
    ASSERT_NE(run.splash().image.picture(), nullptr);
    EXPECT_EQ(run.splash().image.width(), 40);
    run.splash().countdown.setEnabled(false);
    run.app().saveSettings();
    EXPECT_NE(lt::readFileBytes(run.iniPath).find("picture=pic\\logo.bmp\r\n"), std::string::npos)
        << "saved as it was found";
  }
  SetCurrentDirectoryW(before);
}

// Under an English system (ANSI code page 1252; scripts/test-all runs this suite with that locale): a program
// folder with a Japanese name saves, and Japanese texts come back as chosen.
TEST(CodePage1252, AJapaneseFolderSavesAndJapaneseTextsComeBack) {
  ASSERT_EQ(GetACP(), 1252u) << "run this suite under an English locale (LC_ALL=en_US.UTF-8)";
  const lt::TempFolder pictures(L"写真"), folder(L"ロゴ 表示");
  const std::wstring picture = pictures.file(L"ロゴ.bmp");
  writePicture(picture);
  lt::writeFileBytes(folder.file(L"mes.txt"), "Now Loading...\r\n");
  lt::writeFileBytes(folder.file(L"lumivex.ini"), "[option]\r\nsplashtime=180\r\n");
  {
    FolderRun run(folder.file(L"lumivex.exe"));
    run.services.queueModalHook([](ui::Form& f) { f.setModalResult(ui::kResultCancel); });  // no picture yet
    run.showThenSaveWithOk([&](OptionDialog& o) {
      auto& ctl = controlsOf(o);
      ctl.userNameEdit.setText(L"山田");
      ctl.messageCombo.setText(L"起動中・・・");
      run.settings().picturePath = picture;
    });
    ASSERT_EQ(run.services.boxes.size(), 1u) << "only the notice of the missing picture";
    EXPECT_FALSE(run.dialogStayedOpen);
    // The ANSI keys keep the system's best fit, as ever: "・" becomes "\xB7", the kanji "?".
    const std::vector<std::string> lines = iniLines(lt::readFileBytes(run.iniPath));
    for (const char* line : {"name=??", "name_utf8=%E5%B1%B1%E7%94%B0", "message=???\xB7\xB7\xB7"})
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  expectTextsLoadedAsChosen(folder.path(), picture, L"起動中・・・", L"山田");
}
