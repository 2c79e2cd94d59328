// The order of every command's sequence, fixed once for both front ends:
// each front end's TfrmMain and TfrmTLBView only supply the controls that
// the recording windows below supply here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/messages.h"
#include "registry/memory_store.h"
#include "typelib/memory_typelib.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/object_commands.h"
#include "ui/logic/viewer_commands.h"

namespace brannock::ui {
namespace {

using Log = std::vector<std::string>;
using typelib::testing::MemoryLoader;
using typelib::testing::MemoryTypeLib;

// One log for the windows, their busy states and the front end's messages.
struct Recorder : BusyDisplay, UserMessages {
  Log log;
  void Add(std::string entry) { log.push_back(std::move(entry)); }
  void SetWaitCursor(bool wait) override { Add(wait ? "wait cursor" : "normal cursor"); }
  void SetStatusText(TextView text) override { Add("status " + Utf16ToUtf8(text)); }
  void Repaint() override { Add("repaint"); }
  void ShowBox(BoxKind kind, TextView text) override {
    Add((kind == BoxKind::Error ? "error box " : "information box ") + Utf16ToUtf8(text));
  }
  void ReportError(const std::exception_ptr& error) override {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      Add(std::string("report ") + e.what());
    }
  }
};

class RecordingMainWindow : public TObjectCommands {
 public:
  RecordingMainWindow(Catalogue& catalogue, Recorder& recorder, Context context = {})
      : TObjectCommands(catalogue, recorder, std::move(context)), r_(recorder) {}

  Focus focus;
  Text saveFile, typeLibFile;
  std::optional<size_t> resource;
  TextList offered;

 protected:
  Focus FocusedRecord() const override { return focus; }
  BusyDisplay& StatusDisplay() override { return r_; }
  Text ChooseSaveFile(TextView suggested) override {
    r_.Add("save dialog " + Utf16ToUtf8(suggested));
    return saveFile;
  }
  Text ChooseTypeLibFile() override {
    r_.Add("open dialog");
    return typeLibFile;
  }
  std::optional<size_t> ChooseTypeLibResource(const TextList& items) override {
    r_.Add("choice of " + std::to_string(items.size()));
    offered = items;
    return resource;
  }
  Text HeaderName() const override { return u"IAlpha"; }
  Text HeaderGuid() const override { return u"{I1}"; }
  std::vector<SummaryLine> RegistryLines() const override { return {{0, u"Interface"}, {1, u"{I1} = IAlpha"}}; }
  void PutOnClipboard(const Text& text) override { r_.Add("clipboard " + Utf16ToUtf8(text)); }
  void ShowTypeLib(const TObjectData& record, typelib::TypeLibLoader&) override {
    r_.Add("viewer " + Utf16ToUtf8(record.TypeLib.empty() ? record.Server : record.TypeLib));
  }
  void Refresh() override { r_.Add("refresh"); }

 private:
  Recorder& r_;
};

struct MainFixture : ::testing::Test {
  registry::MemoryStore store;
  Catalogue catalogue{store};
  Recorder r;
  TObjectNode alpha{u"Alpha Class", TObjectType::otCLSID, 0, u"C:\\lib\\alpha.dll"};
  TObjectNode root{u"Object Classes", TObjectType::otCLSID, 0, {}};

