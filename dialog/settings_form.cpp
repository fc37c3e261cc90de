#include "dialog/settings_form.h"

#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <optional>

#include "common/dialog_effects.h"
#include "forms/dpi.h"
#include "forms/folder_browser.h"
#include "forms/picture_loader.h"
#include "forms/process.h"
#include "images/image_scan.h"
#include "images/preview_picture.h"
#include "images/shown_name.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace dialog {

namespace {

// The panels' own colour, which the tiling covers everywhere.
constexpr COLORREF kPanelBackground = RGB(128, 128, 128);
constexpr COLORREF kPicKBackground = RGB(224, 224, 224);
// EDGE_RAISED draws two lines on each side.
constexpr int kRaisedEdgeWidth = 2;
constexpr const wchar_t* kBrowseTitle = L"ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください";
constexpr const wchar_t* kProgramTitle = L"Rubblit";
// A path that the system's code page cannot say, not even in its short form.
constexpr const wchar_t* kFileUnsaidText =
    L"設定ﾌｧｲﾙのﾌｫﾙﾀﾞ名に このｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字が含まれているため、設定を保存できませんでした。";
constexpr const wchar_t* kFolderUnsaidText =
    L"画像のﾌｫﾙﾀﾞ名に このｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字が含まれているため、ﾌｫﾙﾀﾞを保存できませんでした。";
// How often the count is shown, and the dialog's messages run, while a folder is scanned: often
// enough to see it count, rarely enough that painting does not slow a folder of thousands.
constexpr DWORD kCountIntervalMs = 50;

// The hourglass while the form works, kept over its panels until the work ends; the arrow then.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) {
    busy_ = true;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  }
  ~BusyScope() {
    busy_ = false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

// The hourglass and a hidden preview box while a picture loads; the box and the arrow come back
// however the preview ends.
class PreviewScope {
 public:
  PreviewScope(HWND box, bool& busy) : busy_(busy), box_(box) {
    if (box_) ::ShowWindow(box_, SW_HIDE);
  }
  ~PreviewScope() {
    if (box_) ::ShowWindow(box_, SW_SHOW);
  }
  PreviewScope(const PreviewScope&) = delete;
  PreviewScope& operator=(const PreviewScope&) = delete;

 private:
  BusyScope busy_;
  HWND box_;
};

// Sets a flag for as long as it lives.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

forms::Font LabelFont(int height, bool underlined) {
  return forms::Font(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                   L"ＭＳ Ｐゴシック"));
}

RECT ToRect(const PixelRect& rect) { return RECT{rect.left, rect.top, rect.left + rect.width, rect.top + rect.height}; }

}  // namespace

SettingsForm::SettingsForm(CommonModule& common, HMODULE resources)
    : common_(common), resources_(resources ? resources : ::GetModuleHandleW(nullptr)) {}

SettingsForm::~SettingsForm() { Destroy(); }

void SettingsForm::ShowModal() {
  if (!Load()) return;
  ::ShowWindow(handle(), SW_SHOWNORMAL);
  ::UpdateWindow(handle());
  forms::RunUntilLastFormCloses();
}

