#include "typelib/member_text.h"

#include <gtest/gtest.h>

#include "platform/messages.h"

#include "typelib/memory_typelib.h"

namespace brannock::typelib {
namespace {

using namespace testing;

// Failure lines carry the system's error texts, which differ between
// platforms; what is checked is where they stand.
Text ErrorLine(HRESULT hr) { return platform::ErrorCodeText(static_cast<uint32_t>(hr)); }

Text Line(TypeInfo& info, const MemoryTypeInfo::Function& f) {
  TextList names;
  info.GetNames(f.desc.memid, &names, 65535);
  return names[0] + FuncDescToStr(f.desc, info);
}

TEST(ParamFlagsToStr, WordsInFixedOrderAndDefaults) {
  ParamDesc desc;
  EXPECT_EQ(ParamFlagsToStr(desc).words, u"");
  desc.wParamFlags = ParamFlag::In | ParamFlag::Out;
  EXPECT_EQ(ParamFlagsToStr(desc).words, u"const var ");
  desc.wParamFlags = ParamFlag::Opt | ParamFlag::RetVal | ParamFlag::Lcid | ParamFlag::Out | ParamFlag::In | 0x8000;
  EXPECT_EQ(ParamFlagsToStr(desc).words, u"const var lcid retval optional ");

  auto withDefault = [](uint16_t flags, Variant v) {
    ParamDesc d;
    d.wParamFlags = flags;
    d.pparamdescex = std::make_shared<const ParamDescEx>(ParamDescEx{std::move(v)});
    return ParamFlagsToStr(d);
  };
  const uint16_t has = ParamFlag::HasDefault;
  EXPECT_EQ(withDefault(has, Variant::Int(VT_I4, 0)).defaultText, u" = 0");
  EXPECT_EQ(withDefault(has, Variant::Int(VT_I2, -7)).defaultText, u" = -7");
  EXPECT_EQ(withDefault(has, Variant::Str(u"abc")).defaultText, u" = 'abc'");
  // Quotes inside a text are not doubled; an empty text still gets its quotes.
  EXPECT_EQ(withDefault(has, Variant::Str(u"it's")).defaultText, u" = 'it's'");
  EXPECT_EQ(withDefault(has, Variant::Str(u"")).defaultText, u" = ''");
  EXPECT_EQ(withDefault(has, Variant::Real(VT_R8, 1.5)).defaultText, u" = 1.5");
  EXPECT_EQ(withDefault(has, Variant::Int(VT_BOOL, -1)).defaultText, u" = -1");
  EXPECT_EQ(withDefault(has, Variant()).defaultText, u" = ");
  // A value that does not convert is left out; the words stay.
  auto failed = withDefault(has | ParamFlag::In, Variant::Int(VT_NULL, 0));
  EXPECT_EQ(failed.words, u"const ");
  EXPECT_EQ(failed.defaultText, u"");
  EXPECT_EQ(withDefault(has, Variant::Int(VT_DISPATCH, 0)).defaultText, u"");
  // A default record without the flag, or the flag without a record, gives nothing.
  EXPECT_EQ(withDefault(ParamFlag::In, Variant::Int(VT_I4, 3)).defaultText, u"");
  desc.wParamFlags = has;
  desc.pparamdescex = nullptr;
  EXPECT_EQ(ParamFlagsToStr(desc).defaultText, u"");
}

TEST(FuncDescToStr, ParametersResultAndDispatchId) {
  MemoryTypeInfo info;
  auto& open = info.AddFunction(1, u"Open", Vt(VT_HRESULT),
                                {{u"path", Vt(VT_BSTR), ParamFlag::In},
                                 {u"handle", Ptr(Vt(VT_I4)), ParamFlag::Out | ParamFlag::RetVal}});
  EXPECT_EQ(Line(info, open), u"Open(const path: WideString; var retval handle: LongInt): HRESULT;");

  auto& get = info.AddFunction(3, u"Caption", Vt(VT_BSTR), {}, FUNC_DISPATCH, INVOKE_PROPERTYGET);
  EXPECT_EQ(FuncDescToStr(get.desc, info), u": WideString; dispid 3;");

  auto& neg = info.AddFunction(-4, u"Name", Vt(VT_VOID), {}, FUNC_DISPATCH);
  EXPECT_EQ(FuncDescToStr(neg.desc, info), u"; dispid -4;");

  auto& defaults = info.AddFunction(
      5, u"Find", Vt(VT_I4),
      {{u"count", Vt(VT_I4), ParamFlag::In | ParamFlag::Opt, Variant::Int(VT_I4, 0)},
       {u"s", Vt(VT_BSTR), ParamFlag::In, Variant::Str(u"abc")}});
  EXPECT_EQ(FuncDescToStr(defaults.desc, info), u"(const optional count: LongInt = 0; const s: WideString = 'abc'): LongInt;");
}

TEST(FuncDescToStr, ParameterNamesMissingOrBlank) {
  MemoryTypeInfo info;
  auto& put = info.AddFunction(3, u"Caption", Vt(VT_VOID), {{u"", Vt(VT_BSTR)}}, FUNC_DISPATCH, INVOKE_PROPERTYPUT);
  put.names.resize(1);  // only the function's own name is returned
  EXPECT_EQ(FuncDescToStr(put.desc, info), u"(Param1: WideString); dispid 3;");

  auto& mixed = info.AddFunction(7, u"Mix", Vt(VT_VOID),
                                 {{u"a", Vt(VT_I2)}, {u" \t\x01", Vt(VT_I2)}, {Text(u"c\0x", 3), Vt(VT_I2)}, {u"d", Vt(VT_I2)}});
  mixed.names.pop_back();
  EXPECT_EQ(FuncDescToStr(mixed.desc, info), u"(a: SmallInt; Param2: SmallInt; c: SmallInt; Param4: SmallInt);");

  // No names at all, or GetNames failing: no parameter list, not even "()".
  auto& silent = info.AddFunction(8, u"Silent", Vt(VT_BSTR), {{u"x", Vt(VT_I4)}});
  silent.names.clear();
  EXPECT_EQ(FuncDescToStr(silent.desc, info), u": WideString;");
  silent.namesResult = Code::TypeElementNotFound;
  EXPECT_EQ(FuncDescToStr(silent.desc, info), u": WideString;");

  // More parameters claimed than described: only the described ones.
  auto& claims = info.AddFunction(9, u"Claims", Vt(VT_VOID), {{u"x", Vt(VT_I4)}});
  claims.desc.cParams = 5;
  EXPECT_EQ(FuncDescToStr(claims.desc, info), u"(x: LongInt);");
  claims.desc.cParams = -1;
  EXPECT_EQ(FuncDescToStr(claims.desc, info), u";");
}

TEST(VarDescToStr, FieldsAndConstants) {
  MemoryTypeInfo info;
  EXPECT_EQ(VarDescToStr(info.AddField(1, u"x", Vt(VT_I4)).desc, info), u"x: LongInt;");
  EXPECT_EQ(VarDescToStr(info.AddField(2, Text(u"y\0z", 3), SafeArrayOf(Vt(VT_UI1))).desc, info), u"y: array of Byte;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(3, u"Red", Variant::Int(VT_I4, 0)).desc, info), u"Red = 0;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(4, u"Big", Variant::Int(VT_UI4, 0xFFFFFFFF)).desc, info), u"Big = 4294967295;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(5, u"Title", Variant::Str(u"Hello")).desc, info), u"Title = Hello;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(6, u"Nothing", Variant()).desc, info), u"Nothing = ;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(7, u"Name", Variant::Int(VT_NULL, 0)).desc, info), u"Name = <?>;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(8, u"Absent", std::nullopt).desc, info), u"Absent = <?>;");
  EXPECT_EQ(VarDescToStr(info.AddConstant(9, u"Odd", Variant::Int(VT_UNKNOWN, 0)).desc, info), u"Odd = <?>;");
  auto& undocumented = info.AddField(10, u"hidden", Vt(VT_I4));
  undocumented.docResult = Code::TypeElementNotFound;
  EXPECT_EQ(VarDescToStr(undocumented.desc, info), u"");
}

