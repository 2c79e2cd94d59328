#include "typelib/access.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "typelib/memory_typelib.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TEST(TypeLibLoader, DefaultFileTestUsesTheHostFileSystem) {
  MemoryLoader memory;
  TypeLibLoader& loader = memory;
  auto dir = std::filesystem::temp_directory_path() / ("brannock-render-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  auto file = dir / "lib.tlb";
  std::ofstream(file) << "x";
  EXPECT_TRUE(loader.TypeLibLoader::FileExists(Utf8ToUtf16(file.string())));
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(Utf8ToUtf16((dir / "missing.tlb").string())));
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(Utf8ToUtf16(dir.string())));
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(u""));
  EXPECT_TRUE(loader.TypeLibLoader::FileExists(Utf8ToUtf16(file.string()) + u"\\3")) << "resource 3 of the file";
  EXPECT_FALSE(loader.TypeLibLoader::FileExists(Utf8ToUtf16((dir / "missing.tlb").string()) + u"\\3"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace brannock::typelib