  MainFixture() {
    // The entry as the last selection left it, its details resolved.
    TObjectData entry;
    entry.Name = u"Alpha Class";
    entry.GUID = u"{C1}";
    entry.ProgId = u"Alpha.Class.1";
    entry.TypeLib = u"{7F1B0A00-0000-4000-8000-00000000A0A0}";
    entry.Server = u"C:\\lib\\alpha.dll";
    catalogue.List(TObjectType::otCLSID).push_back(entry);
    SetToolRunner([this](const ToolCommand& c) {
      r.Add("run " + Utf16ToUtf8(c.executable) + " " + Utf16ToUtf8(c.parameters));
      return true;
    });
  }
  ~MainFixture() override {
    SetToolRunner(nullptr);
    SetInstanceProbe(nullptr);
  }
};

TEST_F(MainFixture, CreateInstanceShowsItsBoxWhileWorkingWithTheNormalCursor) {
  RecordingMainWindow w(catalogue, r, {ToolHost{ToolHost::Kind::Native, {}}});
  InstanceReport answer{InstanceReport::Outcome::TypeInfoFailed, 0x80004001};
  SetInstanceProbe([&](const ToolHost&, TextView progId) {
    r.Add("probe " + Utf16ToUtf8(progId));
    return answer;
  });
  w.focus = {&alpha, false};
  w.cmCreateInst();
  EXPECT_EQ(r.log, (Log{"wait cursor", "status Working...", "repaint", "probe Alpha.Class.1", "normal cursor",
                        "error box " + Utf16ToUtf8(platform::ErrorCodeText(0x80004001)), "status Ready"}));

  // An instance that gives its type information, or none at all: the status
  // text only.
  for (auto outcome : {InstanceReport::Outcome::Ok, InstanceReport::Outcome::None}) {
    r.log.clear();
    answer = {outcome, 0};
    w.cmCreateInst();
    EXPECT_EQ(r.log, (Log{"wait cursor", "status Working...", "repaint", "probe Alpha.Class.1", "normal cursor",
                          "status Ready"}));
  }

  // A failure on the way leaves the handler with "Ready" and the normal
  // cursor back; the front end's Guarded reports it.
  r.log.clear();
  SetInstanceProbe([](const ToolHost&, TextView) -> InstanceReport { throw std::runtime_error("server died"); });
  Guarded(r, [&] { w.cmCreateInst(); });
  EXPECT_EQ(r.log, (Log{"wait cursor", "status Working...", "repaint", "normal cursor", "status Ready",
                        "report server died"}));

  // A root or nothing focused: nothing at all.
  r.log.clear();
  w.focus = {&root, true};
  w.cmCreateInst();
  w.focus = {};
  w.cmCreateInst();
  EXPECT_TRUE(r.log.empty());
}

// The 32-bit view of 64-bit Windows: no instance of a class that only a
// 32-bit DLL serves says why; a class with a local server, or with a 64-bit
// registration as well, keeps the status text alone.
TEST_F(MainFixture, CreateInstanceOfAClassWithOnlyA32BitDllSaysWhy) {
  registry::MemoryStore machine;
  machine.SetString(registry::RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\{C1}\\InprocServer32", u"", u"C:\\x86\\alpha.dll");
  registry::ViewedRegistry view32(machine, registry::RegistryView::Bits32);
  RecordingMainWindow w(catalogue, r, {ToolHost{ToolHost::Kind::Native, {}}, &view32});
  SetInstanceProbe([](const ToolHost&, TextView) { return InstanceReport{}; });
  w.focus = {&alpha, false};
  const Log said{"wait cursor",  "status Working...", "repaint", "normal cursor",
                 "error box " + Utf16ToUtf8(kOnly32BitInprocServerText), "status Ready"};
  const Log quiet{"wait cursor", "status Working...", "repaint", "normal cursor", "status Ready"};
  w.cmCreateInst();
  EXPECT_EQ(r.log, said);

  // An instance that was obtained after all says nothing more.
  r.log.clear();
  SetInstanceProbe([](const ToolHost&, TextView) { return InstanceReport{InstanceReport::Outcome::Ok, 0}; });
  w.cmCreateInst();
  EXPECT_EQ(r.log, quiet);
  SetInstanceProbe([](const ToolHost&, TextView) { return InstanceReport{}; });

  // The 64-bit view, or a registry of 32-bit Windows: nothing to say.
  registry::ViewedRegistry view64(machine, registry::RegistryView::Bits64);
  RecordingMainWindow w64(catalogue, r, {ToolHost{ToolHost::Kind::Native, {}}, &view64});
  w64.focus = {&alpha, false};
  r.log.clear();
  w64.cmCreateInst();
  EXPECT_EQ(r.log, quiet);

  // A 32-bit local server, or a 64-bit server beside the DLL.
  for (const char16_t* other : {u"Wow6432Node\\CLSID\\{C1}\\LocalServer32", u"CLSID\\{C1}\\InprocServer32"}) {
    registry::MemoryStore more;
    more.SetString(registry::RootKey::ClassesRoot, u"Wow6432Node\\CLSID\\{C1}\\InprocServer32", u"", u"C:\\x86\\alpha.dll");
    more.SetString(registry::RootKey::ClassesRoot, other, u"", u"C:\\other.exe");
    registry::ViewedRegistry viewed(more, registry::RegistryView::Bits32);
    RecordingMainWindow wo(catalogue, r, {ToolHost{ToolHost::Kind::Native, {}}, &viewed});
    wo.focus = {&alpha, false};
    r.log.clear();
    wo.cmCreateInst();
    EXPECT_EQ(r.log, quiet) << Utf16ToUtf8(other);
  }
}

TEST_F(MainFixture, ViewTypeInformationKeepsWorkingWhileTheViewerIsOpen) {
  RecordingMainWindow w(catalogue, r);
  w.focus = {&alpha, false};
  w.cmViewTLB();
  EXPECT_EQ(r.log, (Log{"status Working...", "repaint", "viewer {7F1B0A00-0000-4000-8000-00000000A0A0}",
                        "status Ready"}));
  r.log.clear();
  w.focus = {&root, true};
  w.cmViewTLB();
  w.focus = {};
  w.cmViewTLB();
  EXPECT_TRUE(r.log.empty());
}

TEST_F(MainFixture, ViewTypeLibFileLeavesTheStatusBarAlone) {
  RecordingMainWindow w(catalogue, r);
  w.cmViewTypeLib();  // cancelled
  EXPECT_EQ(r.log, Log{"open dialog"});

  r.log.clear();
  w.typeLibFile = u"/nonexistent/x.tlb";
  w.cmViewTypeLib();
  EXPECT_EQ(r.log, (Log{"open dialog", "wait cursor", "normal cursor", "viewer /nonexistent/x.tlb"}));

  // A file with several libraries asks which one; a cancelled choice opens
  // nothing.
  const auto fm20 = std::filesystem::path(BRANNOCK_TEST_DATA) / ".." / ".." / ".." / "shared" / "fixtures" /
                    "real" / "typelib" / "pe" / "win8-wow64_FM20.DLL";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fm20, ec)) GTEST_SKIP() << "../shared/fixtures/real is missing";
  const Text file = platform::HostPathText(fm20.lexically_normal());
  w.typeLibFile = file;
  r.log.clear();
  w.cmViewTypeLib();
  EXPECT_EQ(r.log, (Log{"open dialog", "wait cursor", "normal cursor", "choice of 2"}));
  ASSERT_EQ(w.offered.size(), 2u);
  EXPECT_EQ(w.offered[0].substr(0, 10), u"1: MSForms");
  r.log.clear();
  w.resource = 1;
  w.cmViewTypeLib();
  EXPECT_EQ(r.log, (Log{"open dialog", "wait cursor", "normal cursor", "choice of 2", "viewer " +
                                                                                     Utf16ToUtf8(file) + "\\2"}));
}

