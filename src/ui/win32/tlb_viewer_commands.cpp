// The controls of the viewer's commands (TViewerCommands) on Win32: the
// tree's focused node, the text view, the common Find and Print dialogs, and
// opening a library into a new window.
#include "ui/win32/tlb_viewer.h"

#include <dlgs.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/logic/viewer_search.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/text_view.h"
#include "ui/win32/viewer_print.h"

namespace brannock::ui {

void TfrmTLBView::SetUnitText(TextList lines) { SynMemo->SetLines(std::move(lines)); }

std::optional<TTypeNode> TfrmTLBView::FocusedTypeNode() const {
  const TTypeNode* node = NodeOf(TreeView_GetSelection(Tree));
  if (!node) return std::nullopt;
  return *node;
}

void TfrmTLBView::BeginEditorUpdate() { SynMemo->BeginUpdate(); }
void TfrmTLBView::EndEditorUpdate() { SynMemo->EndUpdate(); }

void TfrmTLBView::SelectRange(int64_t anchor, int64_t caret) {
  const TTextDocument& text = SynMemo->Document();
  SynMemo->SelectRange(text.PosOfOffset(anchor), text.PosOfOffset(caret));
}

void TfrmTLBView::SelectApartFromCaret(int64_t selectionStart, int64_t selectionEnd, int64_t caret) {
  const TTextDocument& text = SynMemo->Document();
  SynMemo->SelectApartFromCaret({text.PosOfOffset(selectionStart), text.PosOfOffset(selectionEnd)},
                                text.PosOfOffset(caret));
}

void TfrmTLBView::SetFirstVisibleLine(int64_t line) { SynMemo->SetFirstVisibleLine(line); }

int64_t TfrmTLBView::CaretPosition() const {
  const TTextDocument& text = SynMemo->Document();
  return text.Offset(text.Caret());
}

int64_t TfrmTLBView::LineOfPosition(int64_t position) const {
  return SynMemo->Document().PosOfOffset(position).Line;
}

std::optional<TEditorMatch> TfrmTLBView::FindDeclaration(TextView nodeText) {
  const TTextDocument& text = SynMemo->Document();
  TDeclarationLineRule rule(nodeText, FLanguage);
  for (int64_t line = 0; line < text.LineCount(); ++line) {
    if (!rule.IsDeclaration(text.Line(line))) continue;
    const int64_t start = text.Offset({line, static_cast<int64_t>(rule.MatchStart())});
    return TEditorMatch{start, start + static_cast<int64_t>(rule.MatchLength())};
  }
  return std::nullopt;
}

std::optional<TEditorMatch> TfrmTLBView::Search(TextView what, int64_t from, const TFindOptions& options) {
  const TTextDocument& text = SynMemo->Document();
  const std::optional<TTextRange> match = text.Find(what, text.PosOfOffset(from), options);
  if (!match) return std::nullopt;
  return TEditorMatch{text.Offset(match->Start), text.Offset(match->End)};
}

Text TfrmTLBView::WordAtCaret() const { return SynMemo->Document().WordAt(SynMemo->Document().Caret()); }

TViewerCommands::CaretPlace TfrmTLBView::Caret() const {
  const TTextDocument& text = SynMemo->Document();
  const TTextPos caret = text.Caret();
  return {caret.Line, text.DisplayColumn(caret, kTextTabWidth), text.LineCount()};
}

void TfrmTLBView::ShowCaretLine(bool show) { SynMemo->ShowCaretLine(show); }
void TfrmTLBView::FocusEditor() { SetFocus(SynMemo->Handle()); }

TFindRequest TfrmTLBView::FindDialogRequest() const {
  TFindOptions options;
  options.Forward = (FindRequest.Flags & FR_DOWN) != 0;
  options.MatchCase = (FindRequest.Flags & FR_MATCHCASE) != 0;
  options.WholeWord = (FindRequest.Flags & FR_WHOLEWORD) != 0;
  return {platform::FromWide(findText_.data(), wcsnlen(findText_.data(), findText_.size())), options};
}

void TfrmTLBView::SetFindDown() {
  FindRequest.Flags |= FR_DOWN;
  if (fd) CheckRadioButton(fd, rad1, rad2, rad2);
}

void TfrmTLBView::ShowFindDialog(TextView word) {
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
  // The printer's text is a copy of the current lines.
  const TTextDocument copy = SynMemo->Document();
  PrintWith([&](TextView jobTitle) { PrintViewerText(printer, copy, jobTitle, FLanguage); });
}

std::unique_ptr<TfrmTLBView> OpenTypeLibView(const TObjectData& record, typelib::TypeLibLoader& loader, HWND owner) {
  Win32BusyDisplay cursor;
  return OpenTypeLibWindow<TfrmTLBView>(record, loader, cursor, ProgramMessages(),
                                        [owner] { return std::make_unique<TfrmTLBView>(owner); });
}

void ViewTypeLib(HWND owner, const TObjectData& record, typelib::TypeLibLoader& loader) {
  Win32BusyDisplay cursor;
  ViewTypeLibWindow<TfrmTLBView>(record, loader, cursor, ProgramMessages(),
                                 [owner] { return std::make_unique<TfrmTLBView>(owner); });
}

}  // namespace brannock::ui