bool SettingsForm::Load() {
  // The primary monitor's, where the window opens; the window itself tells once it is made.
  dpi_ = forms::PrimaryMonitorDpi();
  layout_ = LayOutDialog(dpi_);
  skin_ = LoadSkin(resources_);
  MakeFonts(dpi_);
  look_.hand = ::LoadCursorW(resources_, MAKEINTRESOURCEW(IDC_HAND_POINTER));
  icon_ = static_cast<HICON>(::LoadImageW(resources_, MAKEINTRESOURCEW(IDI_RUBBLIT), IMAGE_ICON, 32, 32, LR_SHARED));

  const PixelRect window = WindowRectAt(dpi_);
  CreateOptions options;
  options.className = L"RubblitSettingsForm";
  options.caption = L"Rubblitの設定";
  options.style = kWindowStyle;
  options.left = window.left;
  options.top = window.top;
  options.width = window.width;
  options.height = window.height;
  options.icon = icon_;
  if (!Create(options)) return false;
  FitClientArea();

  SkinPanel::Options panel;
  panel.look = &look_;
  panel.events = this;
  panel.twipsPerPixelX = panel.twipsPerPixelY = layout_.twipsPerPixel;
  panel.parent = handle();
  panel.rect = layout_.picC;
  panel.background = kPanelBackground;
  panel.rows = &PanelElements(PanelId::Pic_C);
  if (!Pic_C.Load(panel)) return false;
  panel.parent = Pic_C.handle();
  panel.rect = layout_.rightPanel;
  panel.rows = &PanelElements(PanelId::RightPanel);
  if (!rightPanel_.Load(panel)) return false;
  panel.rect = layout_.leftPanel;
  panel.rows = &PanelElements(PanelId::LeftPanel);
  if (!leftPanel_.Load(panel)) return false;
  panel.parent = leftPanel_.handle();
  panel.rect = layout_.picK;
  panel.background = kPicKBackground;
  panel.rows = nullptr;
  if (!Pic_K.Load(panel)) return false;

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const PixelRect& list = layout_.list;
  List_1 = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                             list.left, list.top, list.width, list.height, leftPanel_.handle(), nullptr, instance,
                             nullptr);
  if (List_1) ::SendMessageW(List_1, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
  const PixelRect& speed = layout_.speed;
  HS_Speed = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ, speed.left,
                               speed.top, speed.width, speed.height, rightPanel_.handle(), nullptr, instance, nullptr);
  if (HS_Speed) {
    SCROLLINFO range{};
    range.cbSize = sizeof range;
    range.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    range.nMin = kSpeedMinimum;
    range.nMax = kSpeedMaximum;
    range.nPos = kSpeedMinimum;
    ::SetScrollInfo(HS_Speed, SB_CTL, &range, FALSE);
  }

  // Wide enough to scroll to the end of a long name.
  if (List_1) ::SendMessageW(List_1, LB_SETHORIZONTALEXTENT, layout_.listExtent, 0);
  TileBackground(Pic_C);
  TileBackground(rightPanel_);
  TileBackground(leftPanel_);
  for (std::int16_t i = 0; i <= 6; ++i) SetPicture(Role::Img_H, i, skin_.Img_TT ? &*skin_.Img_TT : nullptr);
  for (std::int16_t i = 0; i <= 3; ++i) SetPicture(Role::Img_Button, i, StatePicture(skin_.Img_O_button, true));
  // A value other than 0 or 1 leaves both pictures of its selector empty.
  for (std::int16_t i = 0; i <= 1; ++i) {
    if (auto on = OptionPicture(common_.settings.ChangeOrder, i)) SetPicture(Role::Img_SR, i, StatePicture(skin_.Img_Opt, *on));
    if (auto on = OptionPicture(common_.settings.ImageSize, i)) SetPicture(Role::Img_Size, i, StatePicture(skin_.Img_Opt, *on));
  }
  ShowImageFiles();
  SetCaption(Role::lbl_PreSize, 0, L"");
  SetCaption(Role::Folder_Path, 0, common_.settings.ImageFolder);
  for (std::int16_t n = 0; n <= 3; ++n) {
    if (auto on = CheckPicture(common_.settings.ImageKind[static_cast<std::size_t>(n)])) {
      SetPicture(Role::Img_Kind, n, StatePicture(skin_.Img_Ra, *on));
    }
  }
  // A speed the scroll bar cannot show opens at its lowest value.
  if (HS_Speed) ::SetScrollPos(HS_Speed, SB_CTL, SpeedScrollValue(common_.settings.Speed), TRUE);
  ShowSpeed();
  DrawBoxEdge(Pic_K.image(), kRaisedEdge);
  // The tables give their elements the hand; List_1 is a window of its own.
  leftPanel_.SetHandControl(List_1);
  // Both animations run between the dialog and where the pointer was now.
  POINT pointer{};
  if (::GetCursorPos(&pointer)) {
    common_.OpenPointX = static_cast<std::int16_t>(pointer.x);
    common_.OpenPointY = static_cast<std::int16_t>(pointer.y);
  } else {
    common_.OpenPointX = common_.OpenPointY = 0;
  }
  // A primary monitor that the system scales otherwise than it says: the window's own dpi rules.
  if (const int dpi = forms::WindowDpi(handle()); dpi != dpi_) ApplyDpi(dpi, nullptr);
  AnimateOpen(handle(), common_.OpenPointX, common_.OpenPointY);
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

