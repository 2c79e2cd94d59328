#include <algorithm>
#include <functional>
#include <tuple>

#include "platform/win32/wide_text.h"
#include "ui/logic/type_tree.h"
#include "ui/logic/viewer_search.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

std::vector<TestLibrary> AllLibraries() {
  std::vector<TestLibrary> libraries = FixtureLibraries();
  libraries.push_back(Mshtml());
  return libraries;
}

// The tree control against the shared tree that the Qt viewer shows for the
// same file (read by the file reader): texts with prefixes and counts,
// images, order, and only the root expanded.
void ExpectSameTree(HWND tree, HTREEITEM item, const TTypeTreeItem& expected, bool root) {
  EXPECT_EQ(ItemText(tree, item), TypeNodeText(expected.Node, expected.Children.size()));
  const int kind = expected.Node.Kind;
  EXPECT_EQ(ItemImage(tree, item), kind >= 0 && kind < 13 ? kind : 8);
  EXPECT_EQ(IsExpanded(tree, item), root);
  // A category's types come into the control as it is expanded.
  if (!root && !expected.Children.empty()) TreeView_Expand(tree, item, TVE_EXPAND);
  const std::vector<HTREEITEM> children = Children(tree, item);
  ASSERT_EQ(children.size(), expected.Children.size()) << Utf16ToUtf8(ItemText(tree, item));
  for (size_t i = 0; i < children.size(); ++i) ExpectSameTree(tree, children[i], expected.Children[i], false);
}

TEST(Win32Viewer, TreeAndTextMatchTheOtherFrontEndAndTheCommandLine) {
  const std::vector<TestLibrary> libraries = AllLibraries();
  ASSERT_GE(libraries.size(), 4u) << "BRANNOCK_VIEWER_TLB_DIR is not set";
  for (const TestLibrary& library : libraries) {
    SCOPED_TRACE(library.name);
    BoxCapture boxes;
    const auto view = OpenView(library);
    ASSERT_TRUE(view);
    const auto fileLib = OpenWithFileReader(library);
    ASSERT_TRUE(fileLib);
    const TTypeTree expected = BuildTypeTree(*fileLib);
    const std::vector<HTREEITEM> roots = Children(view->Tree, nullptr);
    ASSERT_EQ(roots.size(), 1u);
    ExpectSameTree(view->Tree, roots[0], expected.Root, true);
    EXPECT_TRUE(ItemText(view->Tree, roots[0]).ends_with(u" (8)"));

    const Text rendered = RenderedUnit(library.name);
    ASSERT_FALSE(rendered.empty()) << "no unit from brannock-cli.exe --render";
    EXPECT_EQ(SendMessageW(view->SynMemo->Handle(), WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(rendered.size()));
    EXPECT_TRUE(ViewText(view->SynMemo->Handle()) == rendered);

    // A fresh window: "Ready", the caret at line 1, column 1, the caret
    // line shown, the gutter numbering from 0, the caption.
    const int64_t lines = view->SynMemo->Document().LineCount();
    EXPECT_EQ(view->PanelText(0), u"Ready");
    EXPECT_EQ(view->PanelText(1), u"Line: 1   Col: 1   Lines: " + IntToText(lines));
    EXPECT_EQ(view->FCurrentLine, 0);
    EXPECT_TRUE(view->SynMemo->CaretLineShown());
    EXPECT_EQ(WindowText(view->Handle()), u"ITypeLib Viewer");
    EXPECT_TRUE(boxes.errors.empty() && boxes.reports.empty());
  }
}

// Where a double click on a node with `name` must land: at the second
// blank of the first "  name = " line that opens a type block (the line
// after "type" and its "  //" comment lines), else at the second character
// of the first " name = " in any letter case; npos when there is neither.
size_t ExpectedJump(const Text& text, const Text& lowerText, const Text& name) {
  const Text declaration = u"  " + name + u" = ";
  bool afterType = false;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find(u"\r\n", start), text.size());
    const TextView line(text.data() + start, end - start);
    if (afterType && line.starts_with(declaration)) return start + 1;
    afterType = line == u"type" || (afterType && line.starts_with(u"  //"));
    start = end + 2;
  }
  return lowerText.find(LowerAscii(DeclarationSearchText(name)));
}

