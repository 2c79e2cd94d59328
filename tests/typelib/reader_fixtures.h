// The widl-compiled fixtures of the reader tests (tests/data/idl/*.idl,
// built into BRANNOCK_TLB_DIR) and Wine's own PE files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/files.h"
#include "typelib/file_loader.h"

namespace brannock::typelib::testing {

#ifdef BRANNOCK_TLB_DIR
inline std::filesystem::path FixtureDir() { return BRANNOCK_TLB_DIR; }
#else
inline std::filesystem::path FixtureDir() { return {}; }
#endif

#ifdef BRANNOCK_WINE_PE_DIR
inline std::filesystem::path WinePeDir() { return BRANNOCK_WINE_PE_DIR; }
#else
inline std::filesystem::path WinePeDir() { return {}; }
#endif

#define REQUIRE_TLB_FIXTURES()                                                          \
  if (::brannock::typelib::testing::FixtureDir().empty()) GTEST_SKIP() << "widl not found"

inline std::filesystem::path Fixture(const char* name) { return FixtureDir() / name; }

// The real-world libraries beside the project (../shared/fixtures/real/
// typelib, never copied into it); empty when that folder is missing.
inline std::filesystem::path RealTypeLibDir() {
  std::error_code ec;
  const auto dir = std::filesystem::path(BRANNOCK_TEST_DATA) / ".." / ".." / ".." / "shared" / "fixtures" / "real" /
                   "typelib";
  return std::filesystem::is_directory(dir, ec) ? dir.lexically_normal() : std::filesystem::path();
}

#define REQUIRE_REAL_TYPELIBS()                                                               \
  if (::brannock::typelib::testing::RealTypeLibDir().empty()) GTEST_SKIP() << "../shared/fixtures/real is missing"

// Loads a fixture by its host path; imports resolve next to it.
inline std::shared_ptr<TypeLib> LoadFixture(const char* name) {
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> lib;
  const HRESULT hr = loader.LoadTypeLib(platform::HostPathText(Fixture(name)), &lib);
  EXPECT_EQ(hr, S_OK_) << name;
  return lib;
}

inline std::shared_ptr<TypeInfo> TypeAt(TypeLib& lib, unsigned index) {
  std::shared_ptr<TypeInfo> info;
  EXPECT_EQ(lib.GetTypeInfo(index, &info), S_OK_);
  return info;
}

inline TypeAttr AttrOf(TypeInfo& info) {
  TypeAttr attr;
  EXPECT_EQ(info.GetTypeAttr(&attr), S_OK_);
  return attr;
}

inline FuncDesc FuncOf(TypeInfo& info, unsigned index) {
  FuncDesc desc;
  EXPECT_EQ(info.GetFuncDesc(index, &desc), S_OK_);
  return desc;
}

inline TextList NamesOf(TypeInfo& info, MEMBERID memid) {
  TextList names;
  EXPECT_EQ(info.GetNames(memid, &names, 0xFFFF), S_OK_);
  return names;
}

inline Text NameOf(TypeInfo& info) {
  Documentation doc;
  EXPECT_EQ(info.GetDocumentation(MEMBERID_NIL, &doc), S_OK_);
  return doc.name;
}

// The name of the type a reference leads to.
inline Text RefName(TypeInfo& owner, HREFTYPE href) {
  std::shared_ptr<TypeInfo> ref;
  if (Failed(owner.GetRefTypeInfo(href, &ref))) return u"<failed>";
  return NameOf(*ref);
}

// The types of shapes.tlb (tests/data/idl/shapes.idl), by their index.
enum ShapeType : unsigned { kColors, kPoint, kValue, kHandle, kNameList, kModule, kPlain, kShape, kCircle, kEvents,
                            kShapeClass, kHiddenClass, kTypeCount };

}  // namespace brannock::typelib::testing
