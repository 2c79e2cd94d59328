// Names and documentation as views: for every member of every type of the
// fixtures and the real libraries, in every view of a dual interface, the
// views say what the copying calls say, also for ids no member has.
#include <gtest/gtest.h>

#include <filesystem>

#include "typelib/reader_fixtures.h"

namespace brannock::typelib {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The ids of a type's members, with one that none has.
std::vector<MEMBERID> MemberIds(TypeInfo& info, const TypeAttr& attr) {
  std::vector<MEMBERID> ids{0x7EADBEEF};
  for (unsigned i = 0; i < attr.cFuncs; ++i) {
    FuncDesc f;
    if (Succeeded(info.GetFuncDesc(i, &f))) ids.push_back(f.memid);
  }
  for (unsigned i = 0; i < attr.cVars; ++i) {
    VarDesc v;
    if (Succeeded(info.GetVarDesc(i, &v))) ids.push_back(v.memid);
  }
  return ids;
}

// Returns how many members were compared.
size_t CompareViews(TypeInfo& info, const std::string& where) {
  TypeAttr attr;
  if (Failed(info.GetTypeAttr(&attr))) return 0;
  size_t compared = 0;
  std::vector<TextView> views;
  TextList storage, names;
  Documentation doc, docStorage;
  DocumentationView docView;
  for (MEMBERID id : MemberIds(info, attr)) {
    for (unsigned most : {0u, 1u, 2u, 0xFFFFu}) {
      const HRESULT copied = info.GetNames(id, &names, most);
      const HRESULT viewed = info.GetNameViews(id, &views, most, &storage);
      EXPECT_EQ(viewed, copied) << where << " id " << id;
      EXPECT_EQ(views.size(), names.size()) << where << " id " << id << " at most " << most;
      for (size_t k = 0; k < names.size() && k < views.size(); ++k)
        EXPECT_EQ(views[k], TextView(names[k])) << where << " id " << id;
    }
    const HRESULT copied = info.GetDocumentation(id, &doc);
    const HRESULT viewed = info.GetDocumentationViews(id, &docView, &docStorage);
    EXPECT_EQ(viewed, copied) << where << " id " << id;
    EXPECT_EQ(docView.name, TextView(doc.name)) << where << " id " << id;
    EXPECT_EQ(docView.docString, TextView(doc.docString)) << where << " id " << id;
    EXPECT_EQ(docView.helpContext, doc.helpContext) << where << " id " << id;
    ++compared;
  }
  // The type's own documentation.
  EXPECT_EQ(info.GetDocumentationViews(MEMBERID_NIL, &docView, &docStorage), info.GetDocumentation(MEMBERID_NIL, &doc));
  EXPECT_EQ(docView.name, TextView(doc.name)) << where;
  return compared;
}

size_t CompareLibrary(const fs::path& file) {
  FileTypeLibLoader loader(nullptr, PathMapper());
  std::shared_ptr<TypeLib> lib;
  if (Failed(loader.LoadTypeLib(platform::HostPathText(file), &lib))) return 0;
  size_t compared = 0;
  for (unsigned t = 0; t < lib->GetTypeInfoCount(); ++t) {
    std::shared_ptr<TypeInfo> info;
    if (Failed(lib->GetTypeInfo(t, &info))) continue;
    const std::string where = file.filename().string() + " type " + std::to_string(t);
    compared += CompareViews(*info, where);
    // The interface view of a dual interface.
    HREFTYPE href;
    std::shared_ptr<TypeInfo> other;
    if (Succeeded(info->GetRefTypeOfImplType(static_cast<unsigned>(-1), &href)) &&
        Succeeded(info->GetRefTypeInfo(href, &other)))
      compared += CompareViews(*other, where + " (interface view)");
  }
  return compared;
}

TEST(ReaderViews, NamesAndDocumentationAsTheCopiesGiveThem) {
  REQUIRE_TLB_FIXTURES();
  size_t compared = 0;
  for (const auto& entry : fs::directory_iterator(FixtureDir()))
    if (entry.path().extension() == ".tlb") compared += CompareLibrary(entry.path());
  EXPECT_GT(compared, 100u);
  if (RealTypeLibDir().empty()) return;
  for (const char* folder : {"standalone", "extracted"})
    for (const auto& entry : fs::directory_iterator(RealTypeLibDir() / folder)) compared += CompareLibrary(entry.path());
  EXPECT_GT(compared, 2000u);
}

}  // namespace
}  // namespace brannock::typelib
