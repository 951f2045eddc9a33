// The option dialog: layout, the live settings in its controls, saving and the bottom buttons.
#include "dialogs/Uoption.h"

#include <commdlg.h>

#include "app/application.h"
#include "app/settings_file.h"
#include "core/message_list.h"
#include "core/paths.h"
#include "dialogs/Uabout.h"
#include "dialogs/Upos.h"
#include "dialogs/UstupFrm.h"
#include "splash/Usplash.h"
#include "ui/layout.h"
#include "ui/message_box.h"
#include "ui/text.h"

namespace lumivex {
namespace {

constexpr UINT kMessageCodePage = 932;
constexpr wchar_t kMessageFile[] = L"mes.txt";

bool isFile(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void writeMessageFile(const std::wstring& path, const std::vector<std::wstring>& lines) {
  std::vector<std::string> bytes;
  for (const auto& line : lines) bytes.push_back(ui::narrow(line, kMessageCodePage));
  const std::string text = core::formatMessageList(bytes);
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw ui::AppError(L"ファイル " + path + L" を作成できません");
  DWORD written = 0;
  const BOOL ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
  if (!ok || written != text.size()) throw ui::AppError(L"ファイル " + path + L" を作成できません");
}

std::vector<std::wstring> readMessageFile(const std::wstring& path) {
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
  std::vector<std::wstring> lines;
  for (const auto& line : core::parseMessageList(bytes)) lines.push_back(ui::widen(line, kMessageCodePage));
  return lines;
}

}  // namespace

TOption::TOption() = default;
TOption::~TOption() = default;

void TOption::create() {
  Form::create({L"Option", 532, 357, true, false, true, true, ui::kButtonFace});
  fEdit.readOnly = true;

  ui::createLayout({
      {guiLbl, *this, 498, 296, 0, 0, L"▲この位置にガイダンスが表示されます"},
      {Label3, *this, 16, 252, 0, 0, L"名前登録"},
      {Shape1, *this, 75, 251, 169, 20, L""},
      {Panel1, *this, 240, 312, 257, 41, L""},
      {okBtn, Panel1, 91, 8, 75, 25, L"OK"},
      {clsBtn, Panel1, 174, 8, 75, 25, L"Close"},
      {defBtn, Panel1, 8, 8, 75, 25, L"Default"},
      {iniBtn, Panel1, 91, 8, 75, 25, L"設定完了"},
      {GroupBox1, *this, 8, 16, 129, 65, L"スプラッシュ表示時間"},
      {L1, GroupBox1, 89, 29, 0, 0, L"秒"},
      {splSpn, GroupBox1, 20, 24, 61, 21, L"5"},
      {manuTxt, *this, 8, 278, 513, 16, L""},
      {GroupBox2, *this, 8, 152, 129, 89, L"画像選択"},
      {BitBtn1, GroupBox2, 27, 24, 75, 25, L"選択"},
      {fEdit, GroupBox2, 12, 64, 105, 18, L""},
      {GroupBox3, *this, 336, 16, 185, 185, L"起動時のメッセージ"},
      {L3, GroupBox3, 107, 130, 0, 0, L"文字色"},
      {Label1, GroupBox3, 107, 154, 0, 0, L"文字サイズ"},
      {mesCmb, GroupBox3, 8, 24, 169, 20, L""},
      {Panel2, GroupBox3, 16, 56, 153, 57, L""},
      {L2, Panel2, 91, 34, 0, 0, L"背景色"},
      {mesCol, Panel2, 27, 32, 57, 17, L""},
      {lblTrans, Panel2, 8, 8, 137, 17, L"メッセージ背景色あり"},
      {mesCol2, GroupBox3, 43, 128, 57, 17, L""},
      {fsizEdt, GroupBox3, 43, 152, 57, 21, L"12"},
      {GroupBox4, *this, 8, 88, 129, 57, L"ボーダー幅"},
      {bordSpn, GroupBox4, 20, 24, 61, 21, L"3"},
      {GroupBox5, *this, 144, 88, 185, 57, L"半透明効果"},
      {posLbl, GroupBox5, 9, 37, 0, 0, L""},
      {osLbl, GroupBox5, 8, 37, 0, 0, L"このOSはサポートされていません"},
      {ScrollBar1, GroupBox5, 12, 22, 161, 12, L""},
      {winposGrp, *this, 144, 152, 185, 89, L"表示位置"},
      {GroupBox6, *this, 144, 16, 185, 65, L"ウィンドウカラー"},
      {Label2, GroupBox6, 88, 29, 0, 0, L"ウィンドウカラー"},
      {smpTxt, GroupBox6, 30, 24, 45, 25, L""},
      {BitBtn2, *this, 72, 320, 75, 25, L"About"},
      {stUp, *this, 368, 216, 123, 25, L"スタートアップに登録"},
      {posBtn, *this, 248, 176, 75, 25, L"位置設定"},
      {nameEdt, *this, 72, 248, 169, 20, L""},
  });


  // The shadow lies behind the name box and must not paint over it.
  SetWindowLongW(Shape1.hwnd(), GWL_STYLE, GetWindowLongW(Shape1.hwnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
  okBtn.setGlyph(L"BBOK");
  clsBtn.setGlyph(L"BBCANCEL");
  defBtn.setGlyph(L"BBDEFAULT");
  BitBtn2.setGlyph(L"BBABOUT");
  okBtn.modalResult = ui::kResultOk;
  okBtn.setDefault(true);
  clsBtn.modalResult = ui::kResultCancel;
  setCancelButton(&clsBtn);
  iniBtn.setVisible(false);
  splSpn.setMaxLength(3);
  bordSpn.setMaxLength(1);
  nameEdt.setMaxLength(30);
  osLbl.setVisible(false);
  winposGrp.setItems({L"中央に表示", L"任意の場所に表示"});
  winposGrp.setItemIndex(0);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&lblTrans, &smpTxt, &mesCol, &mesCol2})
    c->handCursor = true;
  setTabOrder({&Panel1, &GroupBox1, &manuTxt, &GroupBox2, &GroupBox3, &GroupBox4, &GroupBox5, &winposGrp, &GroupBox6,
               &BitBtn2, &stUp, &posBtn, &nameEdt});

  OpenD.title = L"画像を選択して下さい";
  OpenD.filter = L"BITMAP|*.bmp|JPEG|*.jpg|PNG|*.png";
  OpenD.flags = OFN_READONLY | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT;
  OpenD.flagsEx = OFN_EX_NOPLACESBAR;
  ColorD.colour = 0x000000;

  onShow = [this] { FormShow(); };
  okBtn.onClick = [this] { okBtnClick(); };
  clsBtn.onClick = [this] { clsBtnClick(); };
  defBtn.onClick = [this] { defBtnClick(); };
  iniBtn.onClick = [this] { iniBtnClick(); };
  BitBtn1.onClick = [this] { BitBtn1Click(); };
  smpTxt.onClick = [this] { smpTxtClick(); };
  mesCol.onClick = [this] { mesColClick(); };
  mesCol2.onClick = [this] { mesCol2Click(); };
  lblTrans.onClick = [this] { lblTransClick(); };
  ScrollBar1.onChange = [this] { ScrollBar1Change(); };
  mesCmb.onChange = [this] { mesCmbChange(); };
  winposGrp.onClick = [this] { winposGrpClick(); };
  posBtn.onClick = [this] { posBtnClick(); };
  stUp.onClick = [this] { stUpClick(); };
  BitBtn2.onClick = [this] { BitBtn2Click(); };
  setUpGuidance();

  // L2 and mesCol follow the check box from the start.
  lblTransClick();
  FormCreate();
}

void TOption::FormCreate() {
  programFolder = core::programFolderOf(app::exePath());
  OpenD.defaultExtension = L"bmp";
}

void TOption::FormShow() {
  defaultMessages = std::make_unique<std::vector<std::wstring>>(
      std::vector<std::wstring>{L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"});
  fEdit.setText(core::fileNamePart(picturePath));
  programFolder = core::programFolderOf(app::exePath());
  OpenD.initialDir = core::joinFolder(programFolder, L"pic\\*.bmp");
  OpenD.fileName = OpenD.initialDir;
  posLbl.setText(ui::decimal(ScrollBar1.position()) + L"%");
  Timer1.setEnabled(true);

  const std::wstring messagePath = core::joinFolder(programFolder, kMessageFile);
  if (!isFile(messagePath)) {
    ui::showNotice(L"メッセージファイルが見つかりません\n\rメッセージファイルを生成します。");
    writeMessageFile(messagePath, *defaultMessages);
  }
  mesCmb.setItems(readMessageFile(messagePath));
  winposGrpClick();
}

void TOption::okBtnClick() {
  splash->Timer1.setEnabled(true);
  WriteEnv();
  defaultMessages.reset();
  // The button's modal result already ends a modal showing; closing again would turn it into Cancel.
  if (modalResult() == ui::kNoResult) close();
}

void TOption::clsBtnClick() {
  close();
  splash->Timer1.setEnabled(true);
}

void TOption::defBtnClick() {
  splSpn.setValue(5);
  bordSpn.setValue(3);
  mesCmb.setText(L"");
  ScrollBar1.setPosition(100);
  smpTxt.setColour(ui::kButtonFace);
  lblTrans.setChecked(false);
  mesCol.setColour(ui::kButtonFace);
  mesCol2.setColour(0x000000);
  winposGrp.setItemIndex(0);
  fsizEdt.setValue(12);
}

void TOption::iniBtnClick() {
  if (fEdit.text().empty()) {
    ui::showNotice(L"画像が選択されていません");
    return;
  }
  // Saved before the completion notice: a refused write must not be announced as a finished setup.
  WriteEnv();
  ui::showNotice(
      L"初回の設定が完了しました。\n\r\n\r次回からはスプラッシュロゴをダブルクリックで\n\rオプション設定を呼び出せます。");
  defaultMessages.reset();
  close();
  splash->close();
}

void TOption::BitBtn1Click() {
  if (OpenD.run(hwnd())) picturePath = OpenD.fileName;
  fEdit.setText(core::fileNamePart(picturePath));
}

void TOption::chooseColour(ui::ColourSwatch& swatch, void (*applyToSplash)(ui::Colour)) {
  if (!ColorD.run(hwnd())) return;
  applyToSplash(ColorD.colour);
  swatch.setColour(ColorD.colour);
}

void TOption::smpTxtClick() {
  chooseColour(smpTxt, [](ui::Colour c) { splash->setColour(c); });
}

void TOption::mesColClick() {
  chooseColour(mesCol, [](ui::Colour c) { splash->setMessageColour(c); });
}

void TOption::mesCol2Click() {
  chooseColour(mesCol2, [](ui::Colour c) { splash->setMessageFontColour(c); });
}

void TOption::lblTransClick() {
  const bool on = lblTrans.checked();
  L2.setEnabled(on);
  mesCol.setEnabled(on);
}

void TOption::ScrollBar1Change() {
  const std::wstring percent = ui::decimal(ScrollBar1.position()) + L"%";
  ScrollBar1.setHint(percent);
  posLbl.setText(percent);
  splash->ScrollBar1Change();
}

void TOption::mesCmbChange() { mesCmb.setHint(mesCmb.text()); }

void TOption::winposGrpClick() {
  if (winposGrp.itemIndex() == 0) posBtn.setEnabled(false);
  else if (winposGrp.itemIndex() == 1) posBtn.setEnabled(true);
}

void TOption::posBtnClick() { posFrm->showModal(); }
void TOption::stUpClick() { stupFrm->showModal(); }
void TOption::BitBtn2Click() { About->showModal(); }

void TOption::WriteEnv() {
  const app::SettingsFile& f = *app::settingsFile();
  f.writeInteger("Window", "Top", splash->top());
  f.writeInteger("Window", "Left", splash->left());
  f.writeInteger("option", "splashtime", splSpn.value());
  f.writeInteger("option", "b_size", bordSpn.value());
  f.writeInteger("option", "trans", ScrollBar1.position());
  f.writeInteger("option", "colo", smpTxt.colour());
  f.writeInteger("option", "bcol", mesCol.colour());
  f.writeInteger("option", "fcol", mesCol2.colour());
  f.writeInteger("option", "winpos", winposGrp.itemIndex());
  f.writeInteger("option", "fsiz", fsizEdt.value());
  f.writeBool("option", "lbltrans", lblTrans.checked());
  f.writeString("message", "message", mesCmb.text());
  f.writeString("pic", "picture", picturePath);
  f.writeString("option", "name", nameEdt.text());
  f.flush();
}

}  // namespace lumivex