void CheckJump(TfrmTLBView& view, HTREEITEM item, const Text& text, bool shown) {
  TreeView_SelectItem(view.Tree, item);
  view.TreeDblClick();
  const TTypeNode* node = view.NodeOf(item);
  ASSERT_TRUE(node);
  SCOPED_TRACE(Utf16ToUtf8(node->Text));
  const TTextDocument& doc = view.SynMemo->Document();
  const Text search = DeclarationSearchText(node->Text);
  const size_t at = ExpectedJump(text, LowerAscii(text), node->Text);
  if (at == Text::npos) {
    EXPECT_EQ(doc.Caret(), TTextPos{});
    EXPECT_FALSE(doc.HasSelection());
    EXPECT_FALSE(view.SynMemo->Marked());
    EXPECT_EQ(view.SynMemo->FirstVisibleLine(), 0);
    return;
  }
  const int64_t caret = static_cast<int64_t>(at + search.size());
  EXPECT_EQ(doc.Offset(doc.Caret()), caret);
  EXPECT_FALSE(doc.HasSelection());
  ASSERT_TRUE(view.SynMemo->Marked());
  EXPECT_EQ(doc.Offset(view.SynMemo->Marked()->Start), static_cast<int64_t>(at) - 1);
  EXPECT_EQ(doc.Offset(view.SynMemo->Marked()->End), static_cast<int64_t>(at));
  EXPECT_EQ(view.SynMemo->FirstVisibleLine(), std::max<int64_t>(0, doc.Caret().Line - 2));
  if (shown) {
    EXPECT_EQ(GetFocus(), view.SynMemo->Handle());
  }
  EXPECT_EQ(view.PanelText(1).substr(0, 6 + IntToText(doc.Caret().Line + 1).size()),
            u"Line: " + IntToText(doc.Caret().Line + 1));
}

TEST(Win32Viewer, DoubleClickGoesToTheDeclarationOfEveryKind) {
  for (const TestLibrary& library : AllLibraries()) {
    SCOPED_TRACE(library.name);
    BoxCapture boxes;
    const auto view = OpenView(library);
    ASSERT_TRUE(view);
    // Shown, the editor takes the focus; mshtml's thousands of nodes stay
    // hidden (Wine's tree view measures every item of a shown tree).
    const bool shown = library.name != "mshtml";
    if (shown) ShowWindow(view->Handle(), SW_SHOW);
    const Text text = ViewText(view->SynMemo->Handle());
    const HTREEITEM root = Children(view->Tree, nullptr).at(0);
    CheckJump(*view, root, text, shown);  // the root finds nothing
    std::vector<int> kindsReached;
    for (HTREEITEM category : Children(view->Tree, root)) {
      CheckJump(*view, category, text, shown);
      TreeView_Expand(view->Tree, category, TVE_EXPAND);
      std::vector<HTREEITEM> types = Children(view->Tree, category);
      // mshtml has thousands: its first and last of each kind.
      if (library.name == "mshtml" && types.size() > 2) types = {types.front(), types.back()};
      for (HTREEITEM type : types) {
        CheckJump(*view, type, text, shown);
        if (view->SynMemo->Marked()) kindsReached.push_back(view->NodeOf(type)->Kind);
      }
    }
    if (library.name == "mshtml") {
      for (int kind : {0, 1, 3, 4, 5, 6})
        EXPECT_NE(std::find(kindsReached.begin(), kindsReached.end(), kind), kindsReached.end()) << kind;
    }
    EXPECT_TRUE(boxes.infos.empty());
  }
}

UINT FindMessageId() { return RegisterWindowMessageW(FINDMSGSTRINGW); }

