// Loading the settings file into the option dialog's controls and the splash window (loadSettings).
#include <gtest/gtest.h>

#include "splash_fixture.h"

using namespace lumivex;
namespace lt = lumivex::testing;
using lumivex::testing::SplashRun;

namespace {

// Runs loadSettings on a fresh application whose settings file holds `ini`; `before` may set current values first.
template <typename Check>
void load(const std::string& ini, Check check, const std::function<void()>& before = {}) {
  SplashRun run(ini);
  splash->countdown.setEnabled(false);
  if (before) before();
  splash->loadSettings();
  check();
}

}  // namespace

TEST(loadSettings, FileWithoutKeysLoadsTheStartUpValues) {
  load("[option]\r\n", [] {
    EXPECT_EQ(splash->top(), 0);
    EXPECT_EQ(splash->left(), 0);
    EXPECT_EQ(Option->displaySecondsEdit.value(), 5);
    EXPECT_EQ(Option->borderWidthEdit.value(), 3);
    EXPECT_EQ(Option->translucencySlider.position(), 100);
    EXPECT_EQ(Option->windowColourSwatch.colour(), ui::kButtonFace);
    EXPECT_EQ(Option->messageBackgroundSwatch.colour(), ui::kButtonFace);
    EXPECT_EQ(Option->messageTextColourSwatch.colour(), 0);
    EXPECT_EQ(Option->placementGroup.itemIndex(), 0);
    EXPECT_EQ(Option->fontSizeEdit.value(), 12);
    EXPECT_EQ(splash->colour(), ui::kButtonFace);
    EXPECT_FALSE(Option->messageBackgroundCheck.checked());
    EXPECT_EQ(splash->messageLabel.caption(), L"");
    EXPECT_EQ(Option->messageCombo.text(), L"");
    EXPECT_EQ(Option->picturePath, L"");
    EXPECT_EQ(Option->userNameEdit.text(), L"");
    EXPECT_EQ(splash->windowState(), ui::WindowState::Normal);
  });
}

TEST(loadSettings, EveryKeyReachesItsTarget) {
  const std::string ini =
      "[Window]\r\nTop=123\r\nLeft=-45\r\n"
      "[option]\r\nsplashtime=7\r\nb_size=4\r\ntrans=40\r\ncolo=255\r\nbcol=65280\r\nfcol=16711680\r\nwinpos=1\r\n"
      "fsiz=20\r\nlbltrans=1\r\nname=" + ui::narrow(L"山田") + "\r\n"
      "[message]\r\nmessage=" + ui::narrow(L"起動中・・・") + "\r\n"
      "[pic]\r\npicture=C:\\pic\\a.bmp\r\n";
  load(ini, [] {
    EXPECT_EQ(splash->top(), 123);
    EXPECT_EQ(splash->left(), -45);
    EXPECT_EQ(Option->displaySecondsEdit.value(), 7);
    EXPECT_EQ(Option->borderWidthEdit.value(), 4);
    EXPECT_EQ(Option->translucencySlider.position(), 40);
    EXPECT_EQ(Option->windowColourSwatch.colour(), 255);
    EXPECT_EQ(splash->colour(), 255);
    EXPECT_EQ(Option->messageBackgroundSwatch.colour(), 0x00FF00);
    EXPECT_EQ(Option->messageTextColourSwatch.colour(), 0xFF0000);
    EXPECT_EQ(Option->placementGroup.itemIndex(), 1);
    EXPECT_EQ(Option->fontSizeEdit.value(), 20);
    EXPECT_TRUE(Option->messageBackgroundCheck.checked());
    EXPECT_EQ(splash->messageLabel.caption(), L"起動中・・・");
    EXPECT_EQ(Option->messageCombo.text(), L"起動中・・・");
    EXPECT_EQ(Option->picturePath, L"C:\\pic\\a.bmp");
    EXPECT_EQ(Option->userNameEdit.text(), L"山田");
    // Loading alone applies none of the appearance: that is the show sequence's work.
    EXPECT_EQ(splash->borderWidth(), 0);
    EXPECT_EQ(splash->countdown.interval(), 1000u);
  });
}

