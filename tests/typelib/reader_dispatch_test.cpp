// Dispatch views as oleaut32 hands them out: the dispatch view of a dual
// interface with locale and retval parameters, a dispinterface declared by
// an interface, and references into a library that cannot be loaded.
#include <gtest/gtest.h>

#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

using namespace testing;

enum FormsType : unsigned { kPrinterHost, kPlainHost, kDeclaredByDual, kPrinterClass };
constexpr unsigned kInherited = 7;  // IUnknown and IDispatch

// The function of a view with the given name and invoke kind.
FuncDesc FuncNamed(TypeInfo& info, const char16_t* name, InvokeKind kind = INVOKE_FUNC) {
  const TypeAttr attr = AttrOf(info);
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    FuncDesc f;
    if (Failed(info.GetFuncDesc(i, &f)) || f.invkind != kind) continue;
    if (NamesOf(info, f.memid).front() == name) return f;
  }
  ADD_FAILURE() << "no function " << Utf16ToUtf8(name);
  return {};
}

TEST(ReaderDispatch, LocaleAndRetvalParametersOfADualsDispatchView) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("dispatch_forms.tlb");
  ASSERT_TRUE(lib);
  auto dispatch = TypeAt(*lib, kPrinterHost);
  EXPECT_EQ(AttrOf(*dispatch).cFuncs, kInherited + 9);

  // [lcid] leaves the dispatch view in every position and property form.
  FuncDesc f = FuncNamed(*dispatch, u"ActivePrinter", INVOKE_PROPERTYGET);
  EXPECT_EQ(f.cParams, 0);
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_BSTR);
  f = FuncNamed(*dispatch, u"ActivePrinter", INVOKE_PROPERTYPUT);
  ASSERT_EQ(f.cParams, 1) << "the locale precedes the assigned value";
  EXPECT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_BSTR);
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_VOID);
  f = FuncNamed(*dispatch, u"Lookup");
  ASSERT_EQ(f.cParams, 1);
  EXPECT_EQ(NamesOf(*dispatch, f.memid), (TextList{u"Lookup", u"key"})) << "the locale's name goes too";
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_VARIANT);
  EXPECT_EQ(FuncNamed(*dispatch, u"Print").cParams, 1);
  EXPECT_EQ(FuncNamed(*dispatch, u"test_void_lcid").cParams, 1);

  // A final retval parameter is the result, whatever the function returns.
  f = FuncNamed(*dispatch, u"test_void_retval");
  EXPECT_EQ(f.cParams, 0);
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_R8);
  f = FuncNamed(*dispatch, u"test_long_retval");
  EXPECT_EQ(f.cParams, 1);
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_R8);
  EXPECT_EQ(FuncNamed(*dispatch, u"test_double").elemdescFunc.tdesc.vt, VT_R8);
  f = FuncNamed(*dispatch, u"test_out");
  EXPECT_EQ(f.cParams, 2) << "a plain [out] parameter stays";
  EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_VOID);

  // The interface view and a plain interface keep every parameter.
  HREFTYPE href;
  std::shared_ptr<TypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_);
  ASSERT_EQ(dispatch->GetRefTypeInfo(href, &vtable), S_OK_);
  f = FuncNamed(*vtable, u"ActivePrinter", INVOKE_PROPERTYPUT);
  EXPECT_EQ(f.cParams, 2);
  EXPECT_EQ(f.lprgelemdescParam[0].paramdesc.wParamFlags & ParamFlag::Lcid, ParamFlag::Lcid);
  EXPECT_EQ(FuncNamed(*vtable, u"test_void_retval").elemdescFunc.tdesc.vt, VT_VOID);
  auto plain = TypeAt(*lib, kPlainHost);
  EXPECT_EQ(FuncNamed(*plain, u"ActivePrinter", INVOKE_PROPERTYGET).cParams, 2);
  EXPECT_EQ(FuncNamed(*plain, u"test_void_retval").cParams, 1);
}

TEST(ReaderDispatch, DispinterfaceDeclaredByAnInterface) {
  REQUIRE_TLB_FIXTURES();
  // By a dual interface: the same functions as the dual's dispatch view.
  auto forms = LoadFixture("dispatch_forms.tlb");
  ASSERT_TRUE(forms);
  auto declared = TypeAt(*forms, kDeclaredByDual);
  auto dual = TypeAt(*forms, kPrinterHost);
  const TypeAttr attr = AttrOf(*declared);
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
  ASSERT_EQ(attr.cFuncs, AttrOf(*dual).cFuncs);
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    const FuncDesc a = FuncOf(*declared, i), b = FuncOf(*dual, i);
    EXPECT_EQ(a.memid, b.memid) << i;
    EXPECT_EQ(a.funckind, FUNC_DISPATCH);
    EXPECT_EQ(a.cParams, b.cParams) << i;
    EXPECT_EQ(NamesOf(*declared, a.memid), NamesOf(*dual, b.memid));
  }
  HREFTYPE href;
  EXPECT_NE(declared->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href), S_OK_) << "no interface view";

  // By an interface on IUnknown: its chain, IUnknown's functions first.
  auto lib = LoadFixture("dispatch_declared.tlb");
  ASSERT_TRUE(lib);
  auto worker = TypeAt(*lib, 1);
  ASSERT_EQ(AttrOf(*worker).cFuncs, 6);
  const char16_t* names[] = {u"QueryInterface", u"AddRef", u"Release", u"Start", u"Busy", u"Ask"};
  for (unsigned i = 0; i < 6; ++i) EXPECT_EQ(NamesOf(*worker, FuncOf(*worker, i).memid).front(), names[i]);
  const FuncDesc ask = FuncOf(*worker, 5);
  EXPECT_EQ(ask.cParams, 0) << "locale and retval leave the dispatch view";
  EXPECT_EQ(ask.elemdescFunc.tdesc.vt, VT_BSTR);
  // The interface itself is untouched.
  auto vtable = TypeAt(*lib, 0);
  EXPECT_EQ(AttrOf(*vtable).cFuncs, 3);
  EXPECT_EQ(FuncOf(*vtable, 2).cParams, 2);
}

TEST(ReaderDispatch, ReferencesIntoALibraryThatCannotBeLoaded) {
  REQUIRE_TLB_FIXTURES();
  // elsewhere.tlb lies in another folder and is not registered: the
  // functions are described (GetFuncDesc does not load other libraries);
  // only the references into it fail.
  auto lib = LoadFixture("import_missing.tlb");
  ASSERT_TRUE(lib);
  for (unsigned index : {0u, 1u}) {
    auto info = TypeAt(*lib, index);
    const FuncDesc f = FuncNamed(*info, u"SetMode");
    ASSERT_EQ(f.cParams, 1);
    ASSERT_EQ(f.lprgelemdescParam[0].tdesc.vt, VT_USERDEFINED);
    std::shared_ptr<TypeInfo> mode;
    EXPECT_EQ(info->GetRefTypeInfo(f.lprgelemdescParam[0].tdesc.hreftype, &mode), Code::TypeLibNotRegistered);
    EXPECT_EQ(FuncNamed(*info, u"Plain").cParams, 1);
  }
}

}  // namespace
}  // namespace brannock::typelib