TEST_F(MainFixture, RegisterRunsTheToolOnTheFocusedServerOnly) {
  RecordingMainWindow w(catalogue, r, {ToolHost{ToolHost::Kind::Native, {}}});
  w.focus = {&alpha, false};
  w.bRegClick(kRegisterTag);
  w.bRegClick(kUnregisterTag);
  w.bRegClick(7);  // any other tag unregisters
  EXPECT_EQ(r.log, (Log{"run regsvr32 \"C:\\lib\\alpha.dll\"", "run regsvr32 /u \"C:\\lib\\alpha.dll\"",
                        "run regsvr32 /u \"C:\\lib\\alpha.dll\""}));
  // No busy state, no box; a root, nothing focused or a source without the
  // Windows programs runs nothing.
  r.log.clear();
  w.focus = {&root, true};
  w.bRegClick(kRegisterTag);
  w.focus = {};
  w.bRegClick(kRegisterTag);
  RecordingMainWindow nowhere(catalogue, r);
  nowhere.focus = {&alpha, false};
  nowhere.bRegClick(kRegisterTag);
  EXPECT_TRUE(r.log.empty());
}

TEST_F(MainFixture, SaveWritesUnderTheWaitCursorAndCopyTakesThePane) {
  RecordingMainWindow w(catalogue, r);
  w.cmSave(2);  // cancelled
  EXPECT_EQ(r.log, Log{"save dialog ObjClasses.csv"});

  const auto file = std::filesystem::temp_directory_path() / "brannock-command-flow.csv";
  w.saveFile = platform::HostPathText(file);
  r.log.clear();
  w.cmSave(2);
  EXPECT_EQ(r.log, (Log{"save dialog ObjClasses.csv", "wait cursor", "normal cursor"}));
  std::ifstream in(file, std::ios::binary);
  std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(written.find("Alpha Class"), std::string::npos) << written;
  in.close();
  std::filesystem::remove(file);

  // A file that cannot be written: the error leaves the handler with the
  // cursor back, then the report.
  w.saveFile = u"/nonexistent/dir/x.csv";
  r.log.clear();
  Guarded(r, [&] { w.cmSave(2); });
  ASSERT_EQ(r.log.size(), 4u);
  EXPECT_EQ(r.log[2], "normal cursor");
  EXPECT_EQ(r.log[3].substr(0, 7), "report ");

  r.log.clear();
  w.bCopyClick();
  EXPECT_EQ(r.log, Log{"clipboard Name: IAlpha\r\nGUID: {I1}\r\n" + std::string(80, '-') +
                       "\r\nInterface\r\n   {I1} = IAlpha\r\n"});
}

