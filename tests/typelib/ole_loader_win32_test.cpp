// oleaut32's loader of the Windows build: opening a library reads it and
// leaves the registry as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/guid.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/win32/wide_text.h"
#include "typelib/loader.h"
#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

bool TypeLibKeyExists(const Guid& guid) {
  const std::wstring key = L"TypeLib\\" + platform::ToWide(GuidToText(guid));
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// ::LoadTypeLib registers a library whose name is no full Windows path, and
// under Wine a host path is such a name: viewing a file would register it.
TEST(OleLoader, OpeningALibraryByItsFileLeavesItUnregistered) {
  REQUIRE_TLB_FIXTURES();
  for (const auto view : {registry::RegistryView::Bits64, registry::RegistryView::Bits32}) {
    const auto loader = CreateTypeLibLoader(nullptr, {}, {}, view);
    std::shared_ptr<TypeLib> lib;
    ASSERT_EQ(loader->LoadTypeLib(platform::HostPathText(testing::Fixture("dispatch_declared.tlb")), &lib), S_OK_);
    LibAttr attr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK_);
    ASSERT_NE(attr.guid, Guid{});
    EXPECT_FALSE(TypeLibKeyExists(attr.guid)) << Utf16ToUtf8(GuidToText(attr.guid));
  }
}

}  // namespace
}  // namespace brannock::typelib
