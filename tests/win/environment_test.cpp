// The Wine test bed itself: Japanese code page and a Japanese UI font.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/fonts.h"
#include "ui/handles.h"

TEST(Environment, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }

TEST(Environment, UiFontResolvesToAJapaneseGothic) {
  lumivex::ui::WindowDc dc(nullptr);
  lumivex::ui::SelectGuard sel(dc.get(), lumivex::ui::uiFont());
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(dc.get(), &tm));
  EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12) << "character height";
  // A Japanese glyph exists in the font: the width of "あ" is not that of the missing-glyph box of a Latin font.
  WORD index = 0;
  GetGlyphIndicesW(dc.get(), L"あ", 1, &index, GGI_MARK_NONEXISTING_GLYPHS);
  EXPECT_NE(index, 0xFFFF);
}
