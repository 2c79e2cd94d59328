// The Find window of the Win32 main window: a modeless window owned by it,
// the prompt and a text box over an owner-data list view (the object tree's
// image, name, GUID, the field that matched) and the count line. The list
// follows each change of the text; Enter or a double click goes to the
// chosen row's object (else the first). Closing or Esc only hides it: the
// next Find shows it again with its text. The rows and texts come from
// ui/logic/find_window.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/logic/find_window.h"

namespace brannock::ui {

inline constexpr wchar_t kFindWindowClass[] = L"BrannockFind";

class FindObjectsWindow {
 public:
  struct Hooks {
    // The rows and the count line for a text.
    std::function<std::vector<FindRow>(TextView text, Text* count)> search;
    // The row's object selected in the tree with its pane.
    std::function<void(const FindRow& row)> go;
  };

  // Hidden until Show; `images` are the object tree's (shared, not
  // destroyed here).
  FindObjectsWindow(HWND owner, HIMAGELIST images, Hooks hooks);
  ~FindObjectsWindow();
  FindObjectsWindow(const FindObjectsWindow&) = delete;
  FindObjectsWindow& operator=(const FindObjectsWindow&) = delete;

  // Shown and active, the text selected to be typed over.
  void Show();
  // The list made again for the text as it is (the catalogue changed).
  void SearchAgain();
  // The dialog keys of the window (Tab, Enter, Esc) for a message of the
  // thread's loop; true when handled.
  bool FilterMessage(MSG& msg);

  HWND Handle() const { return window_; }
  HWND Edit() const { return edit_; }
  HWND List() const { return list_; }
  HWND Count() const { return count_; }
  const std::vector<FindRow>& Rows() const { return rows_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Search();
  void Layout();
  void SetFonts();
  void GoTo(int row);
  LRESULT OnNotify(NMHDR* header);

  HWND owner_ = nullptr, window_ = nullptr, prompt_ = nullptr, edit_ = nullptr, list_ = nullptr, count_ = nullptr;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  Hooks hooks_;
  std::vector<FindRow> rows_;
  // The texts of the rows as the list asks for them.
  std::vector<std::wstring> names_, guids_, fields_;
};

}  // namespace brannock::ui
