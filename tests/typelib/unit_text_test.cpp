#include "typelib/unit_text.h"

#include <gtest/gtest.h>

#include "platform/messages.h"

#include "typelib/demo_library.h"

namespace brannock::typelib {
namespace {

using namespace testing;

// Failure lines carry the system's texts, which differ between platforms
// (Wine has none for most type library codes); what is checked is where
// they stand.
Text ErrorLine(HRESULT hr) { return platform::ErrorCodeText(static_cast<uint32_t>(hr)); }

const TextList kHead = {u"// typelib filename: C:\\demo.tlb", u"", u"// uid: ", u"// version: 0.0",
                        u"// helpstring: Demo types", u"// helpfile: ", u"", u"unit DemoLib;", u"",
                        u"interface", u"", u"uses Windows, ActiveX, Classes;", u""};
const TextList kTail = {u"", u"implementation", u"", u"end."};

UnitHeader FileHeader() {
  UnitHeader header;
  header.fileName = u"C:\\demo.tlb";
  return header;
}

TextList Join(std::initializer_list<TextList> parts) {
  TextList all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TextList Block(MemoryTypeInfo& info, const Text& name) {
  TextList lines;
  AddTypeDeclaration(name, info.doc.docString, info, &lines, info.attr);
  return lines;
}

TEST(TypeFlagsToStr, WordsInFixedOrder) {
  EXPECT_EQ(TypeFlagsToStr(0), u"Flags: (0)");
  EXPECT_EQ(TypeFlagsToStr(0x1040), u"Flags: (4160) dual,dispatchable");
  EXPECT_EQ(TypeFlagsToStr(0x30), u"Flags: (48) control,hidden");
  EXPECT_EQ(TypeFlagsToStr(0x100), u"Flags: (256) oleautomation");
  EXPECT_EQ(TypeFlagsToStr(0xC000), u"Flags: (49152)");
  EXPECT_EQ(TypeFlagsToStr(0xFFFF),
            u"Flags: (65535) appobject,cancreate,licensed,predeclid,control,hidden,dual,nonextensible,"
            u"oleautomation,restricted,aggregatable,replaceable,dispatchable,reversebind");
}

TEST(TypeLibToStrings, WorkedExampleDemoLib) {
  auto lib = DemoLibrary();
  auto shape = lib->types[1].info;
  auto coclass = lib->types[2].info;
  TextList lines;
  EXPECT_EQ(TypeLibToStrings(FileHeader(), *lib, &lines), u"DemoLib");
  const Text shapeGuid = GuidToText(shape->attr.guid);
  const Text members[] = {u"    function Get_Name: WideString; dispid 1;", u"    procedure Draw; dispid 2;"};
  EXPECT_EQ(lines, Join({kHead,
                         {u"type", u"  Colors = TOleEnum;", u"const", u"  // First color", u"  Red = 0;",
                          u"  Green = 1;", u""},
                         {u"type", u"  // Flags: (4160) dual,dispatchable", u"  IShapeDisp = dispinterface",
                          u"     ['" + shapeGuid + u"']", members[0], members[1], u"  end;", u""},
                         {u"type", u"  // Flags: (4160) dual,dispatchable", u"  IShape = interface(IDispatch)",
                          u"     ['" + shapeGuid + u"']", members[0], members[1], u"  end;", u""},
                         {u"type", u"  // CLSID: " + GuidToText(coclass->attr.guid), u"  // Flags: (2) cancreate",
                          u"  TShape = class(TAutoObject, IShape);", u""},
                         kTail}));
  EXPECT_EQ(lines.size(), 45u);
}

TEST(AddTypeDeclaration, BlocksOfEveryKind) {
  MemoryTypeInfo point;
  point.attr.typekind = TKIND_RECORD;
  point.AddField(0, u"x", Vt(VT_I4));
  point.AddField(1, u"y", Vt(VT_I4));
  EXPECT_EQ(Block(point, u"Point"), (TextList{u"type", u"  Point = record", u"    x: LongInt;", u"    y: LongInt;",
                                              u"  end;", u""}));

  MemoryTypeInfo value;
  value.attr.typekind = TKIND_UNION;
  value.AddField(0, u"i", Vt(VT_I4)).doc.docString = u"as integer";
  value.AddField(1, u"d", Vt(VT_R8));
  EXPECT_EQ(Block(value, u"Value"), (TextList{u"type", u"  Value = record", u"  case Integer of", u"    0: // as integer",
                                              u"    1: i: LongInt;", u"    2: d: Double;", u"  end;", u""}));

  MemoryTypeInfo handle;
  handle.attr.typekind = TKIND_ALIAS;
  handle.attr.tdescAlias = Vt(VT_I4);
  EXPECT_EQ(Block(handle, u"Handle"), (TextList{u"type", u"  Handle = LongInt;", u""}));

  MemoryTypeInfo module;
  module.attr.typekind = TKIND_MODULE;
  module.AddConstant(0, u"Answer", Variant::Int(VT_I4, 42));
  module.AddFunction(1, u"Beep", Vt(VT_VOID));
  module.doc.docString = u"Functions";
  EXPECT_EQ(Block(module, u"Util"), TextList{});

  MemoryTypeInfo plain;
  plain.attr.typekind = TKIND_INTERFACE;
  plain.attr.wTypeFlags = TypeFlag::OleAutomation;
  plain.attr.guid = Guid{0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  plain.doc.docString = Text(u"Plain one\0tail", 14);
  plain.AddFunction(0x60010000, u"Ping", Vt(VT_HRESULT));
  EXPECT_EQ(Block(plain, u"IPlain"), (TextList{u"type", u"  // Plain one", u"  // Flags: (256) oleautomation",
                                               u"  IPlain = interface(IDispatch)",
                                               u"     ['{00020400-0000-0000-C000-000000000046}']",
                                               u"    procedure Ping: HRESULT;", u"  end;", u""}));

  // Aliases of user types, enumerations with a blank doc string.
  MemoryTypeInfo flags;
  flags.attr.typekind = TKIND_ENUM;
  flags.doc.docString = u"  ";
  flags.AddConstant(0, u"fNone", Variant::Int(VT_I4, 0));
  EXPECT_EQ(Block(flags, u"Flags"), (TextList{u"type", u"  Flags = TOleEnum;", u"const", u"  fNone = 0;", u""}));
}

TEST(AddTypeDeclaration, CoclassImplementedTypes) {
  MemoryTypeLib lib;
  auto events = lib.AddType(TKIND_DISPATCH, u"DEvents");
  auto iface = lib.AddType(TKIND_INTERFACE, Text(u"IThing\0x", 8));
  auto thing = lib.AddType(TKIND_COCLASS, u"Thing");
  thing->attr.guid = Guid{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  thing->AddImplType(iface);
  thing->AddImplType(events);
  const TextList head = {u"type", u"  // CLSID: {12345678-9ABC-DEF0-0102-030405060708}", u"  // Flags: (0)"};
  EXPECT_EQ(Block(*thing, u"Thing"), Join({head, {u"  TThing = class(TAutoObject, IThing, DEvents);", u""}}));

  MemoryTypeInfo lonely = *thing;
  lonely.implTypes.clear();
  lonely.attr.cImplTypes = 0;
  EXPECT_EQ(Block(lonely, u"Thing"), Join({head, {u"  TThing = class(TAutoObject);", u""}}));

  // Implemented types that cannot be resolved are reported after the class line.
  thing->AddImplType(nullptr);
  thing->attr.cImplTypes += 1;
  EXPECT_EQ(Block(*thing, u"Thing"),
            Join({head,
                  {u"  TThing = class(TAutoObject, IThing, DEvents);", u"  " + ErrorLine(Code::TypeElementNotFound),
                   u"  " + ErrorLine(Code::InvalidArg), u""}}));
  thing->implResult = Code::Fail;
  EXPECT_EQ(Block(*thing, u"Thing")[3], u"  TThing = class(TAutoObject);");
}

TEST(TypeLibToStrings, EmptyLibraryAndRegisteredRecord) {
  MemoryTypeLib lib(Text(u"Empty\0junk", 10), u"", u"help.chm");
  UnitHeader registered;
  registered.uid = u"{00020430-0000-0000-C000-000000000046}";
  registered.majorVersion = 2;
  registered.minorVersion = 10;
  TextList lines{u"kept"};
  EXPECT_EQ(TypeLibToStrings(registered, lib, &lines), u"Empty");
  EXPECT_EQ(lines, Join({{u"kept", u"// typelib filename: ", u"", u"// uid: {00020430-0000-0000-C000-000000000046}",
                          u"// version: 2.10", u"// helpstring: ", u"// helpfile: help.chm", u"", u"unit Empty;", u"",
                          u"interface", u"", u"uses Windows, ActiveX, Classes;", u""},
                         kTail}));

  // A library whose own documentation fails still gives every head line.
  lib.docResult = Code::Fail;
  lines.clear();
  EXPECT_EQ(TypeLibToStrings(FileHeader(), lib, &lines), u"");
  EXPECT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[7], u"unit ;");
}

TEST(TypeLibToStrings, FailuresInPlaceOfTypesWithTheirCodes) {
  MemoryTypeLib lib(u"DemoLib", u"Demo types");
  lib.AddType(TKIND_ALIAS, u"A1");
  lib.types.back().docResult = Code::TypeElementNotFound;
  lib.AddType(TKIND_ALIAS, u"A2");
  lib.types.back().infoResult = Code::TypeInvDataRead;
  lib.AddType(TKIND_ALIAS, u"A3");
  lib.types.back().kindResult = Code::TypeUnsupFormat;
  lib.AddType(TKIND_ALIAS, u"A4")->attrResult = Code::OutOfMemory;
  lib.AddType(TKIND_ALIAS, u"A5")->docResult = Code::Fail;
  lib.AddType(TKIND_ALIAS, u"A6");
  lib.types.back().docResult = static_cast<HRESULT>(0x80001234);  // no system message
  auto ok = lib.AddType(TKIND_ALIAS, u"Fine");
  ok->attr.tdescAlias = Vt(VT_BSTR);
  TextList lines;
  TypeLibToStrings(FileHeader(), lib, &lines);
  EXPECT_EQ(lines, Join({kHead,
                         {ErrorLine(Code::TypeElementNotFound), ErrorLine(Code::TypeInvDataRead),
                          ErrorLine(Code::TypeUnsupFormat), ErrorLine(Code::OutOfMemory), ErrorLine(Code::Fail),
                          // A code without a system message still names itself.
                          u" (Error code: 0x80001234)", u"type", u"  Fine = WideString;", u""},
                         kTail}));
}

TEST(TypeLibToStrings, LibraryTextsStayOnOneLine) {
  MemoryTypeLib lib(u"DemoLib", u"Demo\r\ntypes");
  auto shape = lib.AddType(TKIND_INTERFACE, u"IShape", u"First\r\nSecond\nThird\rFourth\r\r\n");
  shape->AddFunction(1, u"Draw", Vt(VT_HRESULT)).doc.docString = u"Draws\nthe shape";
  auto colors = lib.AddType(TKIND_ENUM, u"Colors");
  colors->AddConstant(0, u"cRed", Variant::Str(u"a\r\nb"));
  TextList lines;
  TypeLibToStrings(FileHeader(), lib, &lines);
  TextList head = kHead;
  head[4] = u"// helpstring: Demo types";
  const Text guid = u"     ['" + GuidToText(shape->attr.guid) + u"']";
  EXPECT_EQ(lines, Join({head,
                         {u"type", u"  // First Second Third Fourth  ", u"  // Flags: (0)",
                          u"  IShape = interface(IDispatch)", guid, u"    // Draws the shape",
                          u"    procedure Draw: HRESULT;", u"  end;", u""},
                         {u"type", u"  Colors = TOleEnum;", u"const", u"  cRed = a b;", u""},
                         kTail}));
  for (const Text& line : lines) EXPECT_EQ(line.find_first_of(u"\r\n"), Text::npos);
}

TEST(TypeLibToStrings, DualInterfaces) {
  MemoryTypeLib lib(u"DemoLib", u"Demo types");
  // Handed out as an interface whose implemented type is a dispinterface: the
  // second block is the dispinterface form.
  auto dispView = lib.AddUnlistedType(TKIND_DISPATCH, u"");
  auto iface = lib.AddType(TKIND_INTERFACE, u"IDual", u"Both ways", TypeFlag::Dual);
  iface->AddImplType(dispView);
  iface->AddFunction(1, u"Go", Vt(VT_HRESULT));
  // Dual, but its implemented type cannot be resolved.
  auto broken = lib.AddType(TKIND_DISPATCH, u"IBroken", u"", TypeFlag::Dual);
  broken->AddImplType(nullptr);
  // Dual flag on a coclass does not give a second block.
  lib.AddType(TKIND_COCLASS, u"Odd", u"", TypeFlag::Dual);
  TextList lines;
  TypeLibToStrings(FileHeader(), lib, &lines);
  const Text guid = u"     ['" + GuidToText(iface->attr.guid) + u"']";
  EXPECT_EQ(lines, Join({kHead,
                         {u"type", u"  // Both ways", u"  // Flags: (64) dual", u"  IDual = interface(IDispatch)", guid,
                          u"    procedure Go: HRESULT;", u"  end;", u""},
                         {u"type", u"  // Both ways", u"  // Flags: (64) dual", u"  IDualDisp = dispinterface", guid,
                          u"    procedure Go: HRESULT;", u"  end;", u""},
                         {u"type", u"  // Flags: (64) dual", u"  IBrokenDisp = dispinterface",
                          u"     ['" + GuidToText(broken->attr.guid) + u"']", u"  end;", u"",
                          ErrorLine(Code::TypeElementNotFound)},
                         {u"type", u"  // CLSID: " + GuidToText(lib.types[2].info->attr.guid), u"  // Flags: (64) dual",
                          u"  TOdd = class(TAutoObject);", u""},
                         kTail}));
  // The referenced type's attributes failing is reported the same way.
  broken->implTypes.clear();
  broken->attr.cImplTypes = 0;
  broken->AddImplType(dispView);
  dispView->attrResult = Code::TypeInvalidState;
  lines.clear();
  TypeLibToStrings(FileHeader(), lib, &lines);
  EXPECT_EQ(lines[13 + 8], ErrorLine(Code::TypeInvalidState));
}

}  // namespace
}  // namespace brannock::typelib