// The viewer window: its editor is a text document, positions are
// character offsets.
class RecordingViewer : public TViewerCommands {
 public:
  explicit RecordingViewer(Recorder& recorder) : TViewerCommands(recorder), r_(recorder) {}

  std::optional<TTypeNode> focused;
  TFindRequest request;
  TTextDocument text;
  int64_t firstLine = -1;
  std::pair<int64_t, int64_t> selection{-1, -1};

  void FillTree(typelib::TypeLib&) override { r_.Add("fill tree"); }
  void ShowModal() override { r_.Add("modal"); }
  using TViewerCommands::PrintWith;

 protected:
  std::optional<TTypeNode> FocusedTypeNode() const override { return focused; }
  void SetUnitText(TextList lines) override {
    r_.Add("text of " + std::to_string(lines.size()) + " lines");
    text.SetLines(std::move(lines));
  }
  void SelectRange(int64_t anchor, int64_t caret) override {
    selection = {anchor, caret};
    text.SetCaret(text.PosOfOffset(caret), false);
  }
  void SelectApartFromCaret(int64_t start, int64_t end, int64_t caret) override {
    selection = {start, end};
    text.SetCaret(text.PosOfOffset(caret), false);
  }
  void SetFirstVisibleLine(int64_t line) override { firstLine = line; }
  int64_t CaretPosition() const override { return text.Offset(text.Caret()); }
  int64_t LineOfPosition(int64_t position) const override { return text.PosOfOffset(position).Line; }
  int64_t PositionBefore(int64_t position) const override { return position - 1; }
  std::optional<TEditorMatch> FindDeclaration(TextView) override { return std::nullopt; }
  std::optional<TEditorMatch> Search(TextView what, int64_t from, const TFindOptions& options) override {
    const auto match = text.Find(what, text.PosOfOffset(from), options);
    if (!match) return std::nullopt;
    return TEditorMatch{text.Offset(match->Start), text.Offset(match->End)};
  }
  Text WordAtCaret() const override { return text.WordAt(text.Caret()); }
  CaretPlace Caret() const override { return {text.Caret().Line, text.Caret().Column, text.LineCount()}; }
  void ShowCaretLine(bool show) override { r_.Add(show ? "caret line" : "no caret line"); }
  void FocusEditor() override { r_.Add("focus editor"); }
  TFindRequest FindDialogRequest() const override { return request; }
  void SetFindDown() override {
    r_.Add("find down");
    request.Options.Forward = true;
  }
  void ShowFindDialog(TextView word) override { r_.Add("find dialog " + Utf16ToUtf8(word)); }
  void SetCaretStatus(TextView status) override { r_.Add("caret " + Utf16ToUtf8(status)); }
  BusyDisplay& StatusDisplay() override { return r_; }
  void SetLanguage(TUnitLanguage language) override {
    r_.Add(language == TUnitLanguage::Idl ? "colour IDL" : "colour Pascal");
  }