TEST(GetMemberLines, WorkedExamples) {
  MemoryTypeInfo disp;
  disp.attr.typekind = TKIND_DISPATCH;
  disp.AddField(10, u"Name", Vt(VT_BSTR), VAR_DISPATCH);
  disp.AddFunction(3, u"Caption", Vt(VT_BSTR), {}, FUNC_DISPATCH, INVOKE_PROPERTYGET);
  disp.AddFunction(3, u"Caption", Vt(VT_VOID), {{u"", Vt(VT_BSTR)}}, FUNC_DISPATCH, INVOKE_PROPERTYPUT);
  disp.AddFunction(4, u"Ref", Vt(VT_VOID), {{u"v", Vt(VT_DISPATCH)}}, FUNC_DISPATCH, INVOKE_PROPERTYPUTREF);
  disp.AddFunction(-4, u"Name", Vt(VT_VOID), {}, FUNC_DISPATCH);
  disp.AddFunction(5, u"Open", Vt(VT_HRESULT),
                   {{u"path", Vt(VT_BSTR), ParamFlag::In},
                    {u"handle", Ptr(Vt(VT_I4)), ParamFlag::Out | ParamFlag::RetVal}});
  TextList lines;
  GetMemberLines(disp, disp.attr, &lines);
  // The property put shares the getter's member id; its names come from the
  // first function with that id, which has no parameter names.
  EXPECT_EQ(lines, (TextList{u"property Name: WideString;", u"function Get_Caption: WideString; dispid 3;",
                             u"procedure Set_Caption(Param1: WideString); dispid 3;",
                             u"procedure Set_Ref(v: IDispatch); dispid 4;", u"procedure Name; dispid -4;",
                             u"procedure Open(const path: WideString; var retval handle: LongInt): HRESULT;"}));
}

