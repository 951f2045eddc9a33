// The option dialog: layout, the controls bound to the live settings, and the bottom buttons.
#include "dialogs/option_dialog.h"

#include <commdlg.h>

#include "core/error_text.h"
#include "core/message_list.h"
#include "core/paths.h"
#include "ui/files.h"
#include "ui/folder_access.h"
#include "ui/layout.h"
#include "ui/message_box.h"
#include "ui/text.h"

namespace lumivex {
namespace {

constexpr UINT kMessageCodePage = 932;
constexpr wchar_t kMessageFile[] = L"mes.txt";

std::wstring fromCodePage932(std::string_view bytes) { return ui::widen(bytes, kMessageCodePage); }
std::string toCodePage932(std::wstring_view text) { return ui::narrow(text, kMessageCodePage); }

// A failure to create the file says what to do where the folder cannot be written.
void writeMessageFile(const std::wstring& path, const core::MessageList& list) {
  const std::string text = core::writeMessageList(list, toCodePage932);
  const auto failed = [&path] {
    return ui::AppError(core::withWriteAdvice(L"ファイル " + path + L" を作成できません",
                                              ui::folderAccess(core::programFolderOf(path))));
  };
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw failed();
  DWORD written = 0;
  const BOOL ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  if (!ok || written != text.size()) throw failed();
}

core::MessageList readMessageFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw ui::AppError(L"ファイル " + path + L" は開けません");
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  BOOL ok = TRUE;
  while ((ok = ReadFile(f, buffer, sizeof(buffer), &got, nullptr)) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  if (!ok) throw ui::AppError(L"ファイル " + path + L" は開けません");
  return core::readMessageList(bytes, fromCodePage932);
}

}  // namespace

// A colour swatch, the setting it shows and the splash window's colour it previews.
struct OptionDialog::SwatchBinding {
  ui::ColourSwatch OptionDialog::*swatch;
  int32_t core::Settings::*setting;
  void (SplashPreview::*preview)(ui::Colour);
};

struct OptionDialog::SwatchBindings {
  SwatchBinding windowColour, messageBackground, messageTextColour;
};

const OptionDialog::SwatchBindings OptionDialog::kSwatches{
    {&OptionDialog::windowColourSwatch, &core::Settings::windowColour, &SplashPreview::previewWindowColour},
    {&OptionDialog::messageBackgroundSwatch, &core::Settings::messageBackColour, &SplashPreview::previewMessageColour},
    {&OptionDialog::messageTextColourSwatch, &core::Settings::messageTextColour,
     &SplashPreview::previewMessageTextColour},
};

OptionDialog::OptionDialog(ui::Session& session, core::Settings& settings, OptionDialogHost& host,
                           SplashPreview& preview, std::wstring exePath)
    : Form(session), OptionDialogControls(static_cast<ui::Form&>(*this)),
      settings_(settings), host_(host), preview_(preview), programFolder_(core::programFolderOf(exePath)) {}
OptionDialog::~OptionDialog() = default;

void OptionDialog::create() {
  layOut();
  wireHandlers();
  bindSettings();
}

// The window and its controls in their design places, with what never changes about them.
void OptionDialog::layOut() {
  Form::create(ui::fixedDialogStyle(L"Option", 532, 357));
  pictureNameEdit.readOnly = true;

  ui::createLayout({
      {guidancePointer, *this, 498, 296, 0, 0, L"▲この位置にガイダンスが表示されます"},
      {userNameLabel, *this, 16, 252, 0, 0, L"名前登録"},
      {userNameShadow, *this, 75, 251, 169, 20, L""},
      {bottomButtons, *this, 240, 312, 257, 41, L""},
      {okButton, bottomButtons, 91, 8, 75, 25, L"OK"},
      {closeButton, bottomButtons, 174, 8, 75, 25, L"Close"},
      {defaultButton, bottomButtons, 8, 8, 75, 25, L"Default"},
      {setupCompleteButton, bottomButtons, 91, 8, 75, 25, L"設定完了"},
      {displayTimeGroup, *this, 8, 16, 129, 65, L"スプラッシュ表示時間"},
      {secondsLabel, displayTimeGroup, 89, 29, 0, 0, L"秒"},
      {displaySecondsEdit, displayTimeGroup, 20, 24, 61, 21, L"5"},
      {guidanceLine, *this, 8, 278, 513, 16, L""},
      {pictureGroup, *this, 8, 152, 129, 89, L"画像選択"},
      {choosePictureButton, pictureGroup, 27, 24, 75, 25, L"選択"},
      {pictureNameEdit, pictureGroup, 12, 64, 105, 18, L""},
      {messageGroup, *this, 336, 16, 185, 185, L"起動時のメッセージ"},
      {messageTextColourLabel, messageGroup, 107, 130, 0, 0, L"文字色"},
      {fontSizeLabel, messageGroup, 107, 154, 0, 0, L"文字サイズ"},
      {messageCombo, messageGroup, 8, 24, 169, 20, L""},
      {messageBackgroundPanel, messageGroup, 16, 56, 153, 57, L""},
      {messageBackgroundLabel, messageBackgroundPanel, 91, 34, 0, 0, L"背景色"},
      {messageBackgroundSwatch, messageBackgroundPanel, 27, 32, 57, 17, L""},
      {messageBackgroundCheck, messageBackgroundPanel, 8, 8, 137, 17, L"メッセージ背景色あり"},
      {messageTextColourSwatch, messageGroup, 43, 128, 57, 17, L""},
      {fontSizeEdit, messageGroup, 43, 152, 57, 21, L"12"},
      {borderGroup, *this, 8, 88, 129, 57, L"ボーダー幅"},
      {borderWidthEdit, borderGroup, 20, 24, 61, 21, L"3"},
      {translucencyGroup, *this, 144, 88, 185, 57, L"半透明効果"},
      {translucencyPercentLabel, translucencyGroup, 9, 37, 0, 0, L""},
      {translucencyUnsupportedLabel, translucencyGroup, 8, 37, 0, 0, L"このOSはサポートされていません"},
      {translucencySlider, translucencyGroup, 12, 22, 161, 12, L""},
      {placementGroup, *this, 144, 152, 185, 89, L"表示位置"},
      {windowColourGroup, *this, 144, 16, 185, 65, L"ウィンドウカラー"},
      {windowColourLabel, windowColourGroup, 88, 29, 0, 0, L"ウィンドウカラー"},
      {windowColourSwatch, windowColourGroup, 30, 24, 45, 25, L""},
      {aboutButton, *this, 72, 320, 75, 25, L"About"},
      {startupRegistrationButton, *this, 368, 216, 123, 25, L"スタートアップに登録"},
      {positionButton, *this, 248, 176, 75, 25, L"位置設定"},
      {userNameEdit, *this, 72, 248, 169, 20, L""},
      {effectsButton, *this, 368, 247, 123, 25, L"効果設定"},
  });

  // The shadow lies behind the name box and must not paint over it.
  SetWindowLongW(userNameShadow.hwnd(), GWL_STYLE, GetWindowLongW(userNameShadow.hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
  okButton.setGlyph(L"BBOK");
  closeButton.setGlyph(L"BBCANCEL");
  defaultButton.setGlyph(L"BBDEFAULT");
  aboutButton.setGlyph(L"BBABOUT");
  okButton.modalResult = ui::kResultOk;
  okButton.setDefault(true);
  closeButton.modalResult = ui::kResultCancel;
  setCancelButton(&closeButton);
  setupCompleteButton.setVisible(false);
  displaySecondsEdit.setMaxLength(3);
  borderWidthEdit.setMaxLength(1);
  userNameEdit.setMaxLength(30);
  translucencyUnsupportedLabel.setVisible(false);
  placementGroup.setItems({L"中央に表示", L"任意の場所に表示"});
  placementGroup.setItemIndex(0);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&messageBackgroundCheck, &windowColourSwatch,
                                                           &messageBackgroundSwatch, &messageTextColourSwatch})
    c->handCursor = true;
  setTabOrder({&bottomButtons, &displayTimeGroup, &guidanceLine, &pictureGroup, &messageGroup, &borderGroup,
               &translucencyGroup, &placementGroup, &windowColourGroup, &aboutButton, &startupRegistrationButton,
               &positionButton, &userNameEdit});

  pictureChooser.title = L"画像を選択して下さい";
  pictureChooser.filter = L"BITMAP|*.bmp|JPEG|*.jpg|PNG|*.png";
  pictureChooser.flags = OFN_READONLY | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT;
  pictureChooser.flagsEx = OFN_EX_NOPLACESBAR;
  pictureChooser.defaultExtension = L"bmp";
  colourChooser.colour = 0x000000;
}

void OptionDialog::wireHandlers() {
  onShow = [this] { onShowing(); };
  okButton.onClick = [this] { onOkClicked(); };
  closeButton.onClick = [this] { onCloseClicked(); };
  defaultButton.onClick = [this] { onDefaultClicked(); };
  setupCompleteButton.onClick = [this] { onSetupCompleteClicked(); };
  choosePictureButton.onClick = [this] { onChoosePictureClicked(); };
  for (const SwatchBinding* b : {&kSwatches.windowColour, &kSwatches.messageBackground, &kSwatches.messageTextColour})
    (this->*b->swatch).onClick = [this, b] { chooseColour(*b); };
  messageBackgroundCheck.onClick = [this] { onMessageBackgroundToggled(); };
  translucencySlider.onChange = [this] { onTranslucencyChanged(); };
  messageCombo.onChange = [this] { onMessageTextChanged(); };
  placementGroup.onClick = [this] { onPlacementChanged(); };
  positionButton.onClick = [this] { host_.showPositionDialog(); };
  startupRegistrationButton.onClick = [this] { host_.showStartupRegistration(); };
  aboutButton.onClick = [this] { host_.showAbout(); };
  effectsButton.onClick = [this] { onEffectsClicked(); };
  setUpGuidance();
}

// In the settings file's order, as a load would set them: each setter runs its control's change reaction only when
// the value differs from the layout's.
void OptionDialog::takeValuesFromSettings() {
  const core::Settings s = settings_;
  displaySecondsEdit.setValue(s.displaySeconds);
  borderWidthEdit.setValue(s.borderWidth);
  translucencySlider.setPosition(s.opacityPercent);
  windowColourSwatch.setColour(s.windowColour);
  messageBackgroundSwatch.setColour(s.messageBackColour);
  messageTextColourSwatch.setColour(s.messageTextColour);
  placementGroup.setItemIndex(s.placement);
  fontSizeEdit.setValue(s.messageFontSize);
  messageBackgroundCheck.setChecked(s.messageHasBackground);
  messageCombo.setText(s.message);
  userNameEdit.setText(s.userName);
}

// The controls take their values from the settings; from then on the settings follow every change of the controls,
// by the user or by the program.
void OptionDialog::bindSettings() {
  // The background label and swatch follow the check box from the start.
  onMessageBackgroundToggled();
  takeValuesFromSettings();
  const auto follow = [](std::function<void()>& event, std::function<void()> store) {
    event = [before = std::move(event), store = std::move(store)] {
      store();
      if (before) before();
    };
  };
  follow(displaySecondsEdit.onChange, [this] { settings_.displaySeconds = displaySecondsEdit.value(); });
  follow(borderWidthEdit.onChange, [this] { settings_.borderWidth = borderWidthEdit.value(); });
  follow(fontSizeEdit.onChange, [this] { settings_.messageFontSize = fontSizeEdit.value(); });
  follow(placementGroup.onClick, [this] { settings_.placement = placementGroup.itemIndex(); });
  follow(messageBackgroundCheck.onClick, [this] { settings_.messageHasBackground = messageBackgroundCheck.checked(); });
  follow(messageCombo.onChange, [this] { settings_.message = messageCombo.text(); });
  follow(userNameEdit.onChange, [this] { settings_.userName = userNameEdit.text(); });
}

void OptionDialog::showFirstRunButtons() {
  setupCompleteButton.setVisible(true);
  defaultButton.setVisible(false);
  closeButton.setVisible(false);
  okButton.setVisible(false);
}

void OptionDialog::showTranslucencyUnsupported() {
  translucencySlider.setEnabled(false);
  translucencyUnsupportedLabel.setVisible(true);
}

void OptionDialog::onShowing() {
  defaultMessages = std::make_unique<std::vector<std::wstring>>(
      std::vector<std::wstring>{L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"});
  pictureNameEdit.setText(core::fileNamePart(settings_.picturePath));
  pictureChooser.initialDir = core::joinFolder(programFolder_, L"pic\\*.bmp");
  pictureChooser.fileName = pictureChooser.initialDir;
  translucencyPercentLabel.setText(ui::decimal(translucencySlider.position()) + L"%");
  guidanceSlide.setEnabled(true);

  // Whatever fails with the message file, the dialog is set up whole and the failure is shown after that: a file
  // that cannot be created leaves the default lines in the list, one that cannot be read leaves the list as it was.
  std::wstring failure;
  const std::wstring messagePath = core::joinFolder(programFolder_, kMessageFile);
  try {
    if (!ui::isFile(messagePath)) {
      session().showNotice(L"メッセージファイルが見つかりません\n\rメッセージファイルを生成します。");
      messageCombo.setItems(*defaultMessages);
      writeMessageFile(messagePath, core::MessageList{core::TextEncoding::CodePage932, *defaultMessages});
    }
    messageCombo.setItems(readMessageFile(messagePath).lines);
  } catch (const ui::AppError& e) {
    failure = e.text();
  }
  onPlacementChanged();
  if (!failure.empty()) session().showError(failure);
}

// A save that fails keeps the dialog open with everything the user edited, and the splash waiting.
void OptionDialog::onOkClicked() {
  try {
    host_.saveSettings();
  } catch (...) {
    setModalResult(ui::kNoResult);
    throw;
  }
  host_.restartSplashCountdown();
  defaultMessages.reset();
  // The button's modal result already ends a modal showing; closing again would turn it into Cancel.
  if (modalResult() == ui::kNoResult) close();
}

void OptionDialog::onCloseClicked() {
  close();
  host_.restartSplashCountdown();
}

// Every value the dialog shows, and the fade times, back to a first run's; the picture and the name stay.
void OptionDialog::onDefaultClicked() {
  const core::Settings first;
  displaySecondsEdit.setValue(first.displaySeconds);
  borderWidthEdit.setValue(first.borderWidth);
  messageCombo.setText(first.message);
  translucencySlider.setPosition(first.opacityPercent);
  setSwatch(kSwatches.windowColour, first.windowColour);
  messageBackgroundCheck.setChecked(first.messageHasBackground);
  setSwatch(kSwatches.messageBackground, first.messageBackColour);
  setSwatch(kSwatches.messageTextColour, first.messageTextColour);
  placementGroup.setItemIndex(first.placement);
  fontSizeEdit.setValue(first.messageFontSize);
  settings_.fadeInMs = first.fadeInMs;
  settings_.fadeOutMs = first.fadeOutMs;
}

void OptionDialog::onSetupCompleteClicked() {
  if (pictureNameEdit.text().empty()) {
    session().showNotice(L"画像が選択されていません");
    return;
  }
  // Saved before the completion notice: a refused write must not be announced as a finished setup.
  host_.saveSettings();
  session().showNotice(
      L"初回の設定が完了しました。\n\r\n\r次回からはスプラッシュロゴをダブルクリックで\n\rオプション設定を呼び出せます。");
  defaultMessages.reset();
  close();
  host_.finishFirstRun();
}

void OptionDialog::onChoosePictureClicked() {
  // A picture in the program folder is kept relative to it, so the settings file serves every copy of the program.
  if (session().services().choose(pictureChooser, hwnd()))
    settings_.picturePath = core::relativeToFolder(programFolder_, pictureChooser.fileName);
  pictureNameEdit.setText(core::fileNamePart(settings_.picturePath));
}

// The chooser opens with the colour confirmed last in any swatch; a confirmed colour goes to the splash window
// first, then to the swatch and the settings.
void OptionDialog::chooseColour(const SwatchBinding& b) {
  if (!session().services().choose(colourChooser, hwnd())) return;
  (preview_.*b.preview)(colourChooser.colour);
  setSwatch(b, colourChooser.colour);
}

void OptionDialog::setSwatch(const SwatchBinding& b, ui::Colour c) {
  (this->*b.swatch).setColour(c);
  settings_.*b.setting = c;
}

void OptionDialog::onMessageBackgroundToggled() {
  const bool on = messageBackgroundCheck.checked();
  messageBackgroundLabel.setEnabled(on);
  messageBackgroundSwatch.setEnabled(on);
}

void OptionDialog::onTranslucencyChanged() {
  const std::wstring percent = ui::decimal(translucencySlider.position()) + L"%";
  translucencySlider.setHint(percent);
  translucencyPercentLabel.setText(percent);
  settings_.opacityPercent = translucencySlider.position();
  preview_.previewTranslucency();
}

void OptionDialog::onMessageTextChanged() { messageCombo.setHint(messageCombo.text()); }

void OptionDialog::onEffectsClicked() {
  if (const auto times = host_.editFadeTimes({settings_.fadeInMs, settings_.fadeOutMs})) {
    settings_.fadeInMs = times->fadeInMs;
    settings_.fadeOutMs = times->fadeOutMs;
  }
}

void OptionDialog::onPlacementChanged() {
  if (placementGroup.itemIndex() == 0) positionButton.setEnabled(false);
  else if (placementGroup.itemIndex() == 1) positionButton.setEnabled(true);
}

}  // namespace lumivex
