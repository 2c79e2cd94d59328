// The reader against shapes.idl compiled by widl: what the IDL declares is
// what the access layer returns, in oleaut32's form.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "platform/file_reading.h"
#include "platform/files.h"
#include "typelib/msft_records.h"
#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

using namespace testing;

Guid ShapeGuid(const char16_t* part) {
  return TextToGuid(Text(u"{6A1B2C3D-") + part + u"-4A5B-8C9D-0123456789AB}");
}

TEST(ReaderFixture, LibraryAndTypeDocumentation) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  Documentation doc;
  ASSERT_EQ(lib->GetDocumentation(-1, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"ShapeLib");
  EXPECT_EQ(doc.docString, u"Shapes and colours");
  EXPECT_EQ(doc.helpFile, u"shapes.hlp");
  EXPECT_EQ(doc.helpContext, 100u);

  ASSERT_EQ(lib->GetTypeInfoCount(), unsigned{kTypeCount});
  const TypeKind kinds[] = {TKIND_ENUM,      TKIND_RECORD,   TKIND_UNION,    TKIND_ALIAS,
                            TKIND_ALIAS,     TKIND_MODULE,   TKIND_INTERFACE, TKIND_DISPATCH,
                            TKIND_DISPATCH,  TKIND_DISPATCH, TKIND_COCLASS,  TKIND_COCLASS};
  const char16_t* names[] = {u"Colors", u"Point",        u"Value",  u"Handle", u"NameList", u"ShapeModule",
                             u"IPlain", u"IShape",       u"ICircle", u"DShapeEvents", u"Shape", u"Hidden"};
  for (unsigned i = 0; i < kTypeCount; ++i) {
    TypeKind kind;
    ASSERT_EQ(lib->GetTypeInfoType(i, &kind), S_OK_);
    EXPECT_EQ(kind, kinds[i]) << i;
    ASSERT_EQ(lib->GetDocumentation(static_cast<int32_t>(i), &doc), S_OK_);
    EXPECT_EQ(doc.name, names[i]);
    EXPECT_EQ(doc.helpFile, u"shapes.hlp") << "every type names the library's help file";
    EXPECT_EQ(NameOf(*TypeAt(*lib, i)), names[i]);
  }
  ASSERT_EQ(lib->GetDocumentation(kPlain, &doc), S_OK_);
  EXPECT_EQ(doc.docString, u"Plain interface");
  EXPECT_EQ(doc.helpContext, 200u);
  ASSERT_EQ(lib->GetDocumentation(kShapeClass, &doc), S_OK_);
  EXPECT_EQ(doc.docString, u"A shape object");
  EXPECT_EQ(doc.helpContext, 300u);

  TypeKind kind;
  std::shared_ptr<TypeInfo> info;
  EXPECT_EQ(lib->GetTypeInfoType(kTypeCount, &kind), Code::TypeElementNotFound);
  EXPECT_EQ(lib->GetTypeInfo(kTypeCount, &info), Code::TypeElementNotFound);
  EXPECT_EQ(lib->GetDocumentation(kTypeCount, &doc), Code::TypeElementNotFound);
  EXPECT_EQ(lib->GetDocumentation(-2, &doc), Code::TypeElementNotFound);
}

