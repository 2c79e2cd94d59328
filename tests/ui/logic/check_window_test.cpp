// The "Check Registrations" command of both windows, on the planted-fault
// machine: its rows and count line, the busy state around the check, and the
// object of the row double-clicked selected; and the Security page.
#include <gtest/gtest.h>

#include "registry/reg_file_parser.h"
#include "registry/registry_source.h"
#include "ui/logic/check_window.h"
#include "ui/logic/security_page.h"

using namespace brannock;
using namespace brannock::ui;

namespace {

const std::filesystem::path kMachine = std::filesystem::path(BRANNOCK_TEST_DATA) / "analysis" / "check_machine.reg";

class CheckRecordingDisplay : public BusyDisplay {
 public:
  void SetWaitCursor(bool wait) override { events.push_back(wait ? u"wait" : u"arrow"); }
  void SetStatusText(TextView text) override { events.push_back(Text(text)); }
  void Repaint() override {}
  TextList events;
};

class Window : public TCheckCommands {
 public:
  Window(Catalogue& catalogue, registry::ViewedRegistry& view, registry::RegistrySource& source)
      : TCheckCommands(catalogue, &source, &view) {}
  CheckRecordingDisplay display;
  std::function<std::optional<size_t>(const std::vector<CheckRow>&)> choose;
  std::vector<CheckRow> shown;
  Text count;
  TextList busyWhenShown;
  std::optional<std::pair<TObjectType, size_t>> selected;

 protected:
  BusyDisplay& StatusDisplay() override { return display; }
  std::optional<size_t> ShowCheckResult(const std::vector<CheckRow>& rows, const Text& c) override {
    shown = rows;
    count = c;
    busyWhenShown = display.events;
    return choose ? choose(rows) : std::nullopt;
  }
  void SelectFindingObject(TObjectType typ, size_t index) override { selected = {typ, index}; }
};

}  // namespace

TEST(CheckWindow, RowsCountAndTheObjectOfADoubleClick) {
  // An export has no drives: its files are not checked.
  registry::RegistrySource source = registry::OpenRegistryPath(kMachine);
  registry::ViewedRegistry view(*source.backend, registry::RegistryView::Bits64);
  Catalogue catalogue(view);
  Window window(catalogue, view, source);
  // Double-click the row of the ProgID whose class does not name it back:
  // its class is selected in the tree.
  window.choose = [](const std::vector<CheckRow>& rows) -> std::optional<size_t> {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].object == u"ProgID NoBack.ProgID {C0000002-0000-4000-8000-000000000000}") return i;
    return std::nullopt;
  };
  window.cmCheckRegistrations();
  // The list shows once the busy state is over.
  EXPECT_EQ(window.busyWhenShown, (TextList{u"wait", u"Working...", u"arrow", u"Ready"}));
  EXPECT_EQ(window.count, u"9 errors, 9 warnings, 2 notes. Double-click a row to select its object.");
  ASSERT_FALSE(window.shown.empty());
  EXPECT_EQ(window.shown[0].object, u"class Treat Missing {C0000004-0000-4000-8000-000000000000}");
  EXPECT_EQ(window.shown[0].severity, analysis::Severity::Error);
  EXPECT_EQ(window.shown[0].keyPath, u"HKEY_CLASSES_ROOT\\CLSID\\{C0000004-0000-4000-8000-000000000000}\\TreatAs");
  // A note on the source names no object.
  EXPECT_EQ(window.shown.back().object, u"(the registry source)");
  EXPECT_EQ(window.shown.back().reason,
            u"server and library files were not checked: the source has no drives (map them with --drive LETTER=DIR)");
  ASSERT_TRUE(window.selected);
  EXPECT_EQ(window.selected->first, TObjectType::otCLSID);
  EXPECT_EQ(catalogue.OCList[window.selected->second].Name, u"Missing Server");

  // A row of the machine's settings, or the list closed: nothing selected.
  window.selected.reset();
  window.choose = [](const std::vector<CheckRow>& rows) -> std::optional<size_t> {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].object == u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole") return i;
    return std::nullopt;
  };
  window.cmCheckRegistrations();
  EXPECT_FALSE(window.selected);
  EXPECT_EQ(CheckCountText({}), u"No findings.");
}

TEST(CheckWindow, TheSecurityPageOfAppIdsAndClassesWithOne) {
  registry::MemoryStore store;
  registry::LoadRegFile(kMachine, store);
  registry::ViewedRegistry view(store, registry::RegistryView::Bits64);
  TObjectData appId;
  appId.Typ = TObjectType::otAppID;
  appId.GUID = u"{A0000002-0000-4000-8000-000000000000}";
  appId.Name = u"Defaults AppID";
  const SecurityPage page = SecurityPageOf(appId, view, store);
  ASSERT_TRUE(page.shown);
  EXPECT_EQ(page.text.substr(0, page.text.find(u"\r\n")), u"AppID {A0000002-0000-4000-8000-000000000000} (Defaults AppID)");
  EXPECT_NE(page.text.find(u"the machine default applies, DefaultLaunchPermission of "
                           u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole\r\n"),
            Text::npos);
  TObjectData cls;
  cls.Typ = TObjectType::otCLSID;
  cls.GUID = u"{C0000003-0000-4000-8000-000000000000}";  // names no AppID
  EXPECT_FALSE(SecurityPageOf(cls, view, store).shown);
}
