// The type library viewer's commands, the same in both front ends: going
// to a type's declaration, the caret status, find, find next, printing and
// showing the unit. TfrmTLBView of each front end derives from
// TViewerCommands and supplies its controls (the protected functions that
// are pure virtual): its tree, its editor, its find dialog and its status
// bar. Positions are the editor's own (a character index, or a byte offset
// in a multi-byte document): the commands only compare them and hand them
// back.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "common/text.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/command_flow.h"
#include "ui/logic/idl_tokens.h"
#include "ui/logic/text_document.h"
#include "ui/logic/type_tree.h"
#include "ui/logic/typelib_view.h"

namespace brannock::ui {

struct TEditorMatch {
  int64_t Start = 0;
  int64_t End = 0;
};

// What the find dialog asks for.
struct TFindRequest {
  Text What;
  TFindOptions Options;
};

class TViewerCommands : public TypeLibViewWindow {
 public:
  // The caret line at the last status update; -1 before the first.
  int FCurrentLine = -1;
  // The library's unit name, for the print title.
  Text FUnitname;

  // The notation shown: Object Pascal when the window opens.
  TUnitLanguage FLanguage = TUnitLanguage::Pascal;

  // The unit's lines in the editor, its name kept, the status shown.
  void ShowUnit(TextList lines, Text unitName) override;
  void KeepLibrary(std::shared_ptr<typelib::TypeLib> lib, typelib::UnitHeader header) override;

  // Handlers.
  void TreeDblClick();
  void SynMemoStatusChange();
  void cmFind();
  void fdFind();
  void cmFindNext();
  // View > "Object Pascal" or "IDL": the library rendered anew in
  // `language` (the busy cursor and status while it renders), its colouring
  // and the menu's check set, the caret at the start. An error of the
  // renderer goes to the general error report and the text stays.
  void cmLanguage(TUnitLanguage language);

 protected:
  explicit TViewerCommands(UserMessages& messages) : messages_(messages) {}

  // Prints: "Printing..." and the wait cursor, `print` given the job's
  // title, then "Ready" and the normal cursor; an error goes to the general
  // error report after that. The front end's cmPrint asks its print dialog
  // for the printer first.
  void PrintWith(const std::function<void(TextView jobTitle)>& print);

  // The controls.
  // The editor's colouring and the View menu's radio items follow
  // `language`; the text is set after.
  virtual void SetLanguage(TUnitLanguage language) = 0;
  // The tree's focused node; none when no node is focused.
  virtual std::optional<TTypeNode> FocusedTypeNode() const = 0;
  // The editor.
  virtual void SetUnitText(TextList lines) = 0;
  // Brackets a run of caret and view changes, so that the status follows
  // once (a front end whose editor reports each change may ignore them).
  virtual void BeginEditorUpdate() {}
  virtual void EndEditorUpdate() {}
  virtual void SelectRange(int64_t anchor, int64_t caret) = 0;
  // Selects [selectionStart, selectionEnd) with the caret elsewhere.
  virtual void SelectApartFromCaret(int64_t selectionStart, int64_t selectionEnd, int64_t caret) = 0;
  virtual void SetFirstVisibleLine(int64_t line) = 0;
  virtual int64_t CaretPosition() const = 0;
  virtual int64_t LineOfPosition(int64_t position) const = 0;
  // The position one character before `position`.
  virtual int64_t PositionBefore(int64_t position) const = 0;
  // The declaration line of a type node's text in FLanguage
  // (FindDeclarationMatch, TDeclarationLineRule).
  virtual std::optional<TEditorMatch> FindDeclaration(TextView nodeText) = 0;
  // Searches from `from` to the end of the text, or back to its start.
  virtual std::optional<TEditorMatch> Search(TextView what, int64_t from, const TFindOptions& options) = 0;
  virtual Text WordAtCaret() const = 0;
  // The caret's line and column (from 0, tabs expanded) and the number of
  // lines.
  struct CaretPlace {
    int64_t Line = 0;
    int64_t Column = 0;
    int64_t LineCount = 0;
  };
  virtual CaretPlace Caret() const = 0;
  virtual void ShowCaretLine(bool show) = 0;
  virtual void FocusEditor() = 0;
  // The find dialog: what it asks for, its direction set to down, shown
  // with a text.
  virtual TFindRequest FindDialogRequest() const = 0;
  virtual void SetFindDown() = 0;
  virtual void ShowFindDialog(TextView text) = 0;
  // The status bar: the caret status in the second panel; the busy state
  // in the first one.
  virtual void SetCaretStatus(TextView text) = 0;
  virtual BusyDisplay& StatusDisplay() = 0;

  UserMessages& messages_;

 private:
  std::shared_ptr<typelib::TypeLib> lib_;
  typelib::UnitHeader header_;
};

}  // namespace brannock::ui