TEST(ReaderFixture, EnumerationRecordUnionAndAliases) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);

  auto colors = TypeAt(*lib, kColors);
  TypeAttr attr = AttrOf(*colors);
  EXPECT_EQ(attr.guid, ShapeGuid(u"0002"));
  EXPECT_EQ(attr.cVars, 4);
  EXPECT_EQ(attr.cFuncs, 0);
  EXPECT_EQ(attr.cbSizeInstance, 4u);
  const std::pair<const char16_t*, int64_t> constants[] = {
      {u"Red", 0}, {u"Green", 1}, {u"Blue", -5}, {u"Big", 0x12345678}};
  for (unsigned i = 0; i < 4; ++i) {
    VarDesc v;
    ASSERT_EQ(colors->GetVarDesc(i, &v), S_OK_);
    EXPECT_EQ(v.varkind, VAR_CONST);
    EXPECT_EQ(v.memid, static_cast<MEMBERID>(0x40000000 + i));
    EXPECT_EQ(v.elemdescVar.tdesc.vt, VT_INT);
    ASSERT_TRUE(v.lpvarValue);
    EXPECT_EQ(v.lpvarValue->vt, VT_I4);
    EXPECT_EQ(v.lpvarValue->intVal, constants[i].second) << "embedded and custom-data values alike";
    EXPECT_EQ(NamesOf(*colors, v.memid), TextList{constants[i].first});
  }
  Documentation doc;
  ASSERT_EQ(colors->GetDocumentation(MEMBERID_NIL, &doc), S_OK_);
  EXPECT_EQ(doc.docString, u"Primary colours");
  VarDesc v;
  EXPECT_EQ(colors->GetVarDesc(4, &v), Code::TypeElementNotFound);

  auto point = TypeAt(*lib, kPoint);
  attr = AttrOf(*point);
  EXPECT_EQ(attr.typekind, TKIND_RECORD);
  EXPECT_EQ(attr.cVars, 5);
  EXPECT_EQ(attr.cbSizeInstance, 64u);
  EXPECT_EQ(attr.cbAlignment, 8);
  ASSERT_EQ(point->GetVarDesc(1, &v), S_OK_);
  EXPECT_EQ(v.varkind, VAR_PERINSTANCE);
  EXPECT_EQ(v.oInst, 4u);
  EXPECT_EQ(v.elemdescVar.tdesc.vt, VT_I4);
  ASSERT_EQ(point->GetVarDesc(2, &v), S_OK_);  // double weights[4]
  ASSERT_EQ(v.elemdescVar.tdesc.vt, VT_CARRAY);
  ASSERT_TRUE(v.elemdescVar.tdesc.lpadesc);
  EXPECT_EQ(v.elemdescVar.tdesc.lpadesc->cDims, 1);
  EXPECT_EQ(v.elemdescVar.tdesc.lpadesc->rgbounds.at(0).cElements, 4u);
  EXPECT_EQ(v.elemdescVar.tdesc.lpadesc->tdescElem.vt, VT_R8);
  ASSERT_EQ(point->GetVarDesc(3, &v), S_OK_);  // short grid[3][2]
  ASSERT_TRUE(v.elemdescVar.tdesc.lpadesc);
  const ArrayDesc& grid = *v.elemdescVar.tdesc.lpadesc;
  ASSERT_EQ(grid.cDims, 2);
  EXPECT_EQ(grid.rgbounds.at(0).cElements, 3u);
  EXPECT_EQ(grid.rgbounds.at(1).cElements, 2u);
  EXPECT_EQ(grid.rgbounds.at(1).lLbound, 0);
  EXPECT_EQ(grid.tdescElem.vt, VT_I2);
  EXPECT_EQ(v.oInst, 40u);
  EXPECT_EQ(NamesOf(*point, v.memid), TextList{u"grid"});

  auto value = TypeAt(*lib, kValue);
  attr = AttrOf(*value);
  EXPECT_EQ(attr.typekind, TKIND_UNION);
  ASSERT_EQ(value->GetVarDesc(1, &v), S_OK_);
  EXPECT_EQ(v.elemdescVar.tdesc.vt, VT_R8);
  EXPECT_EQ(v.oInst, 0u);

  attr = AttrOf(*TypeAt(*lib, kHandle));
  EXPECT_EQ(attr.typekind, TKIND_ALIAS);
  EXPECT_EQ(attr.tdescAlias.vt, VT_I4);
  EXPECT_EQ(attr.guid, Guid{});
  attr = AttrOf(*TypeAt(*lib, kNameList));
  ASSERT_EQ(attr.tdescAlias.vt, VT_SAFEARRAY);
  ASSERT_TRUE(attr.tdescAlias.lptdesc);
  EXPECT_EQ(attr.tdescAlias.lptdesc->vt, VT_BSTR);

  auto module = TypeAt(*lib, kModule);
  attr = AttrOf(*module);
  EXPECT_EQ(attr.typekind, TKIND_MODULE);
  ASSERT_EQ(attr.cFuncs, 1);
  FuncDesc area = FuncOf(*module, 0);
  EXPECT_EQ(area.funckind, FUNC_STATIC);
  EXPECT_EQ(area.elemdescFunc.tdesc.vt, VT_R8);
  EXPECT_EQ(NamesOf(*module, area.memid), (TextList{u"Area", u"w", u"h"}));
}

