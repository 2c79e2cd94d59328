// Where types come from, as the reader tells it: the flags a coclass holds
// its types with, the library a referenced type lives in, and the entry
// points of module functions.
#include <gtest/gtest.h>

#include <optional>

#include "platform/file_reading.h"
#include "typelib/msft_reader.h"
#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TEST(ReaderOrigin, ImplementedTypeFlags) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  // [default] IShape, ICircle, IPlain, [default, source] DShapeEvents.
  auto shape = TypeAt(*lib, kShapeClass);
  const int32_t expected[] = {ImplTypeFlag::Default, 0, 0, ImplTypeFlag::Default | ImplTypeFlag::Source};
  for (unsigned i = 0; i < 4; ++i) {
    int32_t flags = -1;
    ASSERT_EQ(shape->GetImplTypeFlags(i, &flags), S_OK_);
    EXPECT_EQ(flags, expected[i]) << i;
  }
  int32_t flags = -1;
  EXPECT_EQ(shape->GetImplTypeFlags(4, &flags), Code::TypeElementNotFound);
  ASSERT_EQ(TypeAt(*lib, kHiddenClass)->GetImplTypeFlags(0, &flags), S_OK_);
  EXPECT_EQ(flags, ImplTypeFlag::Default);
  // An interface's base and a dual's interface view carry no flags.
  ASSERT_EQ(TypeAt(*lib, kPlain)->GetImplTypeFlags(0, &flags), S_OK_);
  EXPECT_EQ(flags, 0);
  ASSERT_EQ(TypeAt(*lib, kShape)->GetImplTypeFlags(static_cast<unsigned>(-1), &flags), S_OK_);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(TypeAt(*lib, kPlain)->GetImplTypeFlags(1, &flags), Code::TypeElementNotFound);
}

TEST(ReaderOrigin, ContainingLibraryOfOwnAndImportedTypes) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  Text file;
  ASSERT_EQ(lib->GetLibraryFile(&file), S_OK_);
  EXPECT_EQ(file, platform::HostPathText(Fixture("shapes.tlb")));

  auto plain = TypeAt(*lib, kPlain);
  std::shared_ptr<TypeLib> containing;
  unsigned index = 99;
  ASSERT_EQ(plain->GetContainingTypeLib(&containing, &index), S_OK_);
  EXPECT_EQ(index, kPlain);
  LibAttr own, found;
  ASSERT_EQ(lib->GetLibAttr(&own), S_OK_);
  ASSERT_EQ(containing->GetLibAttr(&found), S_OK_);
  EXPECT_EQ(found.guid, own.guid);
  EXPECT_EQ(own.lcid, 0u) << "the lcid(0) of shapes.idl: the header's second locale";
  auto minimal = LoadFixture("minimal.tlb");
  ASSERT_TRUE(minimal);
  ASSERT_EQ(minimal->GetLibAttr(&found), S_OK_);
  EXPECT_EQ(found.lcid, 0u) << "no lcid attribute; the first header locale (0x409) is the texts'";

  // IPlain's base comes from stdole2.tlb beside the library.
  HREFTYPE href;
  std::shared_ptr<TypeInfo> base;
  ASSERT_EQ(plain->GetRefTypeOfImplType(0, &href), S_OK_);
  ASSERT_EQ(plain->GetRefTypeInfo(href, &base), S_OK_);
  ASSERT_EQ(base->GetContainingTypeLib(&containing, &index), S_OK_);
  Documentation doc;
  ASSERT_EQ(containing->GetDocumentation(-1, &doc), S_OK_);
  EXPECT_EQ(doc.name, u"stdole");
  ASSERT_EQ(containing->GetDocumentation(static_cast<int32_t>(index), &doc), S_OK_);
  EXPECT_EQ(doc.name, u"IUnknown");
  ASSERT_EQ(containing->GetLibraryFile(&file), S_OK_);
  EXPECT_EQ(file, platform::HostPathText(Fixture("stdole2.tlb")));

  // A library read from bytes has no file.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::ReadWholeFile(Fixture("shapes.tlb"), kMaxTypeLibFileBytes, &bytes));
  std::shared_ptr<TypeLib> fromBytes;
  ASSERT_EQ(OpenTypeLibBytes(bytes, 1, nullptr, &fromBytes), S_OK_);
  EXPECT_EQ(fromBytes->GetLibraryFile(&file), Code::TypeLibNotRegistered);
}

// The first function of the first module of `lib` that has functions.
struct ModuleFunction {
  std::shared_ptr<TypeInfo> module;
  FuncDesc func;
};
std::optional<ModuleFunction> FirstModuleFunction(TypeLib& lib) {
  for (unsigned i = 0; i < lib.GetTypeInfoCount(); ++i) {
    auto info = TypeAt(lib, i);
    const TypeAttr attr = AttrOf(*info);
    if (attr.typekind == TKIND_MODULE && attr.cFuncs > 0) return ModuleFunction{info, FuncOf(*info, 0)};
  }
  return std::nullopt;
}

TEST(ReaderOrigin, ModuleEntryPoints) {
  REQUIRE_TLB_FIXTURES();
  auto lib = LoadFixture("shapes.tlb");
  ASSERT_TRUE(lib);
  auto module = TypeAt(*lib, kModule);
  FuncDesc area = FuncOf(*module, 0);
  Text dll, entry;
  uint16_t ordinal = 0;
  ASSERT_EQ(module->GetDllEntry(area.memid, INVOKE_FUNC, &dll, &entry, &ordinal), S_OK_);
  EXPECT_EQ(dll, u"shapes.dll");
  EXPECT_FALSE(entry.empty()) << "an entry point by name (widl writes its name as \"#\")";
  EXPECT_EQ(module->GetDllEntry(area.memid, INVOKE_PROPERTYGET, &dll, &entry, &ordinal), Code::TypeElementNotFound);
  EXPECT_EQ(module->GetDllEntry(area.memid + 1, INVOKE_FUNC, &dll, &entry, &ordinal), Code::TypeElementNotFound);
  EXPECT_EQ(TypeAt(*lib, kPlain)->GetDllEntry(area.memid, INVOKE_FUNC, &dll, &entry, &ordinal),
            Code::TypeBadModuleKind);

  // Entry points by name (stdole2's picture functions in oleaut32.dll) and
  // by number (the VBA functions of msvbvm60.dll).
  REQUIRE_REAL_TYPELIBS();
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> stdole, vba;
  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_stdole2.tlb"), &stdole),
            S_OK_);
  auto picture = FirstModuleFunction(*stdole);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->module->GetDllEntry(picture->func.memid, picture->func.invkind, &dll, &entry, &ordinal), S_OK_);
  EXPECT_EQ(dll, u"oleaut32.dll");
  EXPECT_EQ(entry, u"OleLoadPictureFileEx");
  ASSERT_EQ(loader.LoadTypeLib(platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_msvbvm60.dll"),
                               &vba),
            S_OK_);
  auto vbaFunction = FirstModuleFunction(*vba);
  ASSERT_TRUE(vbaFunction);
  ASSERT_EQ(vbaFunction->module->GetDllEntry(vbaFunction->func.memid, vbaFunction->func.invkind, &dll, &entry,
                                             &ordinal),
            S_OK_);
  EXPECT_EQ(dll, u"VBA6.DLL");
  EXPECT_EQ(entry, u"");
  EXPECT_EQ(ordinal, 516);
}

}  // namespace
}  // namespace brannock::typelib
