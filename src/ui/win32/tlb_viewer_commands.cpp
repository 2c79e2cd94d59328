// The viewer's commands: going to a declaration, the caret status, find,
// print, and opening a library into a new window.
#include "ui/win32/tlb_viewer.h"

#include <dlgs.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/viewer_search.h"
#include "ui/logic/viewer_status.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/modal_loop.h"
#include "ui/win32/text_view.h"
#include "ui/win32/viewer_print.h"

namespace brannock::ui {

void TfrmTLBView::SetUnitLines(TextList lines) { SynMemo->SetLines(std::move(lines)); }

void TfrmTLBView::ShowUnit(TextList lines, Text unitName) {
  FUnitname = std::move(unitName);
  SetUnitLines(std::move(lines));
  SynMemoStatusChange();
}

void TfrmTLBView::TreeDblClick() {
  const TTypeNode* node = NodeOf(TreeView_GetSelection(Tree));
  if (!node) return;
  // The caret and the view move in several steps: the status follows once.
  SynMemo->BeginUpdate();
  SynMemo->SelectRange({}, {});
  SynMemo->SetFirstVisibleLine(0);
  const TTextDocument& text = SynMemo->Document();
  // The type's declaration line first; without one (an edited text) the
  // first place that reads " Name = " in any letter case.
  std::optional<TTextRange> match;
  TDeclarationLineRule rule(node->Text);
  for (int64_t line = 0; line < text.LineCount() && !match; ++line) {
    if (rule.IsDeclaration(text.Line(line))) {
      const auto length = static_cast<int64_t>(DeclarationSearchText(node->Text).size());
      match = TTextRange{{line, 1}, {line, 1 + length}};
    }
  }
  if (!match) match = text.Find(DeclarationSearchText(node->Text), {}, {});
  if (match) {
    const int64_t start = text.Offset(match->Start);
    const TDeclarationJump jump = DeclarationJump(match->Start.Line, start, text.Offset(match->End), start - 1);
    SynMemo->SelectApartFromCaret({text.PosOfOffset(jump.SelectionStart), text.PosOfOffset(jump.SelectionEnd)},
                                  text.PosOfOffset(jump.Caret));
    SynMemo->SetFirstVisibleLine(jump.FirstVisibleLine);
  }
  SynMemo->EndUpdate();
  SetFocus(SynMemo->Handle());
}

void TfrmTLBView::SynMemoStatusChange() {
  const TTextDocument& text = SynMemo->Document();
  const TTextPos caret = text.Caret();
  SetPanel(1, CaretStatusText(caret.Line + 1, text.DisplayColumn(caret, kTextTabWidth) + 1, text.LineCount()));
  FCurrentLine = static_cast<int>(caret.Line);
  SynMemo->ShowCaretLine(FCurrentLine >= 0);
}

bool TfrmTLBView::SearchFromCaret() {
  const TTextDocument& text = SynMemo->Document();
  TFindOptions options;
  options.Forward = (FindRequest.Flags & FR_DOWN) != 0;
  options.MatchCase = (FindRequest.Flags & FR_MATCHCASE) != 0;
  options.WholeWord = (FindRequest.Flags & FR_WHOLEWORD) != 0;
  const Text what = platform::FromWide(findText_.data(), wcsnlen(findText_.data(), findText_.size()));
  const auto match = text.Find(what, text.Caret(), options);
  if (!match) return false;
  const TMatchSelection selection = MatchSelection(text.Offset(match->Start), text.Offset(match->End), options.Forward);
  SynMemo->SelectRange(text.PosOfOffset(selection.Anchor), text.PosOfOffset(selection.Caret));
  return true;
}

void TfrmTLBView::cmFind() {
  const Text word = SynMemo->Document().WordAt(SynMemo->Document().Caret());
  const size_t n = std::min(word.size(), findText_.size() - 1);
  std::copy_n(word.data(), n, findText_.data());
  findText_[n] = L'\0';
  if (fd) {
    SetDlgItemTextW(fd, edt1, findText_.data());
    ShowWindow(fd, SW_SHOW);
    SetActiveWindow(fd);
    return;
  }
  FindRequest.Flags &= ~(FR_FINDNEXT | FR_DIALOGTERM | FR_REPLACE | FR_REPLACEALL);
  fd = FindTextW(&FindRequest);
}

void TfrmTLBView::fdFind() {
  if (!SearchFromCaret()) ShowInfoBox(kTextNotFound);
}

void TfrmTLBView::cmFindNext() {
  FindRequest.Flags |= FR_DOWN;
  if (fd) CheckRadioButton(fd, rad1, rad2, rad2);
  fdFind();
  SetFocus(SynMemo->Handle());
}

void TfrmTLBView::cmPrint() {
  PRINTDLGW pd = {};
  pd.lStructSize = sizeof(pd);
  pd.hwndOwner = window_;
  pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  if (!PrintDlgW(&pd)) return;
  PrintTo(pd.hDC);
  DeleteDC(pd.hDC);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
}

void TfrmTLBView::PrintTo(HDC printer) {
  SetPanel(0, kPrintingText);
  {
    WaitCursor cursor;
    UpdateWindow(sb);
    // The printer's text is a copy of the current lines.
    const TTextDocument copy = SynMemo->Document();
    Guarded([&] { PrintViewerText(printer, copy, PrintJobTitle(kApplicationTitle, FUnitname)); });
  }
  SetPanel(0, kReadyText);
}

std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader, HWND owner) {
  WaitCursor cursor;
  std::unique_ptr<TfrmTLBView> window;
  const std::optional<Text> failure = LoadTypeLibView(record, loader, [&]() -> TypeLibViewWindow& {
    window = std::make_unique<TfrmTLBView>(owner);
    return *window;
  });
  if (failure) {
    cursor.Restore();
    ShowErrorBox(*failure);
    return nullptr;
  }
  return window;
}

void ShowTypeLibViewer(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader) {
  Guarded([&] {
    if (const std::unique_ptr<TfrmTLBView> window = OpenTypeLibView(record, loader, owner)) window->ShowModal();
  });
}

}  // namespace brannock::ui