TEST(ReaderFixture, InterfaceFunctionsAndParameters) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  auto plain = TypeAt(*lib, kPlain);
  TypeAttr attr = AttrOf(*plain);
  EXPECT_EQ(attr.typekind, TKIND_INTERFACE);
  EXPECT_EQ(attr.guid, ShapeGuid(u"0006"));
  EXPECT_EQ(attr.wTypeFlags, TypeFlag::OleAutomation);
  EXPECT_EQ(attr.cFuncs, 4);
  EXPECT_EQ(attr.cImplTypes, 1);
  EXPECT_EQ(attr.cbSizeVft, 56);
  HREFTYPE href;
  ASSERT_EQ(plain->GetRefTypeOfImplType(0, &href), S_OK_);
  EXPECT_EQ(RefName(*plain, href), u"IUnknown") << "resolved in stdole2.tlb beside the library";
  EXPECT_EQ(plain->GetRefTypeOfImplType(1, &href), Code::TypeElementNotFound);

  FuncDesc ping = FuncOf(*plain, 0);
  EXPECT_EQ(ping.funckind, FUNC_PUREVIRTUAL);
  EXPECT_EQ(ping.invkind, INVOKE_FUNC);
  EXPECT_EQ(ping.callconv, 4);
  EXPECT_EQ(ping.oVft, 24);
  EXPECT_EQ(ping.cParams, 0);
  EXPECT_EQ(ping.elemdescFunc.tdesc.vt, VT_HRESULT);
  Documentation doc;
  ASSERT_EQ(plain->GetDocumentation(ping.memid, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"Ping");
  EXPECT_EQ(doc.docString, u"Pings");

  FuncDesc open = FuncOf(*plain, 1);
  ASSERT_EQ(open.cParams, 2);
  EXPECT_EQ(open.lprgelemdescParam[0].tdesc.vt, VT_BSTR);
  EXPECT_EQ(open.lprgelemdescParam[0].paramdesc.wParamFlags, ParamFlag::In);
  EXPECT_EQ(open.lprgelemdescParam[1].tdesc.vt, VT_PTR);
  EXPECT_EQ(open.lprgelemdescParam[1].tdesc.lptdesc->vt, VT_I4);
  EXPECT_EQ(open.lprgelemdescParam[1].paramdesc.wParamFlags, ParamFlag::Out | ParamFlag::RetVal);
  // Names are shared case-insensitively in the file: "handle" reads as the
  // type name "Handle", as oleaut32 gives it too.
  EXPECT_EQ(NamesOf(*plain, open.memid), (TextList{u"Open", u"path", u"Handle"}));
  TextList two;
  ASSERT_EQ(plain->GetNames(open.memid, &two, 2), S_OK_);
  EXPECT_EQ(two.size(), 2u);

  FuncDesc fill = FuncOf(*plain, 2);
  ASSERT_EQ(fill.cParams, 3);
  EXPECT_EQ(fill.lprgelemdescParam[0].tdesc.vt, VT_SAFEARRAY);
  EXPECT_EQ(fill.lprgelemdescParam[0].tdesc.lptdesc->vt, VT_VARIANT);
  EXPECT_EQ(fill.lprgelemdescParam[1].paramdesc.wParamFlags, ParamFlag::In | ParamFlag::Out);
  const TypeDesc& where = *fill.lprgelemdescParam[1].tdesc.lptdesc;
  ASSERT_EQ(where.vt, VT_USERDEFINED);
  EXPECT_EQ(RefName(*plain, where.hreftype), u"Point");
  EXPECT_EQ(fill.lprgelemdescParam[2].tdesc.lptdesc->vt, VT_UNKNOWN);

  FuncDesc locale = FuncOf(*plain, 3);
  EXPECT_EQ(locale.lprgelemdescParam.at(1).paramdesc.wParamFlags, ParamFlag::In | ParamFlag::Lcid);

  TextList names;
  EXPECT_EQ(plain->GetNames(12345, &names, 10), Code::TypeElementNotFound);
  EXPECT_EQ(plain->GetDocumentation(12345, &doc), Code::TypeElementNotFound);
  FuncDesc none;
  EXPECT_EQ(plain->GetFuncDesc(4, &none), Code::TypeElementNotFound);
}

