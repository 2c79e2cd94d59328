// The View menu of TfrmMain on Win32: which view of HKEY_CLASSES_ROOT the
// object tree shows. Captions, enabling, title and status text come from
// ui/logic/view_choice.h, as in the Qt window.
#include "platform/win32/wide_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/view_choice.h"
#include "ui/win32/main_window.h"

namespace brannock::ui {

namespace {

WORD ViewCommand(registry::RegistryView view) { return view == registry::RegistryView::Bits64 ? cmdView64 : cmdView32; }

}  // namespace

HMENU TfrmMain::BuildViewMenu() {
  HMENU menu = CreatePopupMenu();
  UINT position = 0;
  for (registry::RegistryView view : kViewItems) {
    std::wstring caption = platform::ToWide(ViewItemCaption(view, *options_.view));
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    item.fType = MFT_STRING | MFT_RADIOCHECK;  // a radio group: the check shows as a bullet
    item.fState = ViewItemEnabled(view, *options_.view) ? MFS_ENABLED : MFS_GRAYED;
    item.wID = ViewCommand(view);
    item.dwTypeData = caption.data();
    InsertMenuItemW(menu, position++, TRUE, &item);
  }
  return menu;
}

// The chosen view in the menu, the title and the status bar.
void TfrmMain::ShowView() {
  if (!options_.view) {
    SetWindowTextW(window_, platform::ToWide(kApplicationTitle).c_str());
    return;
  }
  const registry::RegistryView view = options_.view->View();
  SetWindowTextW(window_, platform::ToWide(MainWindowTitle(kApplicationTitle, view)).c_str());
  SetStatusPanelText(ViewPanel(), ViewStatusText(view));
  CheckMenuRadioItem(Menu, cmdView64, cmdView32, ViewCommand(view), MF_BYCOMMAND);
}

}  // namespace brannock::ui
