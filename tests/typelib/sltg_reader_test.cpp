// The reader of the older SLTG format: a library built by hand, the same
// library damaged in each of its structures, and the real SLTG files beside
// the project.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "typelib/msft_reader.h"
#include "typelib/reader_fixtures.h"
#include "typelib/sltg_builder.h"
#include "support/typelib_walk.h"

namespace brannock::typelib {
namespace {

using namespace testing;

Expected<void> Open(const std::vector<uint8_t>& bytes, std::shared_ptr<TypeLib>* lib) {
  return OpenSltgTypeLib(bytes, nullptr, lib);
}

template <typename T>
void Put(std::vector<uint8_t>* bytes, size_t at, T value) {
  std::memcpy(bytes->data() + at, &value, sizeof value);
}

TEST(SltgReader, LibraryAndTypeDescriptions) {
  const SltgBytes built = BuildSltgLibrary();
  std::shared_ptr<TypeLib> lib;
  ASSERT_TRUE(Open(built.bytes, &lib));
  LibAttr attr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK_);
  EXPECT_EQ(attr.syskind, 1u);
  EXPECT_EQ(attr.wMajorVerNum, 2);
  EXPECT_EQ(attr.wMinorVerNum, 3);
  EXPECT_EQ(attr.guid.Data1, 0x030201A1u);
  Documentation doc;
  ASSERT_EQ(lib->GetDocumentation(-1, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"Lib");
  EXPECT_EQ(doc.docString, u"A library built by hand");
  EXPECT_EQ(doc.helpContext, 5u);
  EXPECT_TRUE(doc.helpFile.empty());

  ASSERT_EQ(lib->GetTypeInfoCount(), 1u);
  ASSERT_EQ(lib->GetDocumentation(0, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"Point");
  EXPECT_EQ(doc.helpContext, 7u);
  TypeKind kind = TKIND_ENUM;
  ASSERT_EQ(lib->GetTypeInfoType(0, &kind), S_OK_);
  EXPECT_EQ(kind, TKIND_RECORD);
  std::shared_ptr<TypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfo(0, &info), S_OK_);
  EXPECT_EQ(NameOf(*info), u"Point");
  TypeAttr typeAttr;
  ASSERT_EQ(info->GetTypeAttr(&typeAttr), S_OK_);
  EXPECT_EQ(typeAttr.typekind, TKIND_RECORD);
  EXPECT_EQ(typeAttr.cVars, 2);
  EXPECT_EQ(typeAttr.cbSizeInstance, 8u);
  EXPECT_EQ(typeAttr.cbAlignment, 4);
  EXPECT_EQ(typeAttr.wTypeFlags, TypeFlag::Hidden);
  VarDesc var;
  ASSERT_EQ(info->GetVarDesc(1, &var), S_OK_);
  EXPECT_EQ(var.memid, 0x40000001);
  EXPECT_EQ(var.varkind, VAR_PERINSTANCE);
  EXPECT_EQ(var.oInst, 4u);
  EXPECT_EQ(var.elemdescVar.tdesc.vt, VT_UI2);
  EXPECT_EQ(NamesOf(*info, 0x40000001), TextList{u"y"});
  EXPECT_EQ(lib->GetTypeInfo(1, &info), Code::TypeElementNotFound);

  // A record this reader does not know: the type is named but says it
  // cannot be described.
  std::vector<uint8_t> unknown = built.bytes;
  unknown[built.firstVarMagic] = 0x0B;
  ASSERT_TRUE(Open(unknown, &lib));
  ASSERT_EQ(lib->GetTypeInfo(0, &info), S_OK_);
  EXPECT_EQ(NameOf(*info), u"Point");
  EXPECT_EQ(info->GetTypeAttr(&typeAttr), Code::TypeUnsupFormat);
  EXPECT_EQ(info->GetVarDesc(0, &var), Code::TypeUnsupFormat);

  // Served by the file loader's entry point as well.
  ASSERT_EQ(OpenTypeLibBytes(built.bytes, 1, nullptr, &lib), S_OK_);
  EXPECT_EQ(lib->GetTypeInfoCount(), 1u);
}

TEST(SltgReader, DamagedStructuresSayWhere) {
  const SltgBytes built = BuildSltgLibrary();
  std::shared_ptr<TypeLib> lib;
  const auto failure = [&](const std::vector<uint8_t>& bytes) {
    lib.reset();
    Expected<void> opened = Open(bytes, &lib);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(lib);
    return opened ? std::string("loaded") : opened.Failure().Where();
  };
  const auto changed = [&](size_t at, auto value) {
    std::vector<uint8_t> bytes = built.bytes;
    Put(&bytes, at, value);
    return failure(bytes);
  };
  EXPECT_EQ(changed(built.blockCount, uint16_t{0xFFFF}).substr(0, 15), "block directory") << "a count too large";
  EXPECT_EQ(changed(built.typeBlockLength, uint32_t{0xFFFFFF00}).substr(0, 5), "block") << "a block past the end";
  EXPECT_EQ(changed(built.typeCount, uint16_t{0xFFFF}).substr(0, 10), "type entry");
  EXPECT_EQ(changed(built.sectionsOffset, uint32_t{0x7FFFFFFF}).substr(0, 10), "name table");
  EXPECT_EQ(changed(built.typeNameOffset, uint16_t{0x7000}).substr(0, 9), "type name") << "a name outside the table";
  EXPECT_EQ(changed(built.typeMembersOffset, uint32_t{0xFFFFFFF0}).substr(0, 12), "type members");
  EXPECT_EQ(changed(built.firstVarMagic + 2, uint16_t{0x7000}).substr(0, 12), "type members") << "a record outside";
  EXPECT_EQ(changed(built.firstVarMagic + 4, uint16_t{0x7000}).substr(0, 11), "member name");

  // Every shorter length fails; the bytes past the end are never read
  // (AddressSanitizer watches the copy).
  for (size_t length = 0; length < built.bytes.size(); ++length) {
    const std::vector<uint8_t> cut(built.bytes.begin(), built.bytes.begin() + static_cast<ptrdiff_t>(length));
    lib.reset();
    Expected<void> opened = Open(cut, &lib);
    ASSERT_FALSE(opened) << length;
    EXPECT_EQ(opened.Failure().code, length < 4 ? Code::TypeCantLoadLibrary : Code::TypeInvDataRead) << length;
  }
  // A chain that runs in a circle ends after as many blocks as there are.
  std::vector<uint8_t> circle = built.bytes;
  Put(&circle, 0x1C + 8 * 2 + 6, uint16_t{1});  // the library block leads back to the type
  lib.reset();
  if (Open(circle, &lib)) WalkTypeLib(*lib);
}

struct RealSltg {
  const char* path;
  const char16_t* name;
  const char16_t* docString;
  unsigned typeCount;
};

TEST(SltgReader, RealLibraries) {
  REQUIRE_REAL_TYPELIBS();
  const RealSltg files[] = {
      {"standalone/vb6wurzel_SHELLLNK.TLB", u"IShellLinkA", u"VB 5 - IShellLinkA Interface(ANSI)", 7},
      {"extracted/win8-wow64_stdole32.res1.sltg.tlb", u"stdole", u"OLE Automation", 6},
      {"pe/win8-wow64_stdole32.tlb", u"stdole", u"OLE Automation", 6},
      {"extracted/win8-wow64_olepro32.res1.sltg.tlb", u"StdType", u"Standard OLE Types", 32},
      {"pe/win8-wow64_olepro32.dll", u"StdType", u"Standard OLE Types", 32},
      {"extracted/win8-wow64_VBAEN32.res1.sltg.tlb", u"VBA", u"Visual Basic For Applications", 10},
      {"pe/win8-wow64_VBAEN32.OLB", u"VBA", u"Visual Basic For Applications", 10},
  };
  FileTypeLibLoader loader(nullptr, PathMapper());
  for (const RealSltg& f : files) {
    std::shared_ptr<TypeLib> lib;
    ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / f.path), &lib), S_OK_) << f.path;
    Documentation doc;
    ASSERT_EQ(lib->GetDocumentation(-1, &doc), S_OK_);
    EXPECT_EQ(doc.name, f.name) << f.path;
    EXPECT_EQ(doc.docString, f.docString) << f.path;
    EXPECT_EQ(lib->GetTypeInfoCount(), f.typeCount) << f.path;
    WalkTypeLib(*lib);
  }

  // What oleaut32 reports for them (LoadTypeLibEx under Wine).
  std::shared_ptr<TypeLib> lib;
  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_VBAEN32.OLB"), &lib), S_OK_);
  Documentation doc;
  ASSERT_EQ(lib->GetDocumentation(-1, &doc), S_OK_);
  EXPECT_EQ(doc.helpFile, u"VBA.HLP");
  EXPECT_EQ(doc.helpContext, 1009553u);
  ASSERT_EQ(lib->GetDocumentation(0, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"Constants");
  EXPECT_EQ(doc.helpContext, 1011389u);
  LibAttr attr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK_);
  EXPECT_EQ(attr.guid, TextToGuid(u"{000204F3-0000-0000-C000-000000000046}"));
  EXPECT_EQ(attr.lcid, 9u) << "LANG_ENGLISH without a sublanguage, as the file holds it";

  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_stdole32.tlb"), &lib), S_OK_);
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK_);
  EXPECT_EQ(attr.wMajorVerNum, 1);
  EXPECT_EQ(attr.wMinorVerNum, 0);
  EXPECT_EQ(attr.wLibFlags, 1);
  EXPECT_EQ(attr.syskind, 1u);
  EXPECT_EQ(attr.lcid, 0u) << "the file's 0x409: no locale";
  // Members as oleaut32 describes them.
  std::shared_ptr<TypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfo(0, &info), S_OK_);  // GUID
  VarDesc var;
  ASSERT_EQ(info->GetVarDesc(3, &var), S_OK_);
  ASSERT_EQ(var.elemdescVar.tdesc.vt, VT_CARRAY);
  ASSERT_TRUE(var.elemdescVar.tdesc.lpadesc);
  EXPECT_EQ(var.elemdescVar.tdesc.lpadesc->rgbounds.at(0).cElements, 8u) << "Data4: 8 bytes";
  EXPECT_EQ(var.elemdescVar.tdesc.lpadesc->tdescElem.vt, VT_UI1);
  EXPECT_EQ(var.oInst, 8u);
  ASSERT_EQ(lib->GetTypeInfo(4, &info), S_OK_);  // IDispatch
  const FuncDesc invoke = FuncOf(*info, 3);
  EXPECT_EQ(invoke.memid, 0x60010003);
  EXPECT_EQ(invoke.funckind, FUNC_PUREVIRTUAL);
  EXPECT_EQ(invoke.elemdescFunc.tdesc.vt, VT_HRESULT);
  ASSERT_EQ(invoke.cParams, 8);
  EXPECT_EQ(invoke.lprgelemdescParam[4].tdesc.vt, VT_PTR);
  EXPECT_EQ(RefName(*info, invoke.lprgelemdescParam[4].tdesc.lptdesc->hreftype), u"DISPPARAMS");
  EXPECT_EQ(invoke.lprgelemdescParam[5].paramdesc.wParamFlags, ParamFlag::Out);
  EXPECT_EQ(NamesOf(*info, invoke.memid).at(8), u"puArgErr");
  HREFTYPE base = 0;
  ASSERT_EQ(info->GetRefTypeOfImplType(0, &base), S_OK_);
  EXPECT_EQ(RefName(*info, base), u"IUnknown");

  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "standalone" / "vb6wurzel_SHELLLNK.TLB"), &lib), S_OK_);
  ASSERT_EQ(lib->GetTypeInfo(2, &info), S_OK_);  // SLR_FLAGS
  ASSERT_EQ(info->GetVarDesc(2, &var), S_OK_);
  EXPECT_EQ(var.varkind, VAR_CONST);
  ASSERT_TRUE(var.lpvarValue);
  EXPECT_EQ(var.lpvarValue->intVal, 4) << "SLR_UPDATE";
  ASSERT_EQ(lib->GetTypeInfo(6, &info), S_OK_);  // the coclass ShellLinkA
  ASSERT_EQ(info->GetRefTypeOfImplType(0, &base), S_OK_);
  EXPECT_EQ(RefName(*info, base), u"IShellLinkA");
  ASSERT_EQ(lib->GetTypeInfo(5, &info), S_OK_);  // IShellLinkA: its base lies in stdole32
  ASSERT_EQ(info->GetRefTypeOfImplType(0, &base), S_OK_);
  EXPECT_EQ(base & 3, 1u) << "an imported type";

  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_olepro32.dll"), &lib), S_OK_);
  ASSERT_EQ(lib->GetTypeInfo(26, &info), S_OK_);  // IFontDisp, an alias of the dispinterface Font
  const TypeAttr alias = AttrOf(*info);
  EXPECT_EQ(alias.typekind, TKIND_ALIAS);
  ASSERT_EQ(alias.tdescAlias.vt, VT_USERDEFINED);
  EXPECT_EQ(RefName(*info, alias.tdescAlias.hreftype), u"Font");
  // The properties of the dispinterface Picture: all but hPal are read-only.
  unsigned pictureIndex = 0;
  while (pictureIndex < lib->GetTypeInfoCount() &&
         (Failed(lib->GetDocumentation(static_cast<int32_t>(pictureIndex), &doc)) || doc.name != u"Picture"))
    ++pictureIndex;
  ASSERT_EQ(lib->GetTypeInfo(pictureIndex, &info), S_OK_);
  const TypeAttr pictureAttr = AttrOf(*info);
  ASSERT_EQ(pictureAttr.cVars, 5);
  for (unsigned i = 0; i < pictureAttr.cVars; ++i) {
    ASSERT_EQ(info->GetVarDesc(i, &var), S_OK_);
    EXPECT_EQ(var.varkind, VAR_DISPATCH);
    EXPECT_EQ(var.wVarFlags, i == 1 ? 0 : 1) << "property " << i << " (1: VARFLAG_FREADONLY)";
  }

  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_stdole32.tlb"), &lib), S_OK_);
  const std::pair<const char16_t*, TypeKind> types[] = {{u"GUID", TKIND_RECORD},     {u"DISPPARAMS", TKIND_RECORD},
                                                        {u"EXCEPINFO", TKIND_RECORD}, {u"IUnknown", TKIND_INTERFACE},
                                                        {u"IDispatch", TKIND_INTERFACE},
                                                        {u"IEnumVARIANT", TKIND_INTERFACE}};
  for (unsigned i = 0; i < 6; ++i) {
    TypeKind kind = TKIND_ENUM;
    ASSERT_EQ(lib->GetDocumentation(static_cast<int32_t>(i), &doc), S_OK_);
    EXPECT_EQ(doc.name, types[i].first);
    ASSERT_EQ(lib->GetTypeInfoType(i, &kind), S_OK_);
    EXPECT_EQ(kind, types[i].second) << i;
  }
}