TEST(ReaderFixture, DualInterfaceDispatchAndInterfaceViews) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  auto shape = TypeAt(*lib, kShape);
  TypeAttr attr = AttrOf(*shape);
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr.guid, ShapeGuid(u"0007"));
  EXPECT_EQ(attr.wTypeFlags, TypeFlag::Dual | TypeFlag::NonExtensible | TypeFlag::Dispatchable)
      << "the dispatch view drops oleautomation";
  EXPECT_EQ(attr.cFuncs, 7 + 11) << "IUnknown and IDispatch first";
  EXPECT_EQ(attr.cImplTypes, 1);
  EXPECT_EQ(attr.cbSizeVft, 7 * 8);

  FuncDesc query = FuncOf(*shape, 0);
  EXPECT_EQ(query.funckind, FUNC_DISPATCH);
  EXPECT_EQ(query.elemdescFunc.tdesc.vt, VT_VOID) << "HRESULT without retval becomes void";
  EXPECT_EQ(NamesOf(*shape, query.memid), (TextList{u"QueryInterface", u"riid", u"ppvObj"}));
  ASSERT_EQ(query.cParams, 2);
  ASSERT_EQ(query.lprgelemdescParam[0].tdesc.vt, VT_PTR);
  const TypeDesc& riid = *query.lprgelemdescParam[0].tdesc.lptdesc;
  ASSERT_EQ(riid.vt, VT_USERDEFINED);
  EXPECT_EQ(RefName(*shape, riid.hreftype), u"GUID") << "a reference of stdole2's IUnknown, through the view";
  EXPECT_EQ(FuncOf(*shape, 1).elemdescFunc.tdesc.vt, VT_UI4);  // AddRef

  FuncDesc nameGet = FuncOf(*shape, 7);
  EXPECT_EQ(nameGet.memid, 1);
  EXPECT_EQ(nameGet.funckind, FUNC_DISPATCH);
  EXPECT_EQ(nameGet.invkind, INVOKE_PROPERTYGET);
  EXPECT_EQ(nameGet.cParams, 0);
  EXPECT_EQ(nameGet.elemdescFunc.tdesc.vt, VT_BSTR) << "the retval parameter's type without its pointer";
  EXPECT_EQ(nameGet.oVft, 56);
  EXPECT_EQ(NamesOf(*shape, 1), TextList{u"Name"});
  Documentation doc;
  ASSERT_EQ(shape->GetDocumentation(1, &doc), S_OK_);
  EXPECT_EQ(doc.docString, u"The name");
  FuncDesc fontPut = FuncOf(*shape, 11);
  EXPECT_EQ(fontPut.invkind, INVOKE_PROPERTYPUTREF);
  EXPECT_EQ(NamesOf(*shape, 3), TextList{u"Font"}) << "the put's value parameter has no name";
  FuncDesc fontGet = FuncOf(*shape, 12);
  ASSERT_EQ(fontGet.elemdescFunc.tdesc.vt, VT_PTR);
  EXPECT_EQ(RefName(*shape, fontGet.elemdescFunc.tdesc.lptdesc->hreftype), u"IFontDisp");
  EXPECT_EQ(FuncOf(*shape, 16).memid, 0);  // DISPID_VALUE
  FuncDesc newEnum = FuncOf(*shape, 17);
  EXPECT_EQ(newEnum.memid, -4);
  EXPECT_EQ(newEnum.wFuncFlags, 0x41);
  EXPECT_EQ(newEnum.elemdescFunc.tdesc.vt, VT_UNKNOWN);

  HREFTYPE href;
  ASSERT_EQ(shape->GetRefTypeOfImplType(0, &href), S_OK_);
  EXPECT_EQ(RefName(*shape, href), u"IDispatch");
  ASSERT_EQ(shape->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_);
  std::shared_ptr<TypeInfo> iface;
  ASSERT_EQ(shape->GetRefTypeInfo(href, &iface), S_OK_);
  attr = AttrOf(*iface);
  EXPECT_EQ(attr.typekind, TKIND_INTERFACE);
  EXPECT_EQ(attr.wTypeFlags, 0x11C0);
  EXPECT_EQ(attr.cFuncs, 11);
  EXPECT_EQ(attr.cbSizeVft, 144);
  FuncDesc ifaceGet = FuncOf(*iface, 0);
  EXPECT_EQ(ifaceGet.funckind, FUNC_PUREVIRTUAL);
  EXPECT_EQ(ifaceGet.elemdescFunc.tdesc.vt, VT_HRESULT);
  EXPECT_EQ(NamesOf(*iface, 1), (TextList{u"Name", u"Value"}));
  EXPECT_EQ(iface->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), Code::TypeElementNotFound);

  auto circle = TypeAt(*lib, kCircle);
  EXPECT_EQ(AttrOf(*circle).cFuncs, 7 + 11 + 2);
  EXPECT_EQ(NamesOf(*circle, 5).at(0), u"Move") << "inherited from the local dual base";
  ASSERT_EQ(circle->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_);
  std::shared_ptr<TypeInfo> circleIface;
  ASSERT_EQ(circle->GetRefTypeInfo(href, &circleIface), S_OK_);
  ASSERT_EQ(circleIface->GetRefTypeOfImplType(0, &href), S_OK_);
  std::shared_ptr<TypeInfo> base;
  ASSERT_EQ(circleIface->GetRefTypeInfo(href, &base), S_OK_);
  EXPECT_EQ(NameOf(*base), u"IShape");
  EXPECT_EQ(AttrOf(*base).typekind, TKIND_INTERFACE) << "an interface's dual base is its interface view";
}

