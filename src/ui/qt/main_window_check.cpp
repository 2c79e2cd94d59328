// The main window's registration check and the detail pane's Security page:
// the controls TCheckCommands needs, and the page filled for the object
// shown (the logic is in ui/logic/check_window.h and security_page.h).
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/logic/security_page.h"
#include "ui/qt/check_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

TfrmMain::CheckResultChooser& CheckChooser() {
  static TfrmMain::CheckResultChooser chooser;
  return chooser;
}

}  // namespace

void TfrmMain::SetCheckResultChooser(CheckResultChooser chooser) { CheckChooser() = std::move(chooser); }

std::optional<size_t> TfrmMain::ShowCheckResult(const std::vector<CheckRow>& rows, const Text& count) {
  CheckDialog dialog(this, rows, count);
  if (CheckChooser()) return CheckChooser()(dialog);
  dialog.exec();
  return dialog.Chosen();
}

void TfrmMain::SelectFindingObject(TObjectType typ, size_t index) {
  ExpandRoot(typ);
  SelectObjectNode(typ, static_cast<uint32_t>(index));
}

QWidget* TfrmMain::BuildSecurityPage() {
  tsSecurity = new QWidget(pc);
  auto* page = new QVBoxLayout(tsSecurity);
  SecurityText = new QPlainTextEdit(tsSecurity);
  SecurityText->setReadOnly(true);
  SecurityText->setLineWrapMode(QPlainTextEdit::NoWrap);
  page->addWidget(SecurityText);
  return tsSecurity;
}

void TfrmMain::ShowSecurityPage(const TObjectData& snapshot) {
  registry::RegistryBackend& store = options_.view ? options_.view->Store() : catalogue_.Backend();
  const SecurityPage page = SecurityPageOf(snapshot, catalogue_.Backend(), store);
  if (!page.shown) {
    HideSecurityPage();
    return;
  }
  if (pc->indexOf(tsSecurity) < 0) {
    const QSignalBlocker quiet(pc);  // not the user's choice of page
    pc->addTab(tsSecurity, ToQt(kSecurityTabCaption));
  }
  Text text = page.text;
  for (size_t crlf; (crlf = text.find(u"\r\n")) != Text::npos;) text.erase(crlf, 1);
  SecurityText->setPlainText(ToQt(text));
}

void TfrmMain::HideSecurityPage() {
  if (const int at = pc->indexOf(tsSecurity); at >= 0) {
    const QSignalBlocker quiet(pc);  // not the user's choice of page
    pc->removeTab(at);
  }
  SecurityText->clear();
}

}  // namespace brannock::ui