// Runs one request of the find dialog as the dialog itself sends it.
void FindRequest(TfrmTLBView& view, const wchar_t* text, DWORD flags) {
  lstrcpynW(view.FindRequest.lpstrFindWhat, text, view.FindRequest.wFindWhatLen);
  view.FindRequest.Flags = flags | FR_FINDNEXT;
  SendMessageW(view.Handle(), FindMessageId(), 0, reinterpret_cast<LPARAM>(&view.FindRequest));
}

TEST(Win32Viewer, DoubleClickFindsTheTypeNotAConstantOfTheSameName) {
  BoxCapture boxes;
  const auto view = OpenView(Fixture("render_demo"));
  ASSERT_TRUE(view);
  HTREEITEM plain = nullptr;
  for (HTREEITEM category : Children(view->Tree, Children(view->Tree, nullptr).at(0))) {
    TreeView_Expand(view->Tree, category, TVE_EXPAND);
    for (HTREEITEM type : Children(view->Tree, category))
      if (view->NodeOf(type)->Text == u"IPlain") plain = type;
  }
  ASSERT_TRUE(plain);
  TreeView_SelectItem(view->Tree, plain);
  const auto caretLineAfterJump = [&](TextList lines) {
    view->SetUnitText(std::move(lines));
    view->TreeDblClick();
    return view->SynMemo->Marked() ? view->SynMemo->Document().Caret().Line : -1;
  };
  // A constant of the same name, in another letter case and in the same
  // one, comes first; the declaration line opens a type block after a
  // comment line.
  EXPECT_EQ(caretLineAfterJump({u"const", u"  iplain = 1;", u"  IPlain = 2;", u"type", u"  // a comment",
                                u"  IPlain = interface(IUnknown)", u"  end;"}),
            5);
  // Without such a line (the text was edited), the first match in any case.
  EXPECT_EQ(caretLineAfterJump({u"const", u"  x = 0;", u"  iplain = 1;", u"type", u"  Other = interface",
                                u"  IPlain = interface(IUnknown)"}),
            2);
  EXPECT_EQ(caretLineAfterJump({u"type", u"  IPlainer = 1;"}), -1);
}

TEST(Win32Viewer, FindForwardBackwardWholeWordAndCase) {
  BoxCapture boxes;
  const auto view = OpenView(Fixture("render_demo"));
  ASSERT_TRUE(view);
  const TTextDocument& doc = view->SynMemo->Document();
  // F3 before any search: nothing to find.
  view->cmFindNext();
  ASSERT_EQ(boxes.infos.size(), 1u);
  EXPECT_EQ(boxes.infos[0], u"Text not found.");

  // Forward without case: the first "ishape" is IShapeDisp's declaration.
  FindRequest(*view, L"ishape", FR_DOWN);
  ASSERT_TRUE(doc.HasSelection());
  EXPECT_EQ(doc.SelectedText(), u"IShape");
  const TTextPos first = doc.Caret();
  EXPECT_EQ(doc.Line(first.Line).substr(0, 14), u"  IShapeDisp =");
  // Whole word skips IShapeDisp; the caret ends behind the match.
  FindRequest(*view, L"IShape", FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE);
  EXPECT_EQ(doc.SelectedText(), u"IShape");
  EXPECT_EQ(doc.Line(doc.Caret().Line).substr(0, 10), u"  IShape =");
  EXPECT_EQ(doc.Anchor().Column + 6, doc.Caret().Column);
  // Match case: no lower-case "ishape" anywhere.
  boxes.infos.clear();
  FindRequest(*view, L"ishape", FR_DOWN | FR_MATCHCASE);
  EXPECT_EQ(boxes.infos, std::vector<Text>{u"Text not found."});

  // Backwards from here: the caret goes before the match, and the next
  // request finds the one before; the start of the text ends the search.
  view->SynMemo->SelectRange({doc.LineCount() - 1, 0}, {doc.LineCount() - 1, 0});
  FindRequest(*view, L"ishape", 0);
  const TTextPos last = doc.Caret();
  EXPECT_LT(last, doc.Anchor());
  FindRequest(*view, L"ishape", 0);
  EXPECT_LT(doc.Caret(), last);
  view->SynMemo->SelectRange({0, 0}, {0, 0});
  boxes.infos.clear();
  FindRequest(*view, L"unit", 0);
  EXPECT_EQ(boxes.infos, std::vector<Text>{u"Text not found."});
  // An empty text finds nothing.
  boxes.infos.clear();
  FindRequest(*view, L"", FR_DOWN);
  EXPECT_EQ(boxes.infos.size(), 1u);

  // After a backward search F3 searches forward and stays so.
  boxes.infos.clear();
  view->SynMemo->SelectRange({0, 0}, {0, 0});
  lstrcpynW(view->FindRequest.lpstrFindWhat, L"dispinterface", view->FindRequest.wFindWhatLen);
  view->FindRequest.Flags = 0;
  view->cmFindNext();
  EXPECT_TRUE(view->FindRequest.Flags & FR_DOWN);
  EXPECT_EQ(doc.SelectedText(), u"dispinterface");
  EXPECT_TRUE(boxes.infos.empty());
  EXPECT_EQ(view->PanelText(1), u"Line: " + IntToText(doc.Caret().Line + 1) + u"   Col: " +
                                    IntToText(doc.Caret().Column + 1) + u"   Lines: " + IntToText(doc.LineCount()));

  // Find... takes the word at the caret into the common Find dialog.
  view->SynMemo->SelectRange({first.Line, 3}, {first.Line, 3});
  view->cmFind();
  ASSERT_TRUE(view->fd);
  wchar_t shown[64] = {};
  GetDlgItemTextW(view->fd, 0x480 /* edt1 */, shown, 64);
  EXPECT_STREQ(shown, L"IShapeDisp");
  view->cmExit();
  EXPECT_FALSE(view->Handle());
}