// Callers render thousands of members with the same records; every call
// must leave exactly its own answer in them. Type infos handed out keep
// their library (and its imports) alive after the library itself is let go.
TEST(ReaderFixture, ReusedRecordsAndTypeInfosOutlivingTheLibrary) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  std::shared_ptr<TypeInfo> plain = TypeAt(*lib, kPlain);
  std::shared_ptr<TypeInfo> events = TypeAt(*lib, kEvents);
  std::shared_ptr<TypeInfo> shape = TypeAt(*lib, kShape);
  HREFTYPE href;
  std::shared_ptr<TypeInfo> shapeInterface;
  ASSERT_EQ(shape->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_);
  ASSERT_EQ(shape->GetRefTypeInfo(href, &shapeInterface), S_OK_);
  lib.reset();

  TextList names{u"left", u"over", u"from", u"before"};
  ASSERT_EQ(plain->GetNames(FuncOf(*plain, 1).memid, &names, 0xFFFF), S_OK_);
  EXPECT_EQ(names, (TextList{u"Open", u"path", u"Handle"}));
  ASSERT_EQ(events->GetNames(2, &names, 0xFFFF), S_OK_) << "the variable Title";
  EXPECT_EQ(names, TextList{u"Title"});
  ASSERT_EQ(events->GetNames(2, &names, 0), S_OK_);
  EXPECT_TRUE(names.empty());
  names = {u"stale"};
  EXPECT_EQ(events->GetNames(999, &names, 0xFFFF), Code::TypeElementNotFound);
  EXPECT_TRUE(names.empty());

  Documentation doc{u"stale name", u"stale doc", 77, u"stale.hlp"};
  ASSERT_EQ(shape->GetDocumentation(4, &doc), S_OK_) << "Draw";
  EXPECT_EQ(doc.name, u"Draw");
  EXPECT_EQ(doc.docString, u"");
  EXPECT_EQ(doc.helpFile, u"shapes.hlp");
  ASSERT_EQ(shape->GetDocumentation(1, &doc), S_OK_);
  EXPECT_EQ(doc.docString, u"The name");
  ASSERT_EQ(shape->GetDocumentation(MEMBERID_NIL, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"IShape");
  EXPECT_EQ(shape->GetDocumentation(999, &doc), Code::TypeElementNotFound);
  EXPECT_EQ(doc.name, u"");
  EXPECT_EQ(doc.helpFile, u"");

  FuncDesc desc = FuncOf(*plain, 2);  // Fill: three parameters
  ASSERT_EQ(plain->GetFuncDesc(0, &desc), S_OK_);  // Ping: none
  EXPECT_TRUE(desc.lprgelemdescParam.empty());
  EXPECT_EQ(desc.cParams, 0);

  // Through the views and references, long after the library went: the
  // dual interface's interface view, and stdole2's IDispatch behind it.
  EXPECT_EQ(AttrOf(*shapeInterface).typekind, TKIND_INTERFACE);
  EXPECT_EQ(NameOf(*shapeInterface), u"IShape");
  ASSERT_EQ(shapeInterface->GetRefTypeOfImplType(0, &href), S_OK_);
  EXPECT_EQ(RefName(*shapeInterface, href), u"IDispatch");
  EXPECT_EQ(AttrOf(*shape).cFuncs, 7 + 11);
}

