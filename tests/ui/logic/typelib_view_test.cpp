#include "ui/logic/typelib_view.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "analysis/object_typelib.h"
#include "platform/messages.h"
#include "typelib/memory_typelib.h"
#include "typelib/unit_text.h"

namespace brannock::ui {
namespace {

using typelib::testing::MemoryLoader;
using typelib::testing::MemoryTypeLib;

// The window side: what the opening asked of it, in order.
struct RecordingWindow : TypeLibViewWindow {
  TextList calls;
  typelib::TypeLib* filledFrom = nullptr;
  TextList lines;
  Text unitName;
  bool failFill = false;

  void FillTree(typelib::TypeLib& lib) override {
    calls.push_back(u"FillTree");
    filledFrom = &lib;
    if (failFill) throw std::runtime_error("the tree stopped part way");
  }
  void ShowUnit(TextList shown, Text name) override {
    calls.push_back(u"ShowUnit");
    lines = std::move(shown);
    unitName = std::move(name);
  }
  void ShowModal() override { calls.push_back(u"ShowModal"); }
};

// A loader that says what a failed load could not find.
struct ExplainingLoader : MemoryLoader {
  Text FailureDetail() const override { return u"File not found: C:\\gone.tlb"; }
};

TObjectData LibraryRecord() {
  TObjectData record;
  record.Name = u"Shapes";
  record.TypeLib = u"{7F1B0A00-0000-4000-8000-00000000A0A0}";
  record.MajorVersion = 1;
  record.Typ = TObjectType::otTypeLib;
  return record;
}

TEST(TypeLibView, NoWindowWhenTheLibraryDoesNotLoad) {
  RecordingWindow window;
  int opened = 0;
  const auto open = [&]() -> TypeLibViewWindow& {
    ++opened;
    return window;
  };
  MemoryLoader nothing;  // not registered, no file
  EXPECT_EQ(LoadTypeLibView(LibraryRecord(), nothing, open), platform::ErrorCodeText(0x8002801D));
  // The loader's detail follows the code's text on a line of its own.
  ExplainingLoader explaining;
  TObjectData record = LibraryRecord();
  record.TypeLib.clear();
  record.Server = u"C:\\gone.tlb";
  EXPECT_EQ(LoadTypeLibView(record, explaining, open),
            platform::ErrorCodeText(0x80004001) + u"\nFile not found: C:\\gone.tlb");
  // A load that claims success without a library is a failure too.
  MemoryLoader empty;
  empty.regResult = 0;
  EXPECT_EQ(LoadTypeLibView(LibraryRecord(), empty, open), platform::ErrorCodeText(0x80004005));
  EXPECT_EQ(opened, 0);
  EXPECT_TRUE(window.calls.empty());
}

TEST(TypeLibView, TreeFirstThenTheWholeUnitEvenWhenTheTreeFails) {
  auto lib = std::make_shared<MemoryTypeLib>(u"ShapeLib", u"Shapes and more");
  lib->AddType(typelib::TKIND_ENUM, u"Colors");
  lib->AddType(typelib::TKIND_INTERFACE, u"IShape");
  MemoryLoader loader;
  loader.registered = lib;
  loader.regResult = 0;
  TextList expected;
  const Text expectedName = typelib::TypeLibToStrings(analysis::UnitHeaderOf(LibraryRecord()), *lib, &expected);
  ASSERT_FALSE(expected.empty());

  for (bool failFill : {false, true}) {
    RecordingWindow window;
    window.failFill = failFill;
    EXPECT_EQ(LoadTypeLibView(LibraryRecord(), loader, [&]() -> TypeLibViewWindow& { return window; }),
              std::nullopt);
    EXPECT_EQ(window.calls, (TextList{u"FillTree", u"ShowUnit"})) << failFill;
    EXPECT_EQ(window.filledFrom, lib.get());
    EXPECT_EQ(window.lines, expected) << failFill;
    EXPECT_EQ(window.unitName, expectedName);
    EXPECT_EQ(window.unitName, u"ShapeLib");
  }
}

}  // namespace
}  // namespace brannock::ui
