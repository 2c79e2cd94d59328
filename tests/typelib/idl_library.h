// The library of the IDL tests: one type of every kind, references ahead,
// imported types, failures. Types in order:
//   0 enum Kinds        1 interface IKeeper   2 record Pen
//   3 dual IAnimal      4 alias Weight        5 coclass ZooClass
//   6 dispinterface DEvents  7 module Feeding  8 a type that does not load
// IKeeper derives from IUnknown of an imported library "stdole", whose
// record GUID Pen uses; DEvents implements its IDispatch.
#pragma once

#include "typelib/memory_typelib.h"

namespace brannock::typelib::testing {

struct IdlLibrary {
  std::shared_ptr<MemoryTypeLib> lib;
  std::shared_ptr<MemoryTypeLib> stdole;
};

inline IdlLibrary MakeIdlLibrary() {
  IdlLibrary l;
  l.stdole = std::make_shared<MemoryTypeLib>(u"stdole");
  l.stdole->libAttr.guid = TextToGuid(u"{00020430-0000-0000-C000-000000000046}");
  l.stdole->libAttr.wMajorVerNum = 2;
  l.stdole->libraryFile = u"\\\\?\\C:\\windows\\system32\\stdole2.tlb";
  auto guid = l.stdole->AddType(TKIND_RECORD, u"GUID");
  guid->attr.guid = Guid{};
  guid->AddField(0, u"Data1", Vt(VT_UI4));
  auto unknown = l.stdole->AddType(TKIND_INTERFACE, u"IUnknown");
  unknown->AddFunction(0x60000000, u"AddRef", Vt(VT_UI4));
  auto dispatch = l.stdole->AddType(TKIND_INTERFACE, u"IDispatch");
  dispatch->AddImplType(unknown);

  auto lib = l.lib = std::make_shared<MemoryTypeLib>(u"Zoo", u"Animals \"and\" keepers", u"zoo.hlp");
  lib->libAttr.guid = TextToGuid(u"{6A1B2C3D-0000-4A5B-8C9D-0123456789AB}");
  lib->libAttr.wMajorVerNum = 1;
  lib->libAttr.wMinorVerNum = 2;
  lib->libAttr.lcid = 0x409;
  lib->doc.helpContext = 10;
  auto kinds = lib->AddType(TKIND_ENUM, u"Kinds", u"Kinds of animal");
  kinds->AddConstant(0, u"Cat", Variant::Int(VT_I4, 0)).doc.docString = u"a cat";
  kinds->AddConstant(1, u"Dog", Variant::Int(VT_I4, -3));
  auto keeper = lib->AddType(TKIND_INTERFACE, u"IKeeper", u"", TypeFlag::OleAutomation);
  auto pen = lib->AddType(TKIND_RECORD, u"Pen");
  auto animal = lib->AddType(TKIND_DISPATCH, u"IAnimal", u"An animal", TypeFlag::Dual | TypeFlag::Dispatchable);
  auto weight = lib->AddType(TKIND_ALIAS, u"Weight");
  auto zoo = lib->AddType(TKIND_COCLASS, u"ZooClass", u"", TypeFlag::CanCreate | TypeFlag::AppObject);
  auto events = lib->AddType(TKIND_DISPATCH, u"DEvents", u"", TypeFlag::Dispatchable | TypeFlag::Hidden);
  auto feeding = lib->AddType(TKIND_MODULE, u"Feeding");
  lib->AddType(TKIND_INTERFACE, u"Broken");
  lib->types.back().infoResult = Code::TypeCantLoadLibrary;
  weight->attr.guid = Guid{};
  weight->attr.tdescAlias = Vt(VT_R8);

  keeper->AddImplType(unknown);
  keeper->AddFunction(0x60010000, u"Feed", Vt(VT_HRESULT),
                      {{u"kind", UserType(keeper->AddReference(kinds)), ParamFlag::In},
                       {u"pen", UserType(keeper->AddReference(pen)), ParamFlag::In},
                       {u"note", Vt(VT_BSTR), ParamFlag::In | ParamFlag::Opt, Variant::Str(u"say \"hi\"\\")},
                       {u"", Ptr(UserType(keeper->AddReference(weight))), ParamFlag::In},
                       {u"animal", Ptr(Ptr(UserType(keeper->AddReference(animal)))),
                        ParamFlag::Out | ParamFlag::RetVal}});
  keeper->AddFunction(0x60010001, u"Count", Vt(VT_HRESULT),
                      {{u"value", Ptr(Vt(VT_I4)), ParamFlag::Out | ParamFlag::RetVal}}, FUNC_PUREVIRTUAL,
                      INVOKE_PROPERTYGET)
      .doc.docString = u"How many";
  keeper->AddFunction(0x60010002, u"Lost", Vt(VT_HRESULT)).descResult = Code::TypeElementNotFound;
  keeper->AddFunction(0x60010003, u"Any", Vt(VT_HRESULT),
                      {{u"items", SafeArrayOf(Vt(VT_VARIANT)), ParamFlag::In},
                       {u"raw", Ptr(Vt(VT_VOID)), ParamFlag::In},
                       {u"gone", UserType(0xBAD), ParamFlag::In}})
      .desc.cParamsOpt = -1;

  pen->AddField(0, u"legs", Vt(VT_I4));
  pen->AddField(1, u"size", CArray(Vt(VT_R8), {4, 2}));
  pen->AddField(2, u"id", UserType(pen->AddReference(guid)));

  auto animalView = lib->AddUnlistedType(TKIND_INTERFACE, u"IAnimal");
  animalView->attr = animal->attr;
  animalView->attr.typekind = TKIND_INTERFACE;
  animalView->AddImplType(unknown);
  animalView->AddFunction(1, u"Name", Vt(VT_HRESULT), {{u"name", Ptr(Vt(VT_BSTR)), ParamFlag::Out | ParamFlag::RetVal}},
                          FUNC_PUREVIRTUAL, INVOKE_PROPERTYGET);
  animal->SetInterfaceView(animalView);

  zoo->AddImplType(keeper, ImplTypeFlag::Default);
  zoo->AddImplType(events, ImplTypeFlag::Default | ImplTypeFlag::Source);

  events->AddImplType(dispatch);
  events->AddField(1, u"Count", Vt(VT_I4), VAR_DISPATCH).desc.wVarFlags = 0x1;
  events->AddFunction(2, u"Fed", Vt(VT_VOID), {{u"kind", UserType(events->AddReference(kinds)), ParamFlag::In}},
                      FUNC_DISPATCH);

  feeding->dllName = u"zoo.dll";
  feeding->AddConstant(0, u"Meals", Variant::Int(VT_I4, 3));
  feeding->AddFunction(0x60000000, u"Start", Vt(VT_VOID), {}, FUNC_STATIC).desc.callconv = 4;
  feeding->AddFunction(0x60000001, u"Stop", Vt(VT_I4), {}, FUNC_STATIC).desc.callconv = 1;
  feeding->entries[0x60000000] = {u"StartFeeding", 0};
  feeding->entries[0x60000001] = {u"", 7};
  return l;
}

}  // namespace brannock::typelib::testing
