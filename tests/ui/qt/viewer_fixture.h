// Libraries for the viewer tests: a demo library built in memory with one
// type of every kind and a dual interface, and the helpers that open the
// viewer on it and capture its message boxes.
#pragma once

#include <QTreeWidgetItem>
#include <memory>
#include <vector>

#include "registry/registry_source.h"
#include "typelib/loader.h"
#include "typelib/memory_typelib.h"
#include "ui/qt/error_report.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tlb_viewer.h"
#include "ui/qt/type_tree_widget.h"
#include "ui/qt/message_boxes.h"
#include "ui/qt/viewer_editor.h"

namespace brannock::ui::testing {

using namespace typelib;
using typelib::testing::MemoryLoader;
using typelib::testing::MemoryTypeInfo;
using typelib::testing::MemoryTypeLib;
using typelib::testing::Vt;

// A memory library that also owns types outside its list (the interface
// view of a dual interface, which its types reference weakly).
struct OwningTypeLib : MemoryTypeLib {
  using MemoryTypeLib::MemoryTypeLib;
  std::vector<std::shared_ptr<TypeInfo>> owned;
};

inline std::shared_ptr<OwningTypeLib> DemoLibrary() {
  auto lib = std::make_shared<OwningTypeLib>(u"DemoLib", u"Demo types");
  auto colors = lib->AddType(TKIND_ENUM, u"Colors");
  colors->AddConstant(0, u"Red", Variant::Int(VT_I4, 0));
  colors->AddConstant(1, u"Green", Variant::Int(VT_I4, 1));
  // Dual, handed out as a dispatch type; its interface view is implemented.
  auto shape = lib->AddType(TKIND_DISPATCH, u"IShape", u"", TypeFlag::Dual | TypeFlag::Dispatchable);
  shape->AddFunction(1, u"Name", Vt(VT_BSTR), {}, FUNC_DISPATCH, INVOKE_PROPERTYGET);
  shape->AddFunction(2, u"Draw", Vt(VT_VOID), {}, FUNC_DISPATCH);
  auto shapeInterface = std::make_shared<MemoryTypeInfo>();
  shapeInterface->attr.typekind = TKIND_INTERFACE;
  shapeInterface->doc.name = u"IShape";
  shape->AddImplType(shapeInterface);
  lib->owned.push_back(shapeInterface);
  auto coclass = lib->AddType(TKIND_COCLASS, u"Shape", u"", TypeFlag::CanCreate);
  coclass->AddImplType(shapeInterface);
  auto point = lib->AddType(TKIND_RECORD, u"Point");
  point->AddField(0, u"x", Vt(VT_I4));
  point->AddField(1, u"y", Vt(VT_I4));
  lib->AddType(TKIND_MODULE, u"Helpers");
  auto handle = lib->AddType(TKIND_ALIAS, u"Handle");
  handle->attr.tdescAlias = Vt(VT_I4);
  auto value = lib->AddType(TKIND_UNION, u"Value");
  value->AddField(0, u"i", Vt(VT_I4));
  value->AddField(1, u"d", Vt(VT_R8));
  auto plain = lib->AddType(TKIND_INTERFACE, u"IPlain", u"", TypeFlag::OleAutomation);
  plain->AddFunction(1, u"Ping", Vt(VT_HRESULT));
  return lib;
}

// A loader that opens `lib` from the file `fileName`.
inline MemoryLoader LoaderOf(const std::shared_ptr<TypeLib>& lib, const Text& fileName = u"C:\\demo.tlb") {
  MemoryLoader loader;
  loader.fromFile = lib;
  loader.fileResult = 0;
  loader.existingFiles = {fileName};
  return loader;
}

inline TObjectData FileRecord(const Text& fileName = u"C:\\demo.tlb") {
  TObjectData record;
  record.Server = fileName;
  record.Typ = TObjectType::otTypeLib;
  return record;
}

// The file reader with the registry of $WINEPREFIX, when it is set, so that
// references to registered libraries (stdole2's IDispatch) resolve.
struct PrefixLoader {
  registry::RegistrySource source;
  std::unique_ptr<TypeLibLoader> loader;

  PrefixLoader() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty()) source = registry::OpenRegistryPath(prefix.toStdString());
    loader = CreateTypeLibLoader(source.backend.get(), prefix.toStdString());
  }
};

// Captures what the message boxes and the general error report would show.
struct BoxCapture {
  struct Box {
    BoxKind kind;
    Text text;
    Text caption;
  };
  std::vector<Box> boxes;
  std::vector<Text> reports;

  BoxCapture() {
    SetMessageBoxHook([this](BoxKind kind, const Text& text, const Text& caption) {
      boxes.push_back({kind, text, caption});
    });
    SetErrorReportHook([this](const Text& text) { reports.push_back(text); });
  }
  ~BoxCapture() {
    SetMessageBoxHook(nullptr);
    SetErrorReportHook(nullptr);
  }
  BoxCapture(const BoxCapture&) = delete;
  BoxCapture& operator=(const BoxCapture&) = delete;
};

// The node whose shown text is `text`; null when there is none.
inline QTreeWidgetItem* NodeByText(TfrmTLBView& view, const QString& text) {
  for (QTreeWidgetItem* item : view.Tree->AllNodes())
    if (item->text(0) == text) return item;
  return nullptr;
}

// The text of the editor's caret line.
inline QString CaretLineText(TfrmTLBView& view) {
  return view.SynMemo->text(view.SynMemo->CaretLine()).remove(QLatin1Char('\n'));
}

}  // namespace brannock::ui::testing