TEST(ReaderFixture, DefaultValuesOfParameters) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  std::shared_ptr<TypeInfo> iface;
  HREFTYPE href;
  auto shape = TypeAt(*lib, kShape);
  ASSERT_EQ(shape->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_);
  ASSERT_EQ(shape->GetRefTypeInfo(href, &iface), S_OK_);

  FuncDesc move = FuncOf(*iface, 7);
  ASSERT_EQ(move.cParams, 7);
  EXPECT_EQ(move.cParamsOpt, 2);
  EXPECT_EQ(NamesOf(*iface, move.memid),
            (TextList{u"Move", u"dx", u"dy", u"note", u"scale", u"tiny", u"visible", u"extra"}));
  const auto& p = move.lprgelemdescParam;
  EXPECT_FALSE(p[0].paramdesc.pparamdescex);
  const uint16_t optionalDefault = ParamFlag::In | ParamFlag::Opt | ParamFlag::HasDefault;
  EXPECT_EQ(p[1].paramdesc.wParamFlags, optionalDefault);
  ASSERT_TRUE(p[1].paramdesc.pparamdescex);
  EXPECT_EQ(p[1].paramdesc.pparamdescex->varDefaultValue.vt, VT_I4);
  EXPECT_EQ(p[1].paramdesc.pparamdescex->varDefaultValue.intVal, 10);
  ASSERT_TRUE(p[2].paramdesc.pparamdescex);
  EXPECT_EQ(p[2].paramdesc.pparamdescex->varDefaultValue.vt, VT_BSTR);
  EXPECT_EQ(p[2].paramdesc.pparamdescex->varDefaultValue.bstrVal, u"abc");
  ASSERT_TRUE(p[3].paramdesc.pparamdescex);
  EXPECT_EQ(p[3].paramdesc.pparamdescex->varDefaultValue.vt, VT_R4);
  ASSERT_TRUE(p[4].paramdesc.pparamdescex);
  EXPECT_EQ(p[4].paramdesc.pparamdescex->varDefaultValue.vt, VT_I2);
  EXPECT_EQ(p[4].paramdesc.pparamdescex->varDefaultValue.intVal, -7) << "sign of a 16-bit embedded value";
  ASSERT_TRUE(p[5].paramdesc.pparamdescex);
  EXPECT_EQ(p[5].paramdesc.pparamdescex->varDefaultValue.vt, VT_BOOL);
  EXPECT_EQ(p[5].paramdesc.pparamdescex->varDefaultValue.intVal, -1);
  EXPECT_EQ(p[6].tdesc.vt, VT_VARIANT);
  EXPECT_EQ(p[6].paramdesc.wParamFlags, ParamFlag::In | ParamFlag::Opt);
  EXPECT_FALSE(p[6].paramdesc.pparamdescex);

  FuncDesc money = FuncOf(*iface, 8);
  ASSERT_EQ(money.cParams, 5);
  // A record that held Move keeps none of its defaults.
  FuncDesc reused = move;
  ASSERT_EQ(iface->GetFuncDesc(8, &reused), S_OK_);
  ASSERT_EQ(reused.lprgelemdescParam.size(), 5u);
  EXPECT_EQ(reused.lprgelemdescParam[1].tdesc.vt, VT_DATE);
  EXPECT_FALSE(reused.lprgelemdescParam[1].paramdesc.pparamdescex) << "Move's default of dy";
  EXPECT_EQ(reused.lprgelemdescParam[1].paramdesc.wParamFlags, money.lprgelemdescParam[1].paramdesc.wParamFlags);
  EXPECT_EQ(money.lprgelemdescParam[0].tdesc.vt, VT_CY);
  EXPECT_EQ(money.lprgelemdescParam[1].tdesc.vt, VT_DATE);
  ASSERT_TRUE(money.lprgelemdescParam[2].paramdesc.pparamdescex);
  EXPECT_EQ(money.lprgelemdescParam[2].paramdesc.pparamdescex->varDefaultValue.vt, VT_UI1);
  EXPECT_EQ(money.lprgelemdescParam[2].paramdesc.pparamdescex->varDefaultValue.intVal, 200);
  ASSERT_TRUE(money.lprgelemdescParam[3].paramdesc.pparamdescex);
  EXPECT_EQ(money.lprgelemdescParam[3].paramdesc.pparamdescex->varDefaultValue.bstrVal, u"");
  EXPECT_EQ(RefName(*iface, money.lprgelemdescParam[4].tdesc.lptdesc->hreftype), u"Colors");

  // The dispatch view keeps the defaults and drops the retval parameter.
  FuncDesc moneyDispatch = FuncOf(*shape, 15);
  EXPECT_EQ(moneyDispatch.cParams, 4);
  EXPECT_EQ(moneyDispatch.cParamsOpt, 1);
  ASSERT_EQ(moneyDispatch.elemdescFunc.tdesc.vt, VT_USERDEFINED);
  EXPECT_EQ(RefName(*shape, moneyDispatch.elemdescFunc.tdesc.hreftype), u"Colors");
  ASSERT_TRUE(moneyDispatch.lprgelemdescParam[2].paramdesc.pparamdescex);
}