void SettingsForm::MakeFonts(int dpi) {
  forms::Font label = LabelFont(layout_.labelFontHeight, false);
  forms::Font underlined = LabelFont(layout_.labelFontHeight, true);
  forms::Font window = forms::WindowFontAt(dpi);
  look_.labelFont = label.get();
  look_.underlinedFont = underlined.get();
  look_.windowFont = window ? window.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  // The list lets go of its font before that font goes.
  if (List_1) ::SendMessageW(List_1, WM_SETFONT, reinterpret_cast<WPARAM>(label.get()), FALSE);
  labelFont_ = std::move(label);
  underlinedFont_ = std::move(underlined);
  windowFont_ = std::move(window);
}

PixelRect SettingsForm::WindowRectAt(int dpi) const {
  const RECT frame = forms::WindowFrame(kWindowStyle, 0, dpi);
  const PixelRect picC = LayOutDialog(dpi).picC;
  return SettingsWindowRect(picC.width, picC.height, FrameInsets{-frame.left, -frame.top, frame.right, frame.bottom},
                            ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

void SettingsForm::ApplyDpi(int dpi, const RECT* window) {
  if (dpi <= 0 || !handle()) return;
  dpi_ = dpi;
  layout_ = LayOutDialog(dpi);
  MakeFonts(dpi);
  const RECT placed = window ? *window : ToRect(WindowRectAt(dpi));
  ::SetWindowPos(handle(), nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  FitClientArea();

  const double twips = layout_.twipsPerPixel;
  Pic_C.Rescale(layout_.picC, twips, twips);
  rightPanel_.Rescale(layout_.rightPanel, twips, twips);
  leftPanel_.Rescale(layout_.leftPanel, twips, twips);
  for (SkinPanel* panel : {&Pic_C, &rightPanel_, &leftPanel_}) TileBackground(*panel);
  // The preview keeps its picture, stretched inside a new edge, in the box that fits it now.
  PixelRect box = layout_.picK;
  if (previewed_) {
    const PreviewFit fit = FitPreview(previewed_->first, previewed_->second, layout_.picK.width);
    box.width = fit.boxWidth;
    box.height = fit.boxHeight;
  }
  Pic_K.Rescale(box, twips, twips, kRaisedEdgeWidth);
  DrawBoxEdge(Pic_K.image(), kRaisedEdge);
  Pic_K.Refresh();

  if (List_1) {
    ::SetWindowPos(List_1, nullptr, layout_.list.left, layout_.list.top, layout_.list.width, layout_.list.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(List_1, LB_SETHORIZONTALEXTENT, layout_.listExtent, 0);
    ::InvalidateRect(List_1, nullptr, TRUE);
  }
  if (HS_Speed) {
    ::SetWindowPos(HS_Speed, nullptr, layout_.speed.left, layout_.speed.top, layout_.speed.width, layout_.speed.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(handle(), nullptr, TRUE);
}

void SettingsForm::FitClientArea() {
  RECT client{}, window{};
  if (!::GetClientRect(handle(), &client) || !::GetWindowRect(handle(), &window)) return;
  const int wider = layout_.picC.width - client.right, taller = layout_.picC.height - client.bottom;
  if (wider == 0 && taller == 0) return;
  ::SetWindowPos(handle(), nullptr, 0, 0, window.right - window.left + wider, window.bottom - window.top + taller,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsForm::PaintSurround(HDC dc) const {
  if (!dc || !skin_.Pic_Mbl) return;
  RECT client{};
  ::GetClientRect(handle(), &client);
  // Tiled from the same corner as Pic_C, so that its texture simply goes on.
  const forms::LoadedPicture& tile = *skin_.Pic_Mbl;
  for (const TilePosition& at : TilePositions(client.right, client.bottom, tile.width(), tile.height())) {
    ::BitBlt(dc, at.x, at.y, tile.width(), tile.height(), tile.dc(), 0, 0, SRCCOPY);
  }
}

void SettingsForm::Unload() {
  if (!handle()) return;
  AnimateClose(handle(), common_.OpenPointX, common_.OpenPointY);
  Destroy();
}

void SettingsForm::TileBackground(SkinPanel& panel) {
  const forms::PictureSurface& target = panel.image();
  if (!skin_.Pic_Mbl || !target.dc()) return;
  const forms::LoadedPicture& tile = *skin_.Pic_Mbl;
  for (const TilePosition& at : TilePositions(target.width(), target.height(), tile.width(), tile.height())) {
    ::BitBlt(target.dc(), at.x, at.y, tile.width(), tile.height(), tile.dc(), 0, 0, SRCCOPY);
  }
  panel.Refresh();
}

void SettingsForm::ShowImageFiles() {
  if (!List_1) return;
  const ImageList& images = common_.images;
  const std::size_t count =
      images.ImageCount > 0 ? std::min<std::size_t>(images.ImageCount, images.ImageFiles.size() - 1) : 0;
  ListNames(images.ImageFiles, 1, count);
  // No images: the callers have left the count as it should stay.
  if (count == 0) return;
  const LRESULT lines = ::SendMessageW(List_1, LB_GETCOUNT, 0, 0);
  SetCaption(Role::lbl_Kei, 0, std::to_wstring(lines < 0 ? 0 : lines));
}

void SettingsForm::ListNames(const std::vector<std::wstring>& paths, std::size_t first, std::size_t count) {
  ::SendMessageW(List_1, LB_RESETCONTENT, 0, 0);
  if (count == 0) return;
  // Thousands of lines: one repaint at the end rather than one per line.
  ::SendMessageW(List_1, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(List_1, LB_INITSTORAGE, count, count * 32 * sizeof(wchar_t));
  // A file that vanished since the scan has an empty line.
  for (const std::wstring& name : ShownNames(paths, first, count, directory_)) {
    ::SendMessageW(List_1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  ::SendMessageW(List_1, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(List_1, nullptr, TRUE);
}

std::wstring SettingsForm::ListLine(LRESULT index) const {
  const LRESULT length = ::SendMessageW(List_1, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(List_1, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void SettingsForm::ChooseFolder() {
  if (choosingFolder_) return;
  FlagScope choosing(choosingFolder_);
  const std::optional<std::wstring> folder = forms::BrowseForFolder(handle(), kBrowseTitle);
  // Cancelled, or something that is no folder on disk: the dialog goes on listing what it listed.
  if (!folder) return;
  SetCaption(Role::Folder_Path, 0, *folder);

  DWORD shownAt = ::GetTickCount() - kCountIntervalMs;
  bool reported = false;
  FolderScanEvents events;
  events.found = [&](std::int16_t count) {
    if (::GetTickCount() - shownAt >= kCountIntervalMs) {
      SetCaption(Role::lbl_Kei, 0, std::to_wstring(count));
      forms::ProcessPendingMessages();
      shownAt = ::GetTickCount();
    }
    // Closed meanwhile: nobody waits for the rest.
    return handle() != nullptr;
  };
  // One message per folder choice: a folder that fails once tends to fail for every kind.
  events.failed = [&](FolderScanFailure failure) {
    if (reported) return;
    reported = true;
    forms::ShowSystemError(handle(), failure == FolderScanFailure::Full ? ERROR_ARITHMETIC_OVERFLOW : directory_.LastError(),
                           kProgramTitle);
  };
  FoundFiles = ScanFolderInPassOrder(*folder, common_.settings.ImageKind, directory_, events);
  if (!handle() || !List_1) return;
  ListNames(FoundFiles, 0, FoundFiles.size());
  const LRESULT lines = ::SendMessageW(List_1, LB_GETCOUNT, 0, 0);
  SetCaption(Role::lbl_Kei, 0, std::to_wstring(lines < 0 ? 0 : lines));
}

void SettingsForm::ToggleImageKind(std::int16_t index) {
  if (choosingFolder_ || index < 0 || index > 3) return;
  std::int16_t& flag = common_.settings.ImageKind[static_cast<std::size_t>(index)];
  flag = static_cast<std::int16_t>(flag ^ 1);
  // A flag that was neither 0 nor 1 is still neither: its box keeps showing no picture.
  if (auto on = CheckPicture(flag)) SetPicture(Role::Img_Kind, index, StatePicture(skin_.Img_Ra, *on));
  // The new look shows before the scan, which may take a while.
  forms::ProcessPendingMessages();
  if (!handle()) return;
  common_.settings.ImageFolder = Caption(Role::Folder_Path, 0);
  const std::wstring& folder = common_.settings.ImageFolder;
  if (folder.empty() || !FolderExists(folder, directory_)) return;
  SetCaption(Role::lbl_Kei, 0, L"");
  ScanImages(common_.images, common_.settings.ImageKind, folder, directory_);
  ShowImageFiles();
}

void SettingsForm::PreviewSelectedImage() {
  if (!List_1 || choosingFolder_ || previewing_) return;
  FlagScope previewing(previewing_);
  std::optional<PreviewScope> loading;
  for (LRESULT shown = LB_ERR;;) {
    const LRESULT selected = ::SendMessageW(List_1, LB_GETCURSEL, 0, 0);
    if (selected < 0 || selected == shown) return;
    if (!loading) loading.emplace(Pic_K.handle(), look_.busy);
    if (ShowPreview(ListLine(selected))) shown = selected;
    TakeListInput();
    // A key handled there may have closed the dialog.
    if (!handle() || !List_1) return;
  }
}

bool SettingsForm::ShowPreview(const std::wstring& name) {
  const int side = layout_.picK.width;
  // The line of a file that vanished before it was listed names nothing to show.
  const std::optional<PreviewPicture> preview =
      name.empty() ? std::nullopt
                   : LoadPreviewPicture(Caption(Role::Folder_Path, 0) + L"\\" + name, side,
                                        [this] { return !ListInputWaits(); });
  if (!preview && ListInputWaits()) return false;
  previewed_.reset();
  if (!preview) {
    // Neither the picture before nor its size belongs to this line: the box shows empty, as it
    // did when the dialog opened.
    SetCaption(Role::lbl_PreSize, 0, L"");
    Pic_K.Reshape(side, side);
  } else {
    previewed_.emplace(preview->width, preview->height);
    SetCaption(Role::lbl_PreSize, 0, std::to_wstring(preview->width) + L" * " + std::to_wstring(preview->height));
    if (Pic_K.Reshape(preview->fit.boxWidth, preview->fit.boxHeight)) {
      ::BitBlt(Pic_K.image().dc(), 0, 0, preview->fit.boxWidth, preview->fit.boxHeight, preview->picture.dc(), 0, 0,
               SRCCOPY);
    }
  }
  DrawBoxEdge(Pic_K.image(), kRaisedEdge);
  Pic_K.Refresh();
  return true;
}

bool SettingsForm::ListInputWaits() const {
  MSG message;
  return ::PeekMessageW(&message, List_1, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE) ||
         ::PeekMessageW(&message, List_1, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE);
}

void SettingsForm::TakeListInput() {
  MSG message;
  while (::PeekMessageW(&message, List_1, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void SettingsForm::SelectOption(Role optionRole, std::int16_t index, std::int16_t& field) {
  SetPicture(optionRole, index, StatePicture(skin_.Img_Opt, true));
  SetPicture(optionRole, static_cast<std::int16_t>(index ^ 1), StatePicture(skin_.Img_Opt, false));
  field = index;
}

void SettingsForm::ShowSpeed() {
  if (HS_Speed) SetCaption(Role::lbl_Speed, 0, std::to_wstring(::GetScrollPos(HS_Speed, SB_CTL)));
}

void SettingsForm::PressButton(std::int16_t index) {
  SetPicture(Role::Img_Button, index, StatePicture(skin_.Img_O_button, false));
}

void SettingsForm::ReleaseButton(std::int16_t index) {
  SetPicture(Role::Img_Button, index, StatePicture(skin_.Img_O_button, true));
  // The normal face shows before the action starts.
  forms::ProcessPendingMessages();
  switch (index) {
    case 1:
      // The folder being chosen fills the list when its scan ends.
      if (choosingFolder_) break;
      if (List_1) ::SendMessageW(List_1, LB_RESETCONTENT, 0, 0);
      SetCaption(Role::Folder_Path, 0, L"");
      SetCaption(Role::lbl_Kei, 0, L"");
      break;
    case 2: {
      SettingsFile file;
      SaveSettings(common_.settings, Caption(Role::Folder_Path, 0),
                   static_cast<std::int16_t>(HS_Speed ? ::GetScrollPos(HS_Speed, SB_CTL) : kSpeedMinimum), file);
      // Said once, rather than the choice vanishing without a word.
      if (file.FileUnsaid() || file.PathUnsaid()) {
        ::MessageBoxW(handle(), file.FileUnsaid() ? kFileUnsaidText : kFolderUnsaidText, kProgramTitle,
                      MB_OK | MB_ICONEXCLAMATION);
      }
      Unload();
      break;
    }
    case 3:
      Unload();
      break;
    case 0:
      ChooseFolder();
      break;
    default:
      break;
  }
}

void SettingsForm::OpenLink() {
  // The browser may take seconds to start, and the shell lets messages run meanwhile.
  BusyScope opening(look_.busy);
  ::ShellExecuteW(handle(), L"open", Caption(Role::lbl_URL, 0).c_str(), L"", L"", SW_SHOWNORMAL);
}

bool SettingsForm::SetPicture(Role role, std::int16_t index, const forms::LoadedPicture* picture) {
  return Pic_C.SetPicture(role, index, picture) || leftPanel_.SetPicture(role, index, picture) ||
         rightPanel_.SetPicture(role, index, picture);
}

bool SettingsForm::SetCaption(Role role, std::int16_t index, const std::wstring& caption) {
  return Pic_C.SetCaption(role, index, caption) || leftPanel_.SetCaption(role, index, caption) ||
         rightPanel_.SetCaption(role, index, caption);
}

std::wstring SettingsForm::Caption(Role role, std::int16_t index) const {
  for (const SkinPanel* panel : {&Pic_C, &leftPanel_, &rightPanel_}) {
    if (auto caption = panel->Caption(role, index)) return *caption;
  }
  return std::wstring();
}

void SettingsForm::ElementPressed(Role role, std::int16_t index) {
  switch (role) {
    case Role::Img_SR:
    case Role::lbl_RS:
      SelectOption(Role::Img_SR, index, common_.settings.ChangeOrder);
      break;
    case Role::Img_Size:
    case Role::lbl_Size:
      SelectOption(Role::Img_Size, index, common_.settings.ImageSize);
      break;
    case Role::Img_Kind:
    case Role::lbl_Kind:
      ToggleImageKind(index);
      break;
    case Role::lbl_Button:
      PressButton(index);
      break;
    default:
      break;
  }
}

void SettingsForm::ElementReleased(Role role, std::int16_t index) {
  if (role == Role::lbl_Button) ReleaseButton(index);
  if (role == Role::lbl_URL) OpenLink();
}

void SettingsForm::PressAbandoned(Role role, std::int16_t index) {
  // The button looks released again, but its action does not run: the user never let go on it.
  if (role == Role::lbl_Button) SetPicture(Role::Img_Button, index, StatePicture(skin_.Img_O_button, true));
}

void SettingsForm::Scrolled(HWND scrollBar, int code, int trackPosition) {
  if (scrollBar != HS_Speed || !HS_Speed) return;
  int value = ::GetScrollPos(HS_Speed, SB_CTL);
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      --value;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      ++value;
      break;
    case SB_LEFT:
      value = kSpeedMinimum;
      break;
    case SB_RIGHT:
      value = kSpeedMaximum;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      value = trackPosition;
      break;
    default:
      return;
  }
  value = value < kSpeedMinimum ? kSpeedMinimum : value > kSpeedMaximum ? kSpeedMaximum : value;
  ::SetScrollPos(HS_Speed, SB_CTL, value, TRUE);
  ShowSpeed();
}

void SettingsForm::ControlNotified(HWND control, int code) {
  if (control == List_1 && List_1 && code == LBN_SELCHANGE) PreviewSelectedImage();
}

LRESULT SettingsForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A failure (out of memory for the tiles) skips that one reaction and leaves the dialog usable.
  try {
    switch (message) {
      case WM_CLOSE:
        // The close box and the system menu's close: like "ｷｬﾝｾﾙ", nothing is saved.
        Unload();
        return 0;
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
      case WM_ERASEBKGND:
        PaintSurround(reinterpret_cast<HDC>(wParam));
        return 1;
      case WM_SETCURSOR:
        if (!look_.busy) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      case forms::kGetDpiScaledSizeMessage: {
        // The size the system will suggest with the new dpi: Pic_C's at that dpi, in its frame.
        auto* size = reinterpret_cast<SIZE*>(lParam);
        if (!size) break;
        const PixelRect window = WindowRectAt(LOWORD(wParam));
        *size = SIZE{window.width, window.height};
        return TRUE;
      }
      case forms::kDpiChangedMessage:
        ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
      default:
        break;
    }
  } catch (const std::exception&) {
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace dialog