TEST(GetMemberLines, CommentsPrefixesAndKinds) {
  MemoryTypeInfo info;
  info.AddField(1, u"x", Vt(VT_I4)).doc.docString = Text(u"The x\0junk", 10);
  info.AddField(2, u"y", Vt(VT_I4)).doc.docString = u" \t ";
  info.AddFunction(3, u"Count", Vt(VT_I4)).doc.docString = u"How many";
  for (TypeKind kind : {TKIND_ENUM, TKIND_RECORD, TKIND_UNION, TKIND_MODULE, TKIND_ALIAS}) {
    info.attr.typekind = kind;
    TextList lines;
    GetMemberLines(info, info.attr, &lines);
    EXPECT_EQ(lines, (TextList{u"// The x", u"x: LongInt;", u"y: LongInt;"})) << kind;
  }
  for (TypeKind kind : {TKIND_INTERFACE, TKIND_DISPATCH, TKIND_COCLASS}) {
    info.attr.typekind = kind;
    TextList lines;
    GetMemberLines(info, info.attr, &lines);
    EXPECT_EQ(lines, (TextList{u"// The x", u"property x: LongInt;", u"property y: LongInt;", u"// How many",
                               u"function Count: LongInt;"}))
        << kind;
  }
}

TEST(GetMemberLines, FailuresSkipOrReplaceMembers) {
  MemoryTypeInfo info;
  info.attr.typekind = TKIND_INTERFACE;
  info.AddField(1, u"gone", Vt(VT_I4)).docResult = Code::TypeElementNotFound;
  info.AddField(2, u"broken", Vt(VT_I4)).descResult = Code::TypeInvDataRead;
  info.AddField(3, u"kept", Vt(VT_I4));
  info.AddFunction(4, u"Nameless", Vt(VT_VOID)).namesResult = Code::TypeElementNotFound;
  // No names returned: the line stays, without a name or a parameter list.
  auto& empty = info.AddFunction(5, u"Empty", Vt(VT_I4), {{u"a", Vt(VT_I4)}});
  empty.names.clear();
  info.AddFunction(6, u"Undocumented", Vt(VT_VOID)).docResult = Code::Fail;
  info.AddFunction(7, u"Unreadable", Vt(VT_VOID)).descResult = Code::TypeElementNotFound;
  info.AddFunction(8, u"Last", Vt(VT_DATE));
  info.attr.cFuncs += 1;  // claims one more function than there is
  TextList lines;
  GetMemberLines(info, info.attr, &lines);
  EXPECT_EQ(lines, (TextList{u"property ", ErrorLine(Code::TypeInvDataRead),
                             u"property kept: LongInt;", u"function : LongInt;", u"procedure Undocumented;",
                             ErrorLine(Code::TypeElementNotFound), u"function Last: TDateTime;",
                             ErrorLine(Code::TypeElementNotFound)}));
}

}  // namespace
}  // namespace brannock::typelib
