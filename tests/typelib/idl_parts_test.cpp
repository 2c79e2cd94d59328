// Parts of the IDL rendering one at a time: literals, type attributes, the
// names of imported types, the two forms of a dispinterface, failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/messages.h"
#include "typelib/idl_text.h"
#include "typelib/idl_type_text.h"
#include "typelib/idl_value_text.h"
#include "typelib/memory_typelib.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TextList IdlLines(TypeLib& lib) {
  TextList lines;
  TypeLibToIdl(UnitHeader(), lib, &lines);
  return lines;
}

bool HasLine(const TextList& lines, const Text& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

Text Value(const Variant& v) {
  Text text;
  AppendIdlValue(v, &text);
  return text;
}

TEST(IdlLiterals, StringsNumbersAndGuids) {
  Text s;
  AppendIdlString(u"a\"b\\c\nd\re\tf\x01", &s);
  EXPECT_EQ(s, u"\"a\\\"b\\\\c\\nd\\re\\tf\\x01\"");
  EXPECT_EQ(Value(Variant::Int(VT_I4, -5)), u"-5");
  EXPECT_EQ(Value(Variant::Int(VT_UI4, 4000000000)), u"4000000000");
  EXPECT_EQ(Value(Variant::Int(VT_BOOL, -1)), u"-1");
  EXPECT_EQ(Value(Variant::Real(VT_R8, 1.5)), u"1.5");
  EXPECT_EQ(Value(Variant::Int(VT_CY, 15000)), u"1.5") << "currency is scaled by 10000";
  EXPECT_EQ(Value(Variant::Real(VT_DATE, 2.5)), u"2.5") << "a date is its day number";
  EXPECT_EQ(Value(Variant::Str(u"x\"y")), u"\"x\\\"y\"");
  EXPECT_EQ(Value(Variant()), u"0");
  Text array;
  EXPECT_FALSE(AppendIdlValue(Variant::Int(VT_ARRAY | VT_I4, 0), &array));
  EXPECT_EQ(array, u"0 /* a value of variant type 0x2003 */");
  Text hex;
  AppendIdlHex(0xFFFFFFFC, &hex);
  EXPECT_EQ(hex, u"0xfffffffc");
  EXPECT_EQ(IdlGuidText(TextToGuid(u"{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}")), u"6A1B2C3D-0001-4A5B-8C9D-0123456789AB");
}

TEST(IdlTypeFlags, WordsOfEachKind) {
  Text words;
  AppendTypeFlagWords(TypeFlag::AppObject | TypeFlag::Licensed | TypeFlag::Control | TypeFlag::Hidden |
                          TypeFlag::Dispatchable | TypeFlag::ReverseBind,
                      TKIND_COCLASS, &words);
  EXPECT_EQ(words, u"appobject, licensed, control, hidden, noncreatable, ")
      << "dispatchable and reversebind have no word; a coclass that cannot be created is noncreatable";
  words.clear();
  AppendTypeFlagWords(TypeFlag::CanCreate, TKIND_COCLASS, &words);
  EXPECT_EQ(words, u"");
  words.clear();
  AppendTypeFlagWords(TypeFlag::Dual | TypeFlag::NonExtensible | TypeFlag::OleAutomation | TypeFlag::Restricted,
                      TKIND_INTERFACE, &words);
  EXPECT_EQ(words, u"dual, nonextensible, oleautomation, restricted, ");
}

TEST(IdlImports, FileNamesAndNamesTheLibraryHasItself) {
  auto vba = std::make_shared<MemoryTypeLib>(u"VBA");
  vba->libAttr.guid = TextToGuid(u"{000204EF-0000-0000-C000-000000000046}");
  vba->libraryFile = u"C:\\windows\\system32\\msvbvm60.dll\\3";
  auto other = std::make_shared<MemoryTypeLib>(u"Other");  // its file is not known
  other->libAttr.guid = TextToGuid(u"{000204EF-0000-0000-C000-000000000047}");
  auto theirGuid = vba->AddType(TKIND_RECORD, u"GUID");
  theirGuid->AddField(0, u"Data1", Vt(VT_UI4));
  auto theirHandle = vba->AddType(TKIND_ALIAS, u"Handle");
  theirHandle->attr.tdescAlias = Vt(VT_I4);
  auto theirBase = other->AddType(TKIND_INTERFACE, u"IBase");

  auto own = std::make_shared<MemoryTypeLib>(u"Own");
  auto ownBase = own->AddType(TKIND_INTERFACE, u"IBase");
  auto user = own->AddType(TKIND_INTERFACE, u"IUser");
  own->AddType(TKIND_ALIAS, u"GUID")->attr.tdescAlias = Vt(VT_I4);
  own->AddType(TKIND_ALIAS, u"Handle")->attr.tdescAlias = Vt(VT_I4);
  user->AddImplType(theirBase);
  user->AddFunction(1, u"Use", Vt(VT_HRESULT),
                    {{u"id", Ptr(UserType(user->AddReference(theirGuid))), ParamFlag::In},
                     {u"handle", UserType(user->AddReference(theirHandle)), ParamFlag::In}});
  const TextList lines = IdlLines(*own);
  EXPECT_TRUE(HasLine(lines, u"    importlib(\"msvbvm60.dll\");")) << "the file, without folder and resource number";
  EXPECT_TRUE(HasLine(lines, u"    importlib(\"Other.tlb\");")) << "the library's name when its file is not known";
  // The imported record keeps its tag, the library's own GUID the name.
  EXPECT_TRUE(HasLine(lines, u"struct GUID {"));
  EXPECT_TRUE(HasLine(lines, u"        [id(0x00000001)] HRESULT Use([in] struct GUID* id, [in] /* Handle of msvbvm60.dll */ "
                         u"void handle);"));
  // An imported interface of an own interface's name stands for the own one,
  // declared ahead of the imported types.
  EXPECT_TRUE(HasLine(lines, u"interface IBase;"));
  EXPECT_TRUE(HasLine(lines, u"    interface IUser : IBase {"));
  (void)ownBase;
}

TEST(IdlDispinterfaces, DeclaredByAnInterfaceOrByTheirMembers) {
  auto lib = std::make_shared<MemoryTypeLib>(u"Workers");
  auto worker = lib->AddType(TKIND_INTERFACE, u"IWorker");
  worker->AddFunction(1, u"Start", Vt(VT_HRESULT));
  worker->AddFunction(2, u"Busy", Vt(VT_HRESULT), {{u"busy", Ptr(Vt(VT_BOOL)), ParamFlag::Out | ParamFlag::RetVal}},
                      FUNC_PUREVIRTUAL, INVOKE_PROPERTYGET);
  // As the access layer hands it out: IUnknown's functions, then IWorker's.
  auto declared = lib->AddType(TKIND_DISPATCH, u"DWorker");
  declared->AddFunction(0x60000000, u"QueryInterface", Vt(VT_VOID), {}, FUNC_DISPATCH);
  declared->AddFunction(0x60000001, u"AddRef", Vt(VT_UI4), {}, FUNC_DISPATCH);
  declared->AddFunction(1, u"Start", Vt(VT_VOID), {}, FUNC_DISPATCH);
  declared->AddFunction(2, u"Busy", Vt(VT_BOOL), {}, FUNC_DISPATCH, INVOKE_PROPERTYGET);
  // The same members without IUnknown's: a dispinterface of its own.
  auto plain = lib->AddType(TKIND_DISPATCH, u"DPlain");
  plain->AddFunction(1, u"Start", Vt(VT_VOID), {}, FUNC_DISPATCH);
  const TextList lines = IdlLines(*lib);
  EXPECT_TRUE(HasLine(lines, u"    dispinterface DWorker {"));
  EXPECT_TRUE(HasLine(lines, u"        interface IWorker;"));
  EXPECT_TRUE(HasLine(lines, u"    dispinterface DPlain {"));
  EXPECT_TRUE(HasLine(lines, u"            [id(0x00000001)] void Start();"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"        methods:"), 1);
}

TEST(IdlFailures, WhatCannotBeReadIsNamed) {
  auto lib = std::make_shared<MemoryTypeLib>(u"Broken");
  auto colors = lib->AddType(TKIND_ENUM, u"Colors");
  colors->AddConstant(0, u"Red", Variant::Int(VT_I4, 0));
  colors->AddConstant(1, u"Lost", Variant::Int(VT_I4, 1)).descResult = Code::TypeElementNotFound;
  auto dual = lib->AddType(TKIND_DISPATCH, u"IDual", u"", TypeFlag::Dual);  // without an interface view
  auto names = lib->AddType(TKIND_INTERFACE, u"INames");
  names->AddFunction(1, u"Nameless", Vt(VT_HRESULT)).namesResult = Code::TypeElementNotFound;
  // A pointer to a type that cannot be followed is no pointer to void: the
  // interface stays remotable; one that takes a pointer to void is local.
  auto lost = lib->AddType(TKIND_INTERFACE, u"ILost");
  lost->AddFunction(1, u"Take", Vt(VT_HRESULT), {{u"p", Ptr(UserType(0xDEAD)), ParamFlag::In}});
  auto raw = lib->AddType(TKIND_INTERFACE, u"IRaw");
  raw->AddFunction(1, u"Take", Vt(VT_HRESULT), {{u"p", Ptr(Vt(VT_VOID)), ParamFlag::In}});
  const Text notFound = platform::ErrorCodeText(0x8002802B);
  const TextList lines = IdlLines(*lib);
  EXPECT_TRUE(HasLine(lines, u"        Red = 0")) << "the last constant written has no comma";
  EXPECT_TRUE(HasLine(lines, u"        // " + notFound));
  EXPECT_TRUE(HasLine(lines, u"    // " + notFound)) << "the dual whose interface view is missing";
  EXPECT_FALSE(HasLine(lines, u"    interface IDual : IDispatch {"));
  const auto attributesOf = [&](const Text& head) {
    const auto at = std::find(lines.begin(), lines.end(), head);
    return at == lines.begin() || at == lines.end() ? Text() : *(at - 1);
  };
  EXPECT_TRUE(attributesOf(u"    interface ILost {").starts_with(u"    [object, uuid("));
  EXPECT_TRUE(attributesOf(u"    interface IRaw {").starts_with(u"    [local, object, uuid("));
  EXPECT_TRUE(HasLine(lines, u"        [id(0x00000001)] HRESULT Take([in] /* " + notFound + u" */ void* p);"));
  (void)dual;
}

}  // namespace
}  // namespace brannock::typelib