// The functions of VBA's modules, which only IDL shows: a ParamArray
// (vararg, its array's element after the offset of the array descriptor),
// parameter names that begin with "_", a property put whose value has no name.
TEST(SltgReader, ModuleFunctionsOfVba) {
  REQUIRE_REAL_TYPELIBS();
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> lib;
  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_VBAEN32.OLB"), &lib), S_OK_);
  const auto typeNamed = [&](const Text& name) {
    std::shared_ptr<TypeInfo> info;
    Documentation doc;
    for (unsigned i = 0; i < lib->GetTypeInfoCount(); ++i)
      if (Succeeded(lib->GetDocumentation(static_cast<int32_t>(i), &doc)) && doc.name == name &&
          Succeeded(lib->GetTypeInfo(i, &info)))
        return info;
    return info;
  };
  const auto functionNamed = [](TypeInfo& info, const Text& name, InvokeKind invkind) {
    const TypeAttr attr = AttrOf(info);
    for (unsigned i = 0; i < attr.cFuncs; ++i) {
      const FuncDesc f = FuncOf(info, i);
      if (f.invkind == invkind && NamesOf(info, f.memid).at(0) == name) return f;
    }
    return FuncDesc{};
  };
  const std::shared_ptr<TypeInfo> hidden = typeNamed(u"_HiddenModule");
  ASSERT_TRUE(hidden);
  const FuncDesc array = functionNamed(*hidden, u"Array", INVOKE_FUNC);
  EXPECT_EQ(array.cParamsOpt, -1) << "vararg";
  ASSERT_EQ(array.cParams, 1);
  const TypeDesc& list = array.lprgelemdescParam[0].tdesc;
  ASSERT_EQ(list.vt, VT_PTR);
  ASSERT_EQ(list.lptdesc->vt, VT_SAFEARRAY);
  EXPECT_EQ(list.lptdesc->lptdesc->vt, VT_VARIANT);
  EXPECT_EQ(NamesOf(*hidden, array.memid), (TextList{u"Array", u"_Array_P1"}));
  const FuncDesc input = functionNamed(*hidden, u"_B_str_InputB", INVOKE_FUNC);
  ASSERT_EQ(input.cParams, 2);
  EXPECT_EQ(input.lprgelemdescParam[0].tdesc.vt, VT_I4);
  EXPECT_EQ(input.lprgelemdescParam[1].tdesc.vt, VT_I2);
  EXPECT_EQ(NamesOf(*hidden, input.memid), (TextList{u"_B_str_InputB", u"_InputB_P1", u"_InputB_P2"}));
  const std::shared_ptr<TypeInfo> dateTime = typeNamed(u"DateTime");
  ASSERT_TRUE(dateTime);
  const FuncDesc date = functionNamed(*dateTime, u"_B_str_Date", INVOKE_PROPERTYPUT);
  ASSERT_EQ(date.cParams, 1);
  EXPECT_EQ(NamesOf(*dateTime, date.memid), TextList{u"_B_str_Date"}) << "the value has no name";
}

}  // namespace
}  // namespace brannock::typelib
