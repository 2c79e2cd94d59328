// What the viewer's Windows tests share: the libraries they open (the widl
// fixtures and Wine's mshtml.tlb), their units as brannock-cli.exe renders
// them, a viewer opened on one of them, and the boxes and reports captured
// instead of shown.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/object_data.h"
#include "typelib/access.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/text_view.h"
#include "ui/win32/tlb_viewer.h"

namespace brannock::ui::testing {

// A library the tests open: its name and its Windows path.
struct TestLibrary {
  std::string name;
  std::wstring path;
};

// The widl fixtures (from BRANNOCK_VIEWER_TLB_DIR) and mshtml.tlb.
std::vector<TestLibrary> FixtureLibraries();
TestLibrary Mshtml();
TestLibrary Fixture(const std::string& name);

// The unit brannock-cli.exe --render printed for `name`, from the folder
// BRANNOCK_VIEWER_RENDERED_DIR (NAME.unit), with CR LF line ends and no
// line end after the last line; empty when there is none.
Text RenderedUnit(const std::string& name);

// Captures the message boxes and the error report while alive.
struct BoxCapture {
  BoxCapture();
  ~BoxCapture();
  std::vector<Text> infos;
  std::vector<Text> errors;
  std::vector<Text> reports;
};

// The viewer opened on a library file (not shown).
std::unique_ptr<TfrmTLBView> OpenView(const TestLibrary& library);

// The oleaut32 loader of the platform.
typelib::TypeLibLoader& PlatformLoader();

// The file reader's view of the same library.
std::shared_ptr<typelib::TypeLib> OpenWithFileReader(const TestLibrary& library);

// Tree helpers.
Text ItemText(HWND tree, HTREEITEM item);
std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent);
bool IsExpanded(HWND tree, HTREEITEM item);
int ItemImage(HWND tree, HTREEITEM item);
Text WindowText(HWND window);
// The text view's whole text through WM_GETTEXTLENGTH and WM_GETTEXT.
Text ViewText(HWND view);
// Runs every message waiting for this thread.
void Pump();

}  // namespace brannock::ui::testing
