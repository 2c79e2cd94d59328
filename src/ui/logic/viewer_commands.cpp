#include "ui/logic/viewer_commands.h"

#include "typelib/idl_text.h"
#include "typelib/unit_text.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/viewer_search.h"
#include "ui/logic/viewer_status.h"

namespace brannock::ui {

void TViewerCommands::ShowUnit(TextList lines, Text unitName) {
  FUnitname = std::move(unitName);
  SetUnitText(std::move(lines));
  SynMemoStatusChange();
}

void TViewerCommands::KeepLibrary(std::shared_ptr<typelib::TypeLib> lib, typelib::UnitHeader header) {
  lib_ = std::move(lib);
  header_ = std::move(header);
}

void TViewerCommands::cmLanguage(TUnitLanguage language) {
  if (language == FLanguage || !lib_) {
    SetLanguage(FLanguage);  // a radio item clicked again stays checked
    return;
  }
  Guarded(messages_, [&] {
    BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait, kWorkingText);
    TextList lines;
    if (language == TUnitLanguage::Idl)
      typelib::TypeLibToIdl(header_, *lib_, &lines);
    else
      typelib::TypeLibToStrings(header_, *lib_, &lines);
    FLanguage = language;
    SetLanguage(language);
    BeginEditorUpdate();
    ShowUnit(std::move(lines), FUnitname);
    SelectRange(0, 0);
    SetFirstVisibleLine(0);
    EndEditorUpdate();
  });
  SetLanguage(FLanguage);
}

void TViewerCommands::TreeDblClick() {
  const std::optional<TTypeNode> node = FocusedTypeNode();
  if (!node) return;
  BeginEditorUpdate();
  SelectRange(0, 0);
  SetFirstVisibleLine(0);
  // The type's declaration line first; without one (an edited text) the
  // first place that reads " Name = " (IDL: " Name") in any letter case.
  const Text& name = FLanguage == TUnitLanguage::Idl ? node->Name : node->Text;
  std::optional<TEditorMatch> match = name.empty() ? std::nullopt : FindDeclaration(name);
  if (!match && !name.empty()) match = Search(DeclarationSearchText(name, FLanguage), 0, {});
  if (match) {
    const TDeclarationJump jump =
        DeclarationJump(LineOfPosition(match->Start), match->Start, match->End, PositionBefore(match->Start));
    SelectApartFromCaret(jump.SelectionStart, jump.SelectionEnd, jump.Caret);
    SetFirstVisibleLine(jump.FirstVisibleLine);
  }
  EndEditorUpdate();
  FocusEditor();
}

void TViewerCommands::SynMemoStatusChange() {
  const CaretPlace caret = Caret();
  SetCaretStatus(CaretStatusText(caret.Line + 1, caret.Column + 1, caret.LineCount));
  FCurrentLine = static_cast<int>(caret.Line);
  ShowCaretLine(FCurrentLine >= 0);
}

void TViewerCommands::cmFind() { ShowFindDialog(WordAtCaret()); }

void TViewerCommands::fdFind() {
  const TFindRequest request = FindDialogRequest();
  const std::optional<TEditorMatch> match =
      request.What.empty() ? std::nullopt : Search(request.What, CaretPosition(), request.Options);
  if (!match) {
    messages_.ShowBox(BoxKind::Information, kTextNotFound);
    return;
  }
  const TMatchSelection selection = MatchSelection(match->Start, match->End, request.Options.Forward);
  SelectRange(selection.Anchor, selection.Caret);
}

void TViewerCommands::cmFindNext() {
  SetFindDown();
  fdFind();
  FocusEditor();
}

void TViewerCommands::PrintWith(const std::function<void(TextView jobTitle)>& print) {
  // The report comes after "Ready" and the normal cursor are back.
  Guarded(messages_, [&] {
    BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait, kPrintingText);
    print(PrintJobTitle(kApplicationTitle, FUnitname));
  });
}

}  // namespace brannock::ui