TEST(Win32Viewer, ViewMenuShowsIdlFindsInItAndJumpsToItsDeclarations) {
  BoxCapture boxes;
  const auto view = OpenView(Fixture("render_demo"));
  ASSERT_TRUE(view);
  const HMENU menu = GetMenu(view->Handle());
  wchar_t title[32] = {};
  GetMenuStringW(menu, 2, title, 32, MF_BYPOSITION);
  EXPECT_STREQ(title, L"View");
  const HMENU viewMenu = GetSubMenu(menu, 2);
  auto item = [&](int position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    wchar_t text[32] = {};
    info.dwTypeData = text;
    info.cch = 32;
    GetMenuItemInfoW(viewMenu, static_cast<UINT>(position), TRUE, &info);
    // The checked item is drawn as a radio item (CheckMenuRadioItem).
    if (info.fState & MFS_CHECKED) {
      EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    }
    return std::tuple(std::wstring(text), (info.fState & MFS_CHECKED) != 0, info.wID);
  };
  const auto [pascalText, pascalChecked, pascalId] = item(0);
  const auto [idlText, idlChecked, idlId] = item(1);
  EXPECT_EQ(pascalText, L"Object Pascal");
  EXPECT_EQ(idlText, L"IDL");
  EXPECT_TRUE(pascalChecked);
  EXPECT_FALSE(idlChecked);
  const Text unit = ViewText(view->SynMemo->Handle());

  SendMessageW(view->Handle(), WM_COMMAND, idlId, 0);
  EXPECT_FALSE(std::get<1>(item(0)));
  EXPECT_TRUE(std::get<1>(item(1)));
  EXPECT_EQ(view->SynMemo->Language(), TUnitLanguage::Idl);
  const TTextDocument& doc = view->SynMemo->Document();
  EXPECT_TRUE(doc.Line(0).starts_with(u"// typelib filename: "));
  EXPECT_NE(ViewText(view->SynMemo->Handle()).find(u"\r\nlibrary RenderDemo\r\n"), Text::npos);
  EXPECT_EQ(view->PanelText(1), u"Line: 1   Col: 1   Lines: " + IntToText(doc.LineCount()));
  EXPECT_EQ(view->PanelText(0), u"Ready");

  FindRequest(*view, L"coclass", FR_DOWN | FR_WHOLEWORD);
  EXPECT_EQ(doc.SelectedText(), u"coclass");
  EXPECT_TRUE(boxes.infos.empty());

  // A double click: the caret behind the name of its IDL declaration, the
  // blank before the name marked.
  auto jump = [&](TextView name) {
    for (HTREEITEM category : Children(view->Tree, Children(view->Tree, nullptr).at(0))) {
      TreeView_Expand(view->Tree, category, TVE_EXPAND);
      for (HTREEITEM type : Children(view->Tree, category))
        if (view->NodeOf(type)->Name == name) TreeView_SelectItem(view->Tree, type);
    }
    view->TreeDblClick();
    const TTextPos caret = doc.Caret();
    EXPECT_TRUE(view->SynMemo->Marked());
    if (view->SynMemo->Marked()) {
      EXPECT_EQ(view->SynMemo->Marked()->End.Column + static_cast<int64_t>(name.size()), caret.Column);
    }
    return Text(doc.Line(caret.Line));
  };
  EXPECT_EQ(jump(u"shape"), u"    coclass shape {");
  EXPECT_EQ(jump(u"IPlain"), u"    interface IPlain : IUnknown {");
  EXPECT_EQ(jump(u"DEvents"), u"    dispinterface DEvents {");
  EXPECT_EQ(jump(u"Colors").substr(0, 12), u"    typedef ");
  EXPECT_TRUE(jump(u"Location").ends_with(u" Location;"));

  // Back: the unit as it opened, in the Pascal colouring.
  SendMessageW(view->Handle(), WM_COMMAND, pascalId, 0);
  EXPECT_TRUE(std::get<1>(item(0)));
  EXPECT_EQ(view->SynMemo->Language(), TUnitLanguage::Pascal);
  EXPECT_EQ(ViewText(view->SynMemo->Handle()), unit);
  EXPECT_TRUE(boxes.errors.empty() && boxes.reports.empty());
}

