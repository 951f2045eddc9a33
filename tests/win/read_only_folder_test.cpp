// A program folder the user cannot write to (Program Files, a read-only share). Root ignores read-only folders, so
// scripts/test-read-only-folder runs this suite as another user, in folders it made read-only for that user, and
// names them in LUMIVEX_READ_ONLY_FOLDER: "first" holds nothing, "normal" a settings file and "mes.txt".
#include <gtest/gtest.h>

#include "option_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

std::wstring readOnlyFolder(const wchar_t* leaf) {
  wchar_t root[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"LUMIVEX_READ_ONLY_FOLDER", root, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return L"";
  return std::wstring(root, n) + L"\\" + leaf;
}

// The folder exists and refuses a new file, as it must for these tests to mean anything.
bool refusesNewFiles(const std::wstring& folder) {
  const std::wstring trial = folder + L"\\trial.tmp";
  const HANDLE f = CreateFileW(trial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return f == INVALID_HANDLE_VALUE && GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const wchar_t kAdvice[] = L"\n\rこのフォルダーには書き込めません。書き込みできるフォルダーに移してください.";

}  // namespace

TEST(ReadOnlyFolder, AFirstRunsFailedMessageFileAndSetupSayWhatToDoAndKeepTheEdits) {
  const std::wstring folder = readOnlyFolder(L"first");
  ASSERT_TRUE(refusesNewFiles(folder)) << "run by scripts/test-read-only-folder";
  OptionRun run({OptionRun::Mode::FirstRun, "", false, folder});
  OptionDialog& o = run.option();
  auto& ctl = controlsOf(o);
  o.show();
  ASSERT_EQ(run.services.boxes.size(), 2u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.services.boxes[1].text, L"ファイル " + folder + L"\\mes.txt を作成できません" + kAdvice);

  ctl.displaySecondsEdit.setValue(9);
  run.settings().picturePath = L"C:\\p\\a.bmp";
  ctl.pictureNameEdit.setText(L"a.bmp");
  SendMessageW(ctl.setupCompleteButton.hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(run.services.boxes.size(), 3u);
  EXPECT_EQ(run.services.boxes[2].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.services.boxes[2].text, folder + L"\\lumivex.ini に書き込めません" + kAdvice);
  EXPECT_TRUE(o.visible());
  EXPECT_EQ(ctl.displaySecondsEdit.value(), 9);
  o.hide();
}

TEST(ReadOnlyFolder, OkWithAFailedSaveSaysWhatToDoAndKeepsTheDialogOpenWithTheEdits) {
  const std::wstring folder = readOnlyFolder(L"normal");
  ASSERT_TRUE(refusesNewFiles(folder)) << "run by scripts/test-read-only-folder";
  // The settings file is there already (and read-only with its folder): the program starts in normal mode.
  OptionRun run({OptionRun::Mode::FirstRun, "", false, folder});
  ASSERT_FALSE(run.app().firstRun());
  bool stayedOpen = false;
  run.withDialogOpen([&](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    ctl.displaySecondsEdit.setValue(9);
    SendMessageW(ctl.okButton.hwnd(), BM_CLICK, 0, 0);
    stayedOpen = o.modalResult() == ui::kNoResult;
    EXPECT_EQ(ctl.displaySecondsEdit.value(), 9);
  });
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].text, folder + L"\\lumivex.ini に書き込めません" + kAdvice);
}
