// Tests of the machine-wide settings a Windows Installer package hands its custom action.
#include "core/package_settings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lumivex::core {
namespace {

std::vector<std::wstring> entryTexts(const PackageSettings& s) {
  std::vector<std::wstring> texts;
  for (const auto& e : s.entries)
    texts.push_back(std::wstring(e.section, e.section + strlen(e.section)) + L"/" +
                    std::wstring(e.key, e.key + strlen(e.key)) + L"=" + e.value);
  return texts;
}

TEST(PackageSettings, GivesOnlyTheSettingsGivenAndKeepsTabsInTheMessage) {
  std::wstring error;
  auto all = parsePackageSettings(L"C:\\Program Files\\Lumivex\\\tD:\\logo.png\t030\tようこそ\t本社", &error);
  ASSERT_TRUE(all) << error;
  EXPECT_EQ(all->folder, L"C:\\Program Files\\Lumivex\\");
  EXPECT_EQ(entryTexts(*all), (std::vector<std::wstring>{L"option/splashtime=30", L"message/message=ようこそ\t本社",
                                                         L"pic/picture=D:\\logo.png"}));
  auto none = parsePackageSettings(L"C:\\L\\\t\t\t", &error);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->entries.empty());
  auto seconds = parsePackageSettings(L"C:\\L\\\t\t180", &error);
  ASSERT_TRUE(seconds);
  EXPECT_EQ(entryTexts(*seconds), (std::vector<std::wstring>{L"option/splashtime=180"}));
}

TEST(PackageSettings, RefusesWhatTheFileCouldNotHold) {
  for (const wchar_t* data : {L"C:\\L\\\t\t0\t", L"C:\\L\\\t\t181\t", L"C:\\L\\\t\t99999999999999999999\t",
                              L"C:\\L\\\t\t5s\t", L"C:\\L\\\t\t-5\t", L"C:\\L\\\t\t\tone\r\n[pic]", L"C:\\L\\\ta\nb\t\t",
                              L"\tD:\\logo.png\t5\t"}) {
    std::wstring error;
    EXPECT_FALSE(parsePackageSettings(data, &error)) << testing::PrintToString(std::wstring(data));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace lumivex::core