TEST(Win32Viewer, TypeAheadMatchesTheShownTexts) {
  const auto view = OpenView(Fixture("render_demo"));
  ASSERT_TRUE(view);
  const HTREEITEM root = Children(view->Tree, nullptr).at(0);
  TreeView_SelectItem(view->Tree, root);
  // Typing times well before now, so that the typing below starts anew.
  int64_t time = static_cast<int64_t>(GetTickCount64()) - 60000;
  for (wchar_t c : std::wstring(L"interface I")) view->TreeTypeAhead(c, time += 10);
  const Text found = ItemText(view->Tree, TreeView_GetSelection(view->Tree));
  EXPECT_TRUE(found.starts_with(u"interface I")) << Utf16ToUtf8(found);
  // Only the name reaches no type node ("I" alone reaches the category
  // "Interfaces"); a pause starts a new search.
  time += 2000;
  for (wchar_t c : std::wstring(L"IShape")) view->TreeTypeAhead(c, time += 10);
  EXPECT_EQ(view->NodeOf(TreeView_GetSelection(view->Tree))->Kind, kCategoryNodeKind);
  EXPECT_EQ(ItemText(view->Tree, TreeView_GetSelection(view->Tree)).substr(0, 10), u"Interfaces");
  // A name wider than the tree is reached without scrolling the tree sideways.
  SetWindowPos(view->Tree, nullptr, 0, 0, 40, 300, SWP_NOMOVE | SWP_NOZORDER);
  time += 2000;
  for (wchar_t c : std::wstring(L"interface I")) view->TreeTypeAhead(c, time += 10);
  EXPECT_EQ(GetScrollPos(view->Tree, SB_HORZ), 0);
  // Through the messages typing sends, as the modal loop shows them to the
  // viewer: the characters are taken before the control sees them (whose
  // own search would not reach the types of a collapsed category), other
  // keys go on to the control.
  const auto message = [&](UINT id, WPARAM wParam) {
    MSG msg{view->Tree, id, wParam, 0, static_cast<DWORD>(time += 10), {}};
    return view->FilterMessage(msg);
  };
  time += 2000;
  TreeView_SelectItem(view->Tree, root);
  EXPECT_FALSE(message(WM_KEYDOWN, 'I'));
  for (wchar_t c : std::wstring(L"interface I")) EXPECT_TRUE(message(WM_CHAR, c));
  EXPECT_TRUE(ItemText(view->Tree, TreeView_GetSelection(view->Tree)).starts_with(u"interface I"));
  EXPECT_NE(view->NodeOf(TreeView_GetSelection(view->Tree))->Kind, kCategoryNodeKind);
  time += 2000;
  EXPECT_TRUE(message(WM_CHAR, L'E'));
  EXPECT_EQ(ItemText(view->Tree, TreeView_GetSelection(view->Tree)).substr(0, 5), u"Enums");
  EXPECT_FALSE(message(WM_CHAR, L'\b'));
}

