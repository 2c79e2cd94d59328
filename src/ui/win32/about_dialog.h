// The About dialog on Windows: a borderless window of three bands with the
// program's name, version, copyright and description from its own version
// resource, the terms of use, and the maker's e-mail and homepage links,
// which the system shell opens. The top band drags the dialog.
#pragma once

#include <windows.h>

#include <functional>

#include "common/text.h"
#include "platform/version_info.h"

namespace brannock::ui {

inline constexpr wchar_t kAboutWindowClass[] = L"BrannockAbout";

class TdlgAbout {
 public:
  TdlgAbout(HWND owner, const platform::TVersionInfo& version);
  ~TdlgAbout();
  TdlgAbout(const TdlgAbout&) = delete;
  TdlgAbout& operator=(const TdlgAbout&) = delete;

  // Shows the dialog and returns when it is closed (OK, Enter or Esc).
  void ShowModal();
  HWND Handle() const { return window_; }

  // Controls.
  HWND Icon = nullptr;
  HWND lProduct = nullptr;
  HWND lVer = nullptr;
  HWND lCR = nullptr;
  HWND lDesc = nullptr;
  HWND Image1 = nullptr;
  HWND mLic = nullptr;
  HWND lEmail = nullptr;
  HWND lWWW = nullptr;
  HWND Button2 = nullptr;

  // Handlers.
  void FormMouseDown();
  void cmEmail();
  void cmHomepage();

  // The top band (client coordinates): a press there drags the dialog.
  RECT TopBand() const;

  // The dpi the dialog is drawn at (window_dpi.h).
  UINT Dpi() const { return dpi_; }
  // WM_DPICHANGED: fonts and sizes for `dpi`, the window at `suggested`.
  void DpiChanged(UINT dpi, const RECT& suggested);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  // The fonts, the places of the controls, the icon and the logo at dpi_.
  void SetDpiLook();
  void FillTexts(const platform::TVersionInfo& version);
  void Paint();

  HWND owner_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;
  HICON icon_ = nullptr;  // the program's icon at dpi_, none without one
  HFONT productFont_ = nullptr;
  HFONT boldFont_ = nullptr;
  HFONT font_ = nullptr;
  HFONT linkFont_ = nullptr;
  HBITMAP logo_ = nullptr;
  HBRUSH grey_ = nullptr;
};

// Shows the About dialog over `owner` with the program's version
// information.
void ShowAboutDialog(HWND owner);

// Where the links go (tests): instead of ShellExecuteW the hook gets the
// address. Empty restores the shell.
void SetShellOpenHook(std::function<void(const Text& address)> hook);

}  // namespace brannock::ui
