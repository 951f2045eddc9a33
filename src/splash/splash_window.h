// The splash window: shows the picture with its border, message and translucency, counts down and closes.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "core/fade.h"
#include "core/settings.h"
#include "splash/picture.h"
#include "ui/colour.h"
#include "ui/form.h"
#include "ui/handles.h"
#include "ui/timer.h"

namespace lumivex::pictures {
class LayeredSurface;
class PicturePrefetch;
}

namespace lumivex {

class SplashWindow : public ui::Form {
 public:
  // What the splash window asks of the program around it.
  class Host {
   public:
    // Loads the settings file into the live settings (the splash window's place is in them already).
    virtual core::SplashStart loadSettings() = 0;
    // The settings' picture path as a full path: a relative one lies in the program folder.
    virtual std::wstring pictureFile() = 0;
    virtual void openOptions() = 0;  // shows the option dialog modally
    virtual void translucencyUnavailable() = 0;
    virtual void splashClosed() = 0;  // whatever closed it; ends the program
    // The picture loaded ahead, which the show sequence takes over when it is of the picture to show.
    virtual pictures::PicturePrefetch& prefetch() = 0;

   protected:
    ~Host() = default;
  };

  SplashWindow(ui::Session& session, core::Settings& settings, Host& host);
  ~SplashWindow() override;
  void create();  // the window, hidden, with its countdown running

  // The picture control: at (0, 0) of the client area, as large as its picture (640 x 480 before one is loaded);
  // the window draws it. The pointer over it is the hourglass.
  class PictureControl {
   public:
    explicit PictureControl(SplashWindow& owner) : owner_(owner) {}
    // Raises ui::AppError with the picture holder's text; the control keeps its previous picture then.
    void loadFromFile(const std::wstring& path);
    int width() const { return width_; }
    int height() const { return height_; }
    pictures::Picture* picture() const { return picture_.get(); }

   private:
    SplashWindow& owner_;
    std::unique_ptr<pictures::Picture> picture_;
    int width_ = 640, height_ = 480;
  };

  // The message label: docked to the bottom of the client area at its full width, one line of its font high,
  // drawn over the picture. "&" marks a mnemonic, "&&" shows "&".
  class MessageLabel {
   public:
    explicit MessageLabel(SplashWindow& owner);
    const std::wstring& caption() const { return caption_; }
    void setCaption(const std::wstring& text);
    bool transparent() const { return transparent_; }
    void setTransparent(bool on);
    ui::Colour colour() const { return colour_; }
    void setColour(ui::Colour c);
    ui::Colour fontColour() const { return fontColour_; }
    void setFontColour(ui::Colour c);
    int fontHeight() const { return fontHeight_; }  // character height in pixels
    void setFontHeight(int pixels);
    int height() const { return height_; }  // one line of the font
    HFONT font() const { return font_.get(); }

   private:
    SplashWindow& owner_;
    std::wstring caption_;
    bool transparent_ = true;
    ui::Colour colour_ = 0x000000FF;
    ui::Colour fontColour_ = ui::kWindowText;
    int fontHeight_ = 0;
    int height_ = 0;
    ui::FontHandle font_;
  };

  PictureControl image{*this};
  ui::Timer countdown{session(), 1000, true};
  MessageLabel messageLabel{*this};

  void openOptions();  // double-click on the window or the picture, and F1: the countdown stops
  void showSequence();  // at the first showing: settings, translucency, picture, placement, message, countdown
  void applyTranslucency();  // from the settings' opacity; nothing where translucency is unavailable
  void handleKey(WORD& key);

  // Fades, by the settings' fade-in and fade-out times, where translucency is available and Windows shows
  // animations. A fade that is stopped leaves the window at its full alpha.
  bool fading() const { return fadeSteps_ && fadeSteps_->enabled(); }
  int32_t fadeLevel() const { return fadeLevel_; }  // 0 (transparent) to 255 (the translucency setting's alpha)
  void stopFade();

  // The message label's colours, also previewed from the option dialog. The window colour is the form's, and also
  // refreshes a per-pixel-alpha layer.
  void setMessageColour(ui::Colour c);
  void setMessageFontColour(ui::Colour c);
  void setColour(ui::Colour c);

  // The frame in the window colour on every side; the outer size stays, the client area shrinks by 2n.
  int borderWidth() const { return border_; }
  void setBorderWidth(int n);

  // Client-area rectangles of the two controls, with the vertical scroll position applied.
  RECT pictureRect() const;
  RECT messageRect() const;
  int scrollPosition() const { return scrollPos_; }

  // Whether the window shows its picture through a per-pixel-alpha layer (a picture with transparent pixels).
  bool showsThroughLayer() const { return layered_ != nullptr; }
  // Whether the show sequence found the layered-window entry: the window can be translucent.
  bool translucencyAvailable() const { return layeredEntry_ != nullptr; }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void paint(HDC dc, const RECT& clip) override;

 private:
  void layout();
  void paintClient(HDC dc, const RECT& area);
  void drawFrame(HDC windowDc);
  void scrollTo(int pos);
  void invalidateMessage();
  HBRUSH windowBrush();
  void placeOnMonitors();
  void drawMessage(HDC dc, const RECT& label);
  void drawMessageText(HDC dc, const RECT& label);
  void useLayerForTranslucentPicture();
  void refreshLayer();
  void updateLayer();
  int translucencyAlpha() const;
  bool fadesAllowed() const;
  void endDisplay();
  void startFade(int32_t from, int32_t to, int32_t durationMs);
  void stepFade();
  void showFadeLevel(int32_t level);

  core::Settings& settings_;
  Host& host_;
  // user32 as loaded by the show sequence, and its layered-window entry; both empty until it has found the entry.
  using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32Module_ = nullptr;
  SetLayeredWindowAttributesProc layeredEntry_ = nullptr;
  int border_ = 0;
  int scrollPos_ = 0;
  bool hasScrollBar_ = false;
  bool layingOut_ = false;
  bool shown_ = false;
  bool pictureFailureReported_ = false;
  bool pictureDeferred_ = false;  // parts of the picture off the desktop were left undrawn
  ui::Colour brushColour_ = 0;
  ui::BrushHandle brush_;
  ui::Colour frameColour_ = 0;
  std::unique_ptr<pictures::LayeredSurface> layered_;  // set while a picture with transparent pixels is shown
  core::Fade fade_;
  int32_t fadeLevel_ = core::kFadeFull;
  std::unique_ptr<ui::Timer> fadeSteps_;  // made with the first fade; runs only while one does
};

}  // namespace lumivex