TEST(Win32Viewer, EditingThroughMessagesAndTheClipboard) {
  const auto view = OpenView(Fixture("minimal"));
  ASSERT_TRUE(view);
  const HWND text = view->SynMemo->Handle();
  const Text original = ViewText(text);
  SetFocus(text);
  for (wchar_t c : std::wstring(L"ab")) SendMessageW(text, WM_CHAR, c, 0);
  SendMessageW(text, WM_CHAR, L'\r', 0);
  EXPECT_EQ(ViewText(text), u"ab\r\n" + original);
  EXPECT_EQ(view->PanelText(1).substr(0, 17), u"Line: 2   Col: 1 ");
  SendMessageW(text, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(ViewText(text), u"ab\r\n" + original.substr(1));
  SendMessageW(text, WM_UNDO, 0, 0);
  SendMessageW(text, WM_UNDO, 0, 0);
  SendMessageW(text, WM_UNDO, 0, 0);
  EXPECT_EQ(ViewText(text), original);
  // Copy a selection and paste it at the start.
  view->SynMemo->SelectRange({0, 0}, {1, 0});
  SendMessageW(text, WM_COPY, 0, 0);
  view->SynMemo->SelectRange({0, 0}, {0, 0});
  SendMessageW(text, WM_PASTE, 0, 0);
  const Text firstLine = original.substr(0, original.find(u"\r\n") + 2);
  EXPECT_EQ(ViewText(text), firstLine + original);
  SendMessageW(text, WM_UNDO, 0, 0);
  view->SynMemo->SelectRange({0, 0}, {1, 0});
  SendMessageW(text, WM_CUT, 0, 0);
  EXPECT_EQ(ViewText(text), original.substr(firstLine.size()));
  // WM_GETTEXT into a short buffer copies what fits.
  wchar_t small[5] = {};
  EXPECT_EQ(SendMessageW(text, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(small)), 4);
  EXPECT_EQ(std::wstring(small), std::wstring(platform::ToWide(original.substr(firstLine.size(), 4))));
}

TEST(Win32Viewer, EscapeClosesTheModalWindow) {
  const auto view = OpenView(Fixture("minimal"));
  ASSERT_TRUE(view);
  // A safety net closes the window should Esc not, and says so.
  static bool closedBySafetyNet;
  closedBySafetyNet = false;
  SetTimer(view->Handle(), 1, 120000, [](HWND window, UINT, UINT_PTR, DWORD) {
    closedBySafetyNet = true;
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  PostMessageW(view->SynMemo->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  view->ShowModal();
  EXPECT_FALSE(closedBySafetyNet) << "Esc did not close the window";
  EXPECT_FALSE(view->Handle());
}

TEST(Win32Viewer, LoadFailureShowsTheErrorBox) {
  BoxCapture boxes;
  const auto view = OpenView({"none", L"C:\\no\\such\\library.tlb"});
  EXPECT_FALSE(view);
  ASSERT_EQ(boxes.errors.size(), 1u);
  EXPECT_NE(boxes.errors[0].find(u"(Error code: 0x"), Text::npos);
}

}  // namespace
}  // namespace brannock::ui::testing