TEST(loadSettings, ValuesOutsideTheControlsRangesGoToTheNearestBound) {
  struct Case {
    const char* lines;
    int spl, bord, trans, winpos, fsiz;
  };
  const Case cases[] = {
      {"splashtime=0\r\nb_size=-1\r\ntrans=0\r\nwinpos=2\r\nfsiz=0\r\n", 1, 0, 5, 1, 1},
      {"splashtime=500\r\nb_size=11\r\ntrans=101\r\nwinpos=-7\r\nfsiz=65\r\n", 180, 10, 100, -1, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    load(std::string("[option]\r\n") + c.lines, [&] {
      EXPECT_EQ(Option->displaySecondsEdit.value(), c.spl);
      EXPECT_EQ(Option->borderWidthEdit.value(), c.bord);
      EXPECT_EQ(Option->translucencySlider.position(), c.trans);
      EXPECT_EQ(Option->placementGroup.itemIndex(), c.winpos);
      EXPECT_EQ(Option->fontSizeEdit.value(), c.fsiz);
    });
  }
}

TEST(loadSettings, ColourTexts) {
  const std::pair<const char*, ui::Colour> cases[] = {
      {"$FF", 255}, {"0xFF", 255}, {"-2147483633", ui::kButtonFace}, {"$80000005", ui::kWindowBackground}};
  for (const auto& [text, colour] : cases) {
    SCOPED_TRACE(text);
    load(std::string("[option]\r\ncolo=") + text + "\r\n", [colour = colour] {
      EXPECT_EQ(Option->windowColourSwatch.colour(), colour);
      EXPECT_EQ(splash->colour(), colour);
    });
  }
}

TEST(loadSettings, UnreadableNumbersKeepTheCurrentValue) {
  for (const char* text : {"12pt", "", "99999999999", "0x"}) {
    SCOPED_TRACE(text);
    load(std::string("[option]\r\nfsiz=") + text + "\r\nlbltrans=yes\r\ntrans=abc\r\n", [] {
      EXPECT_EQ(Option->fontSizeEdit.value(), 20);
      EXPECT_TRUE(Option->messageBackgroundCheck.checked());
      EXPECT_EQ(Option->translucencySlider.position(), 30);
    }, [] {
      Option->fontSizeEdit.setValue(20);
      Option->messageBackgroundCheck.setChecked(true);
      Option->translucencySlider.setPosition(30);
    });
  }
  load("[option]\r\nlbltrans=2\r\n", [] { EXPECT_TRUE(Option->messageBackgroundCheck.checked()); });
}

TEST(loadSettings, PresentButEmptyMessageDiffersFromMissingOne) {
  const auto keep = [] { Option->messageCombo.setText(L"keep"); };
  load("[message]\r\nmessage=\r\n", [] {
    EXPECT_EQ(splash->messageLabel.caption(), L"");
    EXPECT_EQ(Option->messageCombo.text(), L"");
  }, keep);
  load("[message]\r\n", [] {
    EXPECT_EQ(splash->messageLabel.caption(), L"keep");
    EXPECT_EQ(Option->messageCombo.text(), L"keep");
  }, keep);
}

TEST(loadSettings, LongValueIsCutTo2047Bytes) {
  load("[message]\r\nmessage=" + std::string(3000, 'm') + "\r\n[option]\r\nname=" + std::string(3000, 'n') + "\r\n",
       [] {
         EXPECT_EQ(splash->messageLabel.caption(), std::wstring(2047, L'm'));
         EXPECT_EQ(Option->userNameEdit.text().size(), 2047u);
       });
}

TEST(loadSettings, ChangeReactionsRunOnlyOnRealChanges) {
  int slider = 0, check = 0, group = 0;
  const auto count = [&] {
    auto wrap = [](std::function<void()>& f, int& n) {
      f = [inner = f, &n] {
        ++n;
        if (inner) inner();
      };
    };
    wrap(Option->translucencySlider.onChange, slider);
    wrap(Option->messageBackgroundCheck.onClick, check);
    wrap(Option->placementGroup.onClick, group);
  };
  load("[option]\r\ntrans=100\r\nlbltrans=0\r\nwinpos=0\r\n", [&] {
    EXPECT_EQ(slider, 0);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(group, 0);
  }, count);
  load("[option]\r\ntrans=40\r\nlbltrans=1\r\nwinpos=1\r\n", [&] {
    EXPECT_EQ(slider, 1);
    EXPECT_EQ(check, 1);
    EXPECT_EQ(group, 1);
    EXPECT_TRUE(Option->messageBackgroundSwatch.enabled()) << "the check box's reaction enables the background swatch";
    EXPECT_TRUE(Option->positionButton.enabled()) << "the placement group's reaction enables the position button";
  }, count);
}

TEST(loadSettings, MaximizeSettingIsReadButNotDefaultedFromTheWindow) {
  load("[Window]\r\nMaxmize=1\r\n", [] { EXPECT_EQ(splash->windowState(), ui::WindowState::Maximized); });
  load("[Window]\r\nMaxmize=0\r\n", [] { EXPECT_EQ(splash->windowState(), ui::WindowState::Normal); },
       [] { splash->setWindowState(ui::WindowState::Maximized); });
  load("[Window]\r\n", [] { EXPECT_EQ(splash->windowState(), ui::WindowState::Normal); },
       [] { splash->setWindowState(ui::WindowState::Maximized); });
}

TEST(loadSettings, SettingsFileIsReadAtTheMomentOfLoading) {
  SplashRun run(std::string("[option]\r\nsplashtime=9\r\n"));
  splash->countdown.setEnabled(false);
  lt::writeFileBytes(run.settingsPath(), "[option]\r\nsplashtime=11\r\n");
  splash->loadSettings();
  EXPECT_EQ(Option->displaySecondsEdit.value(), 11);
}
