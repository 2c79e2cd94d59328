// Find and References on the registry of a real Wine prefix (wineboot -i),
// its libraries read from the prefix's files by the reader.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/catalogue_analysis.h"
#include "registry/registry_source.h"
#include "registry/wine_prefix_support.h"
#include "typelib/loader.h"

namespace brannock::analysis {
namespace {

constexpr char16_t kWebBrowser[] = u"{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr char16_t kIWebBrowser2[] = u"{D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}";

bool Lists(const References& refs, TextView relation, TextView guid) {
  return std::any_of(refs.lines.begin(), refs.lines.end(),
                     [&](const Reference& r) { return r.relation == relation && r.guid == guid && !r.missing; });
}

TEST(WinePrefix, InterfaceAndItsCoclassFindEachOther) {
  const auto prefix = brannock::testing::SharedWinePrefix();
  if (!prefix) GTEST_SKIP() << "Wine is not installed";
  registry::RegistrySource source = registry::OpenRegistryPath(*prefix);
  Catalogue catalogue(*source.backend);
  catalogue.CaptureEnvironment();
  CatalogueAnalysis analysis(catalogue);
  const RegistrationIndex& index = analysis.Index();
  ASSERT_GT(index.typeLibs.size(), 20u);
  ASSERT_GT(index.interfaces.size(), 500u);

  const auto loader = typelib::CreateTypeLibLoader(source.backend.get(), *prefix);
  LibraryScan& scan = analysis.Libraries();
  scan.ReadAll(*loader);
  for (const ScannedLibrary& lib : scan.Libraries())
    EXPECT_FALSE(typelib::Failed(lib.result)) << "every library of a fresh prefix loads: "
                                              << Utf16ToUtf8(lib.failure);

  const auto browser = index.Find(TObjectType::otCLSID, kWebBrowser);
  const auto browser2 = index.Find(TObjectType::otInterface, kIWebBrowser2);
  ASSERT_TRUE(browser && browser2);
  EXPECT_TRUE(Lists(analysis.ReferencesOf(TObjectType::otInterface, *browser2), u"implemented by [default]", kWebBrowser));
  const References ofClass = analysis.ReferencesOf(TObjectType::otCLSID, *browser);
  EXPECT_TRUE(Lists(ofClass, u"implements [default]", kIWebBrowser2));
  EXPECT_TRUE(Lists(ofClass, u"implements [default, source]", u"{34A715A0-6587-11D0-924A-0020AFC7AC4D}"))
      << "DWebBrowserEvents2";
  EXPECT_TRUE(ofClass.notes.empty());

  // Found by its ProgID and by its server's file name.
  const FindResult byProgId = analysis.Finder().Find(u"shell.explorer.2");
  ASSERT_FALSE(byProgId.objects.empty());
  EXPECT_EQ(index.Guid(byProgId.objects[0].typ, byProgId.objects[0].index), kWebBrowser);
  EXPECT_EQ(byProgId.objects[0].field, FindField::ProgID);
  const FindResult byServer = analysis.Finder().Find(u"IEFRAME.DLL");
  EXPECT_TRUE(std::any_of(byServer.objects.begin(), byServer.objects.end(), [&](const FoundObject& o) {
    return o.field == FindField::InprocServer32 && index.Guid(o.typ, o.index) == kWebBrowser;
  }));
}

}  // namespace
}  // namespace brannock::analysis
