// The type libraries of one file: every TYPELIB resource of a PE file, and
// a library file as its one library.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "typelib/reader_fixtures.h"
#include "typelib/typelib_resources.h"

namespace brannock::typelib {
namespace {

using namespace testing;

TEST(TypeLibResources, ResourceNumbersNamesGuidsAndVersions) {
  REQUIRE_REAL_TYPELIBS();
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::vector<TypeLibResource> list;
  const Text fm20 = platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_FM20.DLL");
  ASSERT_EQ(ListTypeLibResources(loader, fm20, &list), S_OK_);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].number, 1);
  EXPECT_EQ(list[1].number, 2);
  for (const auto& r : list) {
    EXPECT_EQ(r.hr, S_OK_);
    EXPECT_FALSE(r.name.empty());
  }
  EXPECT_NE(list[0].guid, list[1].guid) << "two libraries, not one twice";

  // Numbers with gaps, each loadable as FILE\N.
  const Text vbvm = platform::HostPathText(RealTypeLibDir() / "pe" / "win8-wow64_msvbvm60.dll");
  ASSERT_EQ(ListTypeLibResources(loader, vbvm, &list), S_OK_);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].number, 3);
  std::shared_ptr<TypeLib> lib;
  ASSERT_EQ(loader.LoadTypeLib(ResourceFileName(vbvm, 3), &lib), S_OK_);
  LibAttr attr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK_);
  EXPECT_EQ(attr.guid, list[1].guid);
  EXPECT_EQ(attr.wMajorVerNum, list[1].majorVersion);

  ASSERT_EQ(ListTypeLibResources(loader, platform::HostPathText(RealTypeLibDir() / "pe" / "win10-x64_UIAutomationCore.dll"),
                                 &list), S_OK_);
  EXPECT_EQ(list.size(), 6u);
}

TEST(TypeLibResources, ALibraryFileAndFailures) {
  REQUIRE_TLB_FIXTURES();
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::vector<TypeLibResource> list;
  ASSERT_EQ(ListTypeLibResources(loader, platform::HostPathText(Fixture("shapes.tlb")), &list), S_OK_);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].number, 1);
  EXPECT_EQ(list[0].name, u"ShapeLib");
  EXPECT_EQ(list[0].guid, TextToGuid(u"{6A1B2C3D-0001-4A5B-8C9D-0123456789AB}"));
  EXPECT_EQ(list[0].majorVersion, 2);
  EXPECT_EQ(list[0].minorVersion, 5);

  EXPECT_EQ(ListTypeLibResources(loader, platform::HostPathText(Fixture("missing.tlb")), &list), Code::TypeCantLoadLibrary);
  EXPECT_TRUE(list.empty());
  // A file that is neither a library nor a PE file: one entry that failed.
  ASSERT_EQ(ListTypeLibResources(loader, platform::HostPathText(std::filesystem::path(BRANNOCK_TEST_DATA) / "idl" /
                                                      "minimal.idl"), &list), S_OK_);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].hr, Code::TypeCantLoadLibrary);

  EXPECT_EQ(ResourceFileName(u"C:\\x.dll", 1), u"C:\\x.dll");
  EXPECT_EQ(ResourceFileName(u"C:\\x.dll", 12), u"C:\\x.dll\\12");
}

}  // namespace
}  // namespace brannock::typelib