// widl cannot write defaults of 8-byte types; the library's custom data
// segment holds them as a type code and eight bytes. The default "abc" of
// IShape.Move's "note" is rewritten in place to each such value.
TEST(ReaderFixture, DefaultsOfEightByteTypesFromCustomData) {
  REQUIRE_TLB_FIXTURES();
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(Fixture("shapes.tlb"), kMaxTypeLibFileBytes, &bytes));
  msft::Header header;
  ASSERT_EQ(ReadAt(bytes, 0, &header), ReadStatus::Ok);
  msft::SegmentEntry customData;
  const size_t directory = sizeof(header) + 4 * static_cast<size_t>(header.typeInfoCount);
  ASSERT_EQ(ReadAt(bytes, directory + msft::kCustomDataSegment * sizeof(customData), &customData), ReadStatus::Ok);
  const size_t abc = static_cast<size_t>(customData.offset) + 0x60;
  const uint8_t expected[] = {8, 0, 3, 0, 0, 0, 'a', 'b', 'c'};
  ASSERT_LE(abc + sizeof(expected), bytes.size());
  ASSERT_EQ(std::memcmp(&bytes[abc], expected, sizeof(expected)), 0) << "widl's layout changed";

  auto defaultOf = [&](uint16_t vt, uint64_t bits) {
    std::vector<uint8_t> patched = bytes;
    patched[abc] = static_cast<uint8_t>(vt);
    patched[abc + 1] = 0;
    std::memcpy(&patched[abc + 2], &bits, 8);
    std::shared_ptr<TypeLib> lib;
    EXPECT_EQ(OpenTypeLibBytes(patched, 1, nullptr, &lib), S_OK_);
    HREFTYPE href;
    std::shared_ptr<TypeInfo> iface;
    auto shape = TypeAt(*lib, kShape);
    EXPECT_EQ(shape->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_);
    EXPECT_EQ(shape->GetRefTypeInfo(href, &iface), S_OK_);
    const FuncDesc move = FuncOf(*iface, 7);
    EXPECT_TRUE(move.lprgelemdescParam.at(2).paramdesc.pparamdescex);
    return move.lprgelemdescParam.at(2).paramdesc.pparamdescex->varDefaultValue;
  };
  Variant d = defaultOf(VT_R8, std::bit_cast<uint64_t>(2.5));
  EXPECT_EQ(d.vt, VT_R8);
  EXPECT_EQ(d.dblVal, 2.5);
  d = defaultOf(VT_CY, 123400);
  EXPECT_EQ(d.vt, VT_CY);
  EXPECT_EQ(d.intVal, 123400) << "12.34 in units of 1/10000";
  d = defaultOf(VT_DATE, std::bit_cast<uint64_t>(36526.5));
  EXPECT_EQ(d.vt, VT_DATE);
  EXPECT_EQ(d.dblVal, 36526.5);
  d = defaultOf(VT_I8, static_cast<uint64_t>(-3));
  EXPECT_EQ(d.vt, VT_I8);
  EXPECT_EQ(d.intVal, -3);
}