 private:
  Recorder& r_;
};

TObjectData LibraryRecord() {
  TObjectData record;
  record.TypeLib = u"{7F1B0A00-0000-4000-8000-00000000A0A0}";
  record.MajorVersion = 1;
  record.Typ = TObjectType::otTypeLib;
  return record;
}

TEST(ViewerFlow, OpeningLoadsUnderTheWaitCursorAndFailsWithTheBoxAfterIt) {
  Recorder r;
  MemoryLoader loader;
  loader.registered = std::make_shared<MemoryTypeLib>(u"Shapes", u"Shapes and more");
  loader.regResult = 0;
  auto make = [&] { return std::make_unique<RecordingViewer>(r); };
  ViewTypeLibWindow<RecordingViewer>(LibraryRecord(), loader, r, r, make);
  ASSERT_GE(r.log.size(), 6u);
  EXPECT_EQ(r.log[0], "wait cursor");
  EXPECT_EQ(r.log[1], "fill tree");
  EXPECT_EQ(r.log[2].substr(0, 8), "text of ");
  EXPECT_EQ(r.log[3], "caret Line: 1   Col: 1   Lines: " + r.log[2].substr(8, r.log[2].find(' ', 8) - 8));
  EXPECT_EQ(r.log[4], "caret line");
  EXPECT_EQ((Log{r.log.end() - 2, r.log.end()}), (Log{"normal cursor", "modal"}));

  // A library that does not load: the cursor comes back, then the box; no
  // window.
  r.log.clear();
  MemoryLoader nothing;
  int made = 0;
  ViewTypeLibWindow<RecordingViewer>(LibraryRecord(), nothing, r, r, [&] {
    ++made;
    return std::make_unique<RecordingViewer>(r);
  });
  EXPECT_EQ(r.log, (Log{"wait cursor", "normal cursor", "error box " + Utf16ToUtf8(platform::ErrorCodeText(0x8002801D))}));
  EXPECT_EQ(made, 0);
}

TEST(ViewerFlow, PrintShowsPrintingThenReadyThenTheReport) {
  Recorder r;
  RecordingViewer v(r);
  v.FUnitname = u"Shapes";
  v.PrintWith([&](TextView title) { r.Add("print " + Utf16ToUtf8(title)); });
  EXPECT_EQ(r.log, (Log{"wait cursor", "status Printing...", "repaint", "print Brannock - [Shapes]", "normal cursor",
                        "status Ready"}));
  r.log.clear();
  v.PrintWith([&](TextView) { throw std::runtime_error("The printer could not start a page"); });
  EXPECT_EQ(r.log, (Log{"wait cursor", "status Printing...", "repaint", "normal cursor", "status Ready",
                        "report The printer could not start a page"}));
}

