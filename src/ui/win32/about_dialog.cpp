#include "ui/win32/about_dialog.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"
#include "ui/logic/about_text.h"
#include "ui/logic/window_sizes.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/window_class.h"
#include "ui/win32/window_dpi.h"

namespace brannock::ui {

namespace {

using namespace about_size;
constexpr COLORREF kBandGrey = RGB(kBandGreyRgb[0], kBandGreyRgb[1], kBandGreyRgb[2]);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kLinkGrey = RGB(128, 128, 128);
constexpr int kLogoSize = 48;

std::function<void(const Text&)>& ShellOpenHook() {
  static std::function<void(const Text&)> hook;
  return hook;
}

void OpenInShell(HWND owner, const Text& address) {
  if (ShellOpenHook()) {
    ShellOpenHook()(address);
    return;
  }
  const std::wstring wide = platform::ToWide(address);
  ShellExecuteW(owner, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

HFONT Font(const wchar_t* face, int height, bool bold, bool underline = false) {
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

// The maker's logo at `dpi`: three stacked blocks on the band's grey.
HBITMAP DrawLogo(UINT dpi) {
  const auto S = [dpi](int length) { return Scaled(length, dpi); };
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, S(kLogoSize), S(kLogoSize));
  const HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT all = {0, 0, S(kLogoSize), S(kLogoSize)};
  const HBRUSH back = CreateSolidBrush(kBandGrey);
  FillRect(dc, &all, back);
  DeleteObject(back);
  const COLORREF colours[] = {RGB(30, 60, 140), RGB(40, 110, 210), RGB(120, 180, 250)};
  for (int i = 0; i < 3; ++i) {
    const HBRUSH brush = CreateSolidBrush(colours[i]);
    const HPEN pen = CreatePen(PS_SOLID, S(1), RGB(20, 40, 90));
    const HGDIOBJ oldBrush = SelectObject(dc, brush);
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    RoundRect(dc, S(4 + 6 * i), S(30 - 12 * i), S(40 - 6 * i), S(42 - 12 * i), S(6), S(6));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

void SetShellOpenHook(std::function<void(const Text& address)> hook) { ShellOpenHook() = std::move(hook); }

TdlgAbout::TdlgAbout(HWND owner, const platform::TVersionInfo& version) : owner_(owner) {
  FormCreate();
  FillTexts(version);
}

TdlgAbout::~TdlgAbout() {
  if (window_) DestroyWindow(window_);
  if (icon_) DestroyIcon(icon_);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(productFont_), static_cast<HGDIOBJ>(boldFont_),
                         static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(linkFont_), static_cast<HGDIOBJ>(logo_),
                         static_cast<HGDIOBJ>(grey_)})
    if (object) DeleteObject(object);
}

void TdlgAbout::FormCreate() {
  RegisterWindowClass({.name = kAboutWindowClass});
  // Centred on the screen, at the owner's dpi; a window that turns out to
  // have another dpi is scaled to it at the end.
  dpi_ = owner_ ? WindowDpi(owner_) : SystemDpi();
  const int width = Scaled(kWidth, dpi_), height = Scaled(kHeight, dpi_);
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  window_ = CreateWindowExW(0, kAboutWindowClass, L"", WS_POPUP | WS_CLIPCHILDREN,
                            work.left + (work.right - work.left - width) / 2,
                            work.top + (work.bottom - work.top - height) / 2, width, height, owner_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  HandOver<TdlgAbout, &TdlgAbout::Handle>(window_, this);
  grey_ = CreateSolidBrush(kBandGrey);

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto child = [&](const wchar_t* cls, DWORD style, int id = 0) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  // The top band: icon, texts and logo; the middle band: the terms and the
  // two links; the bottom band: OK, the default and the cancel button.
  Icon = child(L"STATIC", SS_ICON | SS_CENTERIMAGE);
  lProduct = child(L"STATIC", SS_LEFT | SS_NOPREFIX);
  lVer = child(L"STATIC", SS_LEFT | SS_NOPREFIX);
  lCR = child(L"STATIC", SS_LEFT | SS_NOPREFIX);
  lDesc = child(L"STATIC", SS_LEFT | SS_NOPREFIX);
  Image1 = child(L"STATIC", SS_BITMAP);
  mLic = child(L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
  lEmail = child(L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 1);
  lWWW = child(L"STATIC", SS_RIGHT | SS_NOTIFY | SS_NOPREFIX, 2);
  Button2 = child(L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
  SetWindowTextW(Button2, L"OK");
  SetDpiLook();
  if (const UINT dpi = WindowDpi(window_); dpi != dpi_) {
    RECT frame;
    GetWindowRect(window_, &frame);
    DpiChanged(dpi, {frame.left, frame.top, frame.left + Scaled(kWidth, dpi), frame.top + Scaled(kHeight, dpi)});
  }
}

void TdlgAbout::SetDpiLook() {
  const auto S = [this](int length) { return Scaled(length, dpi_); };
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(productFont_), static_cast<HGDIOBJ>(boldFont_),
                         static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(linkFont_)})
    if (object) DeleteObject(object);
  productFont_ = Font(L"Tahoma", S(-19), true);
  boldFont_ = Font(L"Tahoma", S(-11), true);
  font_ = Font(L"Tahoma", S(-11), false);
  linkFont_ = Font(L"Consolas", S(-11), false, true);
  const auto place = [&](HWND control, HFONT font, int x, int y, int w, int h) {
    MoveWindow(control, S(x), S(y), S(w), S(h), TRUE);
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  };
  // One pixel inside the black frame, at 96 dpi.
  place(Icon, nullptr, 13, 13, 32, 32);
  place(lProduct, productFont_, 57, 9, 330, 26);
  place(lVer, boldFont_, 57, 37, 330, 16);
  place(lCR, font_, 57, 53, 330, 16);
  place(lDesc, font_, 57, 73, 394, 32);
  place(Image1, nullptr, kWidth - 1 - 8 - kLogoSize, 9, kLogoSize, kLogoSize);
  const int middleTop = 1 + kTopBandHeight;
  const int middleBottom = kHeight - 1 - kBottomBandHeight;
  place(mLic, font_, 11, middleTop + 10, kWidth - 22, middleBottom - middleTop - 10 - 20 - 4);
  place(lEmail, linkFont_, 11, middleBottom - 18, 200, 15);
  place(lWWW, linkFont_, kWidth - 11 - 200, middleBottom - 18, 200, 15);
  place(Button2, font_, kWidth - 1 - 10 - 75, kHeight - 1 - kBottomBandHeight + 10, 75, 25);

  // The program's icon in the size of this dpi (the system's own icon,
  // shared, when the program has none).
  const HICON oldIcon = icon_;
  icon_ = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, S(32), S(32), LR_DEFAULTCOLOR));
  SendMessageW(Icon, STM_SETICON, reinterpret_cast<WPARAM>(icon_ ? icon_ : LoadIconW(nullptr, IDI_APPLICATION)), 0);
  if (oldIcon) DestroyIcon(oldIcon);
  const HBITMAP oldLogo = logo_;
  logo_ = DrawLogo(dpi_);
  SendMessageW(Image1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_));
  if (oldLogo) DeleteObject(oldLogo);
  InvalidateRect(window_, nullptr, TRUE);
}

void TdlgAbout::DpiChanged(UINT dpi, const RECT& suggested) {
  if (dpi == 0 || dpi == dpi_) return;
  dpi_ = dpi;
  // The suggested place, at the dialog's own size: it has no frame, so its
  // size is the design's at this dpi (a suggestion scaled from the old
  // size may be a pixel off).
  const RECT place{suggested.left, suggested.top, suggested.left + Scaled(kWidth, dpi),
                   suggested.top + Scaled(kHeight, dpi)};
  MoveToSuggested(window_, place);
  SetDpiLook();
}

void TdlgAbout::FillTexts(const platform::TVersionInfo& version) {
  const auto set = [](HWND control, const Text& text) {
    SetWindowTextW(control, platform::ToWide(text).c_str());
  };
  set(lProduct, version.ProductName);
  set(lVer, VersionLineText(version));
  set(lCR, version.LegalCopyright);
  set(lDesc, DescriptionText(version));
  set(lEmail, LinkDisplayText(kMakerEmail));
  set(lWWW, LinkDisplayText(kMakerHomepage));
  set(window_, kAboutCaption);
  // The edit control breaks lines at CR LF only.
  Text terms;
  for (char16_t c : TermsOfUseText()) {
    if (c == u'\n') terms += u'\r';
    terms += c;
  }
  set(mLic, terms);
  SendMessageW(mLic, EM_SETSEL, 0, 0);
}

RECT TdlgAbout::TopBand() const {
  return {1, 1, Scaled(kWidth, dpi_) - 1, 1 + Scaled(kTopBandHeight, dpi_)};
}

void TdlgAbout::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(window_, &ps);
  RECT all;
  GetClientRect(window_, &all);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const RECT top = TopBand();
  FillRect(dc, &top, grey_);
  const RECT middle = {1, top.bottom, all.right - 1, all.bottom - 1 - Scaled(kBottomBandHeight, dpi_)};
  FillRect(dc, &middle, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const RECT bottom = {1, middle.bottom, all.right - 1, all.bottom - 1};
  FillRect(dc, &bottom, grey_);
  EndPaint(window_, &ps);
}

void TdlgAbout::FormMouseDown() {
  // The band acts as a title bar: the system drags the window from here.
  ReleaseCapture();
  SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TdlgAbout::cmEmail() { OpenInShell(window_, kMakerEmail); }

void TdlgAbout::cmHomepage() { OpenInShell(window_, kMakerHomepage); }

LRESULT TdlgAbout::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND self = window_;
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam) SetFocus(Button2);
      break;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT band = TopBand();
      if (PtInRect(&band, at)) FormMouseDown();
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control == mLic || control == lEmail || control == lWWW) {
        SetTextColor(dc, control == mLic ? RGB(0, 0, 0) : kLinkGrey);
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      SetTextColor(dc, control == lDesc ? kNavy : RGB(0, 0, 0));
      SetBkColor(dc, kBandGrey);
      return reinterpret_cast<LRESULT>(grey_);
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(grey_);
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == lEmail || reinterpret_cast<HWND>(wParam) == lWWW) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == lEmail && HIWORD(wParam) == STN_CLICKED) {
        cmEmail();
      } else if (reinterpret_cast<HWND>(lParam) == lWWW && HIWORD(wParam) == STN_CLICKED) {
        cmHomepage();
      } else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndModal(window_);
      }
      return 0;
    case WM_CLOSE:
      EndModal(window_);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(self, message, wParam, lParam);
}

void TdlgAbout::ShowModal() {
  if (!window_) return;
  const HWND window = window_;
  RunModal(owner_, window, [window](MSG& msg) { return IsDialogMessageW(window, &msg) != FALSE; });
}

void ShowAboutDialog(HWND owner) {
  TdlgAbout dialog(owner, platform::ReadVersionInfo());
  dialog.ShowModal();
}

}  // namespace brannock::ui
