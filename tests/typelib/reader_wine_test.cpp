// The reader on a fresh Wine prefix: libraries registered in its registry,
// imports resolved through it, and the TYPELIB resources of its system32
// files. One test, because creating the prefix takes a while. POSIX only:
// on Windows the oleaut32 adapter serves instead.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/files.h"
#include "registry/registry_source.h"
#include "typelib/loader.h"
#include "typelib/reader_fixtures.h"
#include "support/typelib_walk.h"

#ifndef _WIN32

namespace brannock::typelib {
namespace {

namespace fs = std::filesystem;

bool OnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  for (const Text& dir : Split(Utf8ToUtf16(path), u':'))
    if (!dir.empty() && fs::exists(platform::HostPath(dir) / program)) return true;
  return false;
}

// The dispatch view of each dual interface that derives from IDispatch of
// stdole2.tlb begins with its seven functions, their parameters, and the
// references in them resolved through the view (the first view reads them
// from stdole2, the others are given what it read).
void ExpectEveryDualStartsWithIDispatch(TypeLib& lib) {
  const char16_t* const names[] = {u"QueryInterface", u"AddRef", u"Release", u"GetTypeInfoCount",
                                   u"GetTypeInfo", u"GetIDsOfNames", u"Invoke"};
  const int16_t params[] = {2, 0, 0, 1, 3, 5, 8};
  size_t duals = 0;
  for (unsigned t = 0; t < lib.GetTypeInfoCount(); ++t) {
    auto info = TypeAt(lib, t);
    const TypeAttr attr = AttrOf(*info);
    if (attr.typekind != TKIND_DISPATCH || (attr.wTypeFlags & TypeFlag::Dual) == 0) continue;
    HREFTYPE baseHref;
    std::shared_ptr<TypeInfo> vtable;
    ASSERT_EQ(info->GetRefTypeOfImplType(static_cast<unsigned>(-1), &baseHref), S_OK_);
    ASSERT_EQ(info->GetRefTypeInfo(baseHref, &vtable), S_OK_);
    if (AttrOf(*vtable).cImplTypes == 0) continue;
    ASSERT_EQ(vtable->GetRefTypeOfImplType(0, &baseHref), S_OK_);
    std::shared_ptr<TypeInfo> base;
    ASSERT_EQ(vtable->GetRefTypeInfo(baseHref, &base), S_OK_);
    Documentation doc;
    ASSERT_EQ(base->GetDocumentation(MEMBERID_NIL, &doc), S_OK_);
    if (doc.name != u"IDispatch") continue;  // a base of the library's own
    ++duals;
    ASSERT_GE(attr.cFuncs, 7u);
    for (unsigned i = 0; i < 7; ++i) {
      FuncDesc f;
      ASSERT_EQ(info->GetFuncDesc(i, &f), S_OK_);
      EXPECT_EQ(NamesOf(*info, f.memid).front(), names[i]) << t << " " << i;
      EXPECT_EQ(f.cParams, params[i]) << t << " " << i;
    }
    // QueryInterface's first parameter refers to stdole2's GUID.
    FuncDesc query;
    ASSERT_EQ(info->GetFuncDesc(0, &query), S_OK_);
    const TypeDesc& riid = query.lprgelemdescParam.at(0).tdesc;
    ASSERT_EQ(riid.vt, VT_PTR);
    ASSERT_TRUE(riid.lptdesc);
    ASSERT_EQ(riid.lptdesc->vt, VT_USERDEFINED);
    std::shared_ptr<TypeInfo> guid;
    ASSERT_EQ(info->GetRefTypeInfo(riid.lptdesc->hreftype, &guid), S_OK_);
    ASSERT_EQ(guid->GetDocumentation(MEMBERID_NIL, &doc), S_OK_);
    EXPECT_EQ(doc.name, u"GUID") << t;
  }
  EXPECT_GT(duals, 100u) << "mshtml's dual interfaces derive from IDispatch";
}

TEST(ReaderWinePrefix, RegisteredAndEmbeddedLibrariesOfAFreshPrefix) {
  if (!OnPath("wineboot") || !OnPath("wineserver")) GTEST_SKIP() << "wine is not installed";
  char pattern[] = "/tmp/brannock-reader-wine-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path prefix = pattern;
  const std::string command = "WINEPREFIX='" + prefix.string() +
                              "' WINEDEBUG=-all sh -c 'wineboot -i >/dev/null 2>&1; wineserver -w'";
  ASSERT_EQ(std::system(command.c_str()), 0);

  {
    registry::RegistrySource source = registry::OpenRegistryPath(prefix);
    ASSERT_TRUE(source.backend);
    auto loader = CreateTypeLibLoader(source.backend.get(), prefix);
    ASSERT_TRUE(loader);

    std::shared_ptr<TypeLib> lib;
    const Guid stdole = TextToGuid(u"{00020430-0000-0000-C000-000000000046}");
    ASSERT_EQ(loader->LoadRegTypeLib(stdole, 2, 0, 0x800, &lib), S_OK_);
    Documentation doc;
    ASSERT_EQ(lib->GetDocumentation(-1, &doc), S_OK_);
    EXPECT_EQ(doc.name, u"stdole");
    Text file;
    ASSERT_EQ(lib->GetLibraryFile(&file), S_OK_);
    EXPECT_TRUE(UpperAscii(file).ends_with(u"\\SYSTEM32\\STDOLE2.TLB")) << Utf16ToUtf8(file) << ": the registered file";
    EXPECT_EQ(loader->LoadRegTypeLib(stdole, 3, 0, 0x800, &lib), Code::TypeLibNotRegistered);
    ASSERT_EQ(loader->LoadTypeLib(u"STDOLE2.TLB", &lib), S_OK_) << "a bare name is found in system32";
    EXPECT_TRUE(loader->FileExists(u"stdole2.tlb"));

    // Its dual interfaces derive from IDispatch of stdole2.tlb, found
    // through the prefix's registry.
    ASSERT_EQ(loader->LoadTypeLib(u"C:\\WINDOWS\\system32\\MSHTML.TLB", &lib), S_OK_);
    const WalkCounts counts = WalkTypeLib(*lib);
    EXPECT_GT(counts.types, 300u);
    EXPECT_GT(counts.funcs, 10000u);
    EXPECT_EQ(counts.failures, 0u);
    ExpectEveryDualStartsWithIDispatch(*lib);

    size_t embedded = 0;
    for (const auto& entry : fs::directory_iterator(prefix / "drive_c" / "windows" / "system32")) {
      const Text name = platform::HostPathText(entry.path().filename());
      if (name.size() < 4) continue;
      const Text ext = LowerAscii(name.substr(name.size() - 4));
      if (ext != u".dll" && ext != u".ocx" && ext != u".exe" && ext != u".tlb") continue;
      if (Failed(loader->LoadTypeLib(u"C:\\windows\\system32\\" + name, &lib))) continue;
      WalkTypeLib(*lib);
      ++embedded;
    }
    EXPECT_GE(embedded, 40u) << "Wine's system32 holds about fifty libraries";
  }
  std::system(("WINEPREFIX='" + prefix.string() + "' wineserver -k >/dev/null 2>&1").c_str());
  fs::remove_all(prefix);
}

}  // namespace
}  // namespace brannock::typelib

#endif  // !_WIN32