TEST(ViewerFlow, FindAndFindNextAndTheJumpToADeclaration) {
  Recorder r;
  RecordingViewer v(r);
  v.ShowUnit({u"unit Shapes;", u"type", u"  IShape = interface", u"  end;"}, u"Shapes");
  r.log.clear();

  v.cmFind();  // the word at the caret
  EXPECT_EQ(r.log, Log{"find dialog unit"});
  r.log.clear();
  v.request = {u"ishape", {}};
  v.fdFind();
  EXPECT_EQ(v.selection, (std::pair<int64_t, int64_t>{v.text.Offset({2, 2}), v.text.Offset({2, 8})}));
  EXPECT_EQ(r.log, Log{});
  v.fdFind();  // no further match
  v.request = {u"", {}};
  v.fdFind();  // nothing asked
  EXPECT_EQ(r.log, (Log{"information box Text not found.", "information box Text not found."}));

  // Find Next turns the direction down first and gives the editor the focus
  // last.
  r.log.clear();
  v.request = {u"unit", {false, false, false}};
  v.cmFindNext();
  EXPECT_EQ(r.log, (Log{"find down", "information box Text not found.", "focus editor"}));

  // A double click: to the top, then the declaration, then the focus.
  r.log.clear();
  v.focused = TTypeNode{u"IShape", 3};
  v.TreeDblClick();
  EXPECT_EQ(v.firstLine, 0);
  // The caret behind " IShape = ", the blank before it selected.
  EXPECT_EQ(v.text.Caret(), (TTextPos{2, 11}));
  EXPECT_EQ(v.selection, (std::pair<int64_t, int64_t>{v.text.Offset({2, 0}), v.text.Offset({2, 1})}));
  EXPECT_EQ(r.log, Log{"focus editor"});
  r.log.clear();
  v.focused.reset();
  v.TreeDblClick();
  EXPECT_TRUE(r.log.empty());
}

TEST(ViewerFlow, TheViewMenuRendersTheLibraryAgainInTheOtherNotation) {
  Recorder r;
  MemoryLoader loader;
  loader.registered = std::make_shared<MemoryTypeLib>(u"Shapes", u"Shapes and more");
  loader.regResult = 0;
  std::unique_ptr<RecordingViewer> v = OpenTypeLibWindow<RecordingViewer>(
      LibraryRecord(), loader, r, r, [&] { return std::make_unique<RecordingViewer>(r); });
  ASSERT_TRUE(v);
  EXPECT_EQ(v->FLanguage, TUnitLanguage::Pascal);
  EXPECT_EQ(v->text.Line(v->text.LineCount() - 1), u"end.");
  const Text unit = v->text.WholeText();
  v->text.SetCaret({3, 2}, false);

  r.log.clear();
  v->cmLanguage(TUnitLanguage::Idl);
  EXPECT_EQ(v->FLanguage, TUnitLanguage::Idl);
  ASSERT_GE(r.log.size(), 8u);
  EXPECT_EQ((Log{r.log.begin(), r.log.begin() + 5}),
            (Log{"wait cursor", "status Working...", "repaint", "colour IDL", r.log[4]}));
  EXPECT_EQ(r.log[4].substr(0, 8), "text of ");
  EXPECT_EQ((Log{r.log.end() - 3, r.log.end()}), (Log{"normal cursor", "status Ready", "colour IDL"}));
  EXPECT_TRUE(v->text.Line(0).starts_with(u"// typelib filename: "));
  EXPECT_NE(v->text.WholeText().find(u"library Shapes"), Text::npos);
  EXPECT_EQ(v->text.Caret(), (TTextPos{0, 0}));
  EXPECT_EQ(v->firstLine, 0);
  EXPECT_EQ(v->FUnitname, u"Shapes");

  // The checked item again: nothing rendered, the check kept.
  r.log.clear();
  v->cmLanguage(TUnitLanguage::Idl);
  EXPECT_EQ(r.log, Log{"colour IDL"});
  // Back to the same unit as before.
  v->cmLanguage(TUnitLanguage::Pascal);
  EXPECT_EQ(v->text.WholeText(), unit);

  // A window without a library (it shows a unit only) stays as it is.
  RecordingViewer bare(r);
  r.log.clear();
  bare.cmLanguage(TUnitLanguage::Idl);
  EXPECT_EQ(r.log, Log{"colour Pascal"});
  EXPECT_EQ(bare.FLanguage, TUnitLanguage::Pascal);
}

}  // namespace
}  // namespace brannock::ui
