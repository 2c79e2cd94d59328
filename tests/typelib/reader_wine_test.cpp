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