TEST(ReaderFixture, DispinterfaceAndCoclasses) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  auto events = TypeAt(*lib, kEvents);
  TypeAttr attr = AttrOf(*events);
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr.wTypeFlags, TypeFlag::Dispatchable);
  EXPECT_EQ(attr.cFuncs, 2);
  EXPECT_EQ(attr.cVars, 2);
  EXPECT_EQ(attr.cbSizeVft, 56);
  HREFTYPE href;
  ASSERT_EQ(events->GetRefTypeOfImplType(0, &href), S_OK_);
  EXPECT_EQ(RefName(*events, href), u"IDispatch");
  FuncDesc moved = FuncOf(*events, 0);
  EXPECT_EQ(moved.memid, 100);
  EXPECT_EQ(moved.funckind, FUNC_DISPATCH);
  EXPECT_EQ(moved.elemdescFunc.tdesc.vt, VT_VOID);
  EXPECT_EQ(FuncOf(*events, 1).oVft, 0) << "dispinterface functions have no vtable slot";
  EXPECT_EQ(NamesOf(*events, 100), (TextList{u"Moved", u"x", u"y"}));
  VarDesc title;
  ASSERT_EQ(events->GetVarDesc(1, &title), S_OK_);
  EXPECT_EQ(title.varkind, VAR_DISPATCH);
  EXPECT_EQ(title.memid, 2);
  EXPECT_EQ(title.wVarFlags, 1);  // VARFLAG_FREADONLY
  EXPECT_EQ(title.elemdescVar.tdesc.vt, VT_BSTR);

  auto shapeClass = TypeAt(*lib, kShapeClass);
  attr = AttrOf(*shapeClass);
  EXPECT_EQ(attr.typekind, TKIND_COCLASS);
  EXPECT_EQ(attr.guid, ShapeGuid(u"000A"));
  EXPECT_EQ(attr.wTypeFlags, TypeFlag::CanCreate);
  ASSERT_EQ(attr.cImplTypes, 4);
  const char16_t* implemented[] = {u"IShape", u"ICircle", u"IPlain", u"DShapeEvents"};
  const TypeKind implementedKinds[] = {TKIND_DISPATCH, TKIND_DISPATCH, TKIND_INTERFACE, TKIND_DISPATCH};
  for (unsigned i = 0; i < 4; ++i) {
    ASSERT_EQ(shapeClass->GetRefTypeOfImplType(i, &href), S_OK_);
    std::shared_ptr<TypeInfo> ref;
    ASSERT_EQ(shapeClass->GetRefTypeInfo(href, &ref), S_OK_);
    EXPECT_EQ(NameOf(*ref), implemented[i]);
    EXPECT_EQ(AttrOf(*ref).typekind, implementedKinds[i]);
  }
  EXPECT_EQ(shapeClass->GetRefTypeOfImplType(4, &href), Code::TypeElementNotFound);
  EXPECT_EQ(AttrOf(*TypeAt(*lib, kHiddenClass)).wTypeFlags, TypeFlag::Hidden);
  std::shared_ptr<TypeInfo> bad;
  EXPECT_EQ(shapeClass->GetRefTypeInfo(0x12345678, &bad), Code::TypeElementNotFound);
}

TEST(ReaderFixture, UnreachableImportedLibrary) {
  REQUIRE_TLB_FIXTURES();
  // shapes.tlb alone: stdole2.tlb is neither registered nor beside it.
  const auto dir = std::filesystem::temp_directory_path() / "brannock-reader-alone";
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(Fixture("shapes.tlb"), dir / "shapes.tlb",
                             std::filesystem::copy_options::overwrite_existing);
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> lib;
  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(dir / "shapes.tlb"), &lib), S_OK_);
  auto shape = TypeAt(*lib, kShape);
  EXPECT_EQ(AttrOf(*shape).cFuncs, 18) << "counted from the vtable size";
  FuncDesc f;
  EXPECT_EQ(shape->GetFuncDesc(0, &f), Code::TypeElementNotFound);
  EXPECT_EQ(shape->GetFuncDesc(7, &f), S_OK_);
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_BSTR);
  HREFTYPE href;
  std::shared_ptr<TypeInfo> ref;
  ASSERT_EQ(shape->GetRefTypeOfImplType(0, &href), S_OK_);
  EXPECT_TRUE(Failed(shape->GetRefTypeInfo(href, &ref)));
  std::filesystem::remove_all(dir);
}

TEST(ReaderFixture, LibraryWithoutImportsOrHelp) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("minimal.tlb");
  ASSERT_TRUE(lib);
  Documentation doc;
  ASSERT_EQ(lib->GetDocumentation(-1, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"MinimalLib");
  EXPECT_EQ(doc.docString, u"");
  EXPECT_EQ(doc.helpFile, u"");
  ASSERT_EQ(lib->GetTypeInfoCount(), 1u);
  auto answer = TypeAt(*lib, 0);
  EXPECT_EQ(NamesOf(*answer, 0x40000001), TextList{u"Yes"});
}

}  // namespace
}  // namespace brannock::typelib
