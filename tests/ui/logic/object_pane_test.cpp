#include "ui/logic/object_pane.h"

#include <gtest/gtest.h>

#include "registry/memory_store.h"
#include "registry/registry_error.h"
#include "support/root_keys.h"

namespace brannock::ui {
namespace {

using registry::MemoryStore;
using registry::RootKey;


TEST(ObjectPane, BuiltWholeForTheSelectedObject) {
  MemoryStore store;
  store.SetString(HKCR, u"CLSID\\{C1}", u"", u"Good");
  store.SetString(HKCR, u"CLSID\\{C1}\\InprocServer32", u"", u"C:\\good.dll");
  store.SetString(HKCR, u"CLSID\\{C1}\\ProgID", u"", u"Good.1");
  store.SetString(HKCR, u"Good.1", u"", u"Good class");
  // A class whose registry tree fails on its second value: oversized data.
  store.SetString(HKCR, u"CLSID\\{C2}", u"", u"Bad");
  store.SetString(HKCR, u"CLSID\\{C2}\\InprocServer32", u"", u"C:\\bad.dll");
  store.SetBytes(HKCR, u"CLSID\\{C2}\\InprocServer32", u"Big", registry::RegType::Binary, registry::Bytes(9000, 0));
  // A class whose details cannot be resolved: its server value is oversized.
  store.SetBytes(HKCR, u"CLSID\\{C3}\\LocalServer32", u"", registry::RegType::Binary, registry::Bytes(9000, 0));

  Catalogue catalogue(store);
  catalogue.ReadObjectClasses(catalogue.OCList);
  ASSERT_EQ(catalogue.OCList.size(), 3u);
  TObjectNode good{u"Good", TObjectType::otCLSID, 0, {}};
  auto pane = BuildObjectPane(catalogue, good, true, true);
  ASSERT_TRUE(pane);
  EXPECT_FALSE(pane->error);
  EXPECT_EQ(pane->name, u"Good");
  EXPECT_EQ(pane->guid, u"{C1}");
  EXPECT_EQ(good.Server, u"C:\\good.dll");
  EXPECT_TRUE(pane->states.registerServer && pane->states.createInstance);
  EXPECT_EQ(CopySummaryText(pane->name, pane->guid, pane->lines),
            u"Name: Good\r\nGUID: {C1}\r\n" + Text(80, u'-') +
                u"\r\nCLSID\r\n   {C1} = Good\r\n      InprocServer32 = C:\\good.dll\r\n"
                u"      ProgID = Good.1\r\nGood.1 = Good class\r\n");

  // The failure comes with what was built of this object only: its header
  // and its first lines, never another object's.
  TObjectNode bad{u"Bad", TObjectType::otCLSID, 1, {}};
  pane = BuildObjectPane(catalogue, bad, true, false);
  ASSERT_TRUE(pane && pane->error);
  EXPECT_THROW(std::rethrow_exception(pane->error), registry::RegistryError);
  EXPECT_EQ(pane->guid, u"{C2}");
  EXPECT_FALSE(pane->states.registerServer);  // no way to run regsvr32
  ASSERT_EQ(pane->lines.size(), 3u);
  EXPECT_EQ(pane->lines[2].text, u"InprocServer32 = C:\\bad.dll");

  TObjectNode unresolved{u"{C3}", TObjectType::otCLSID, 2, {u"left from before"}};
  pane = BuildObjectPane(catalogue, unresolved, true, true);
  ASSERT_TRUE(pane && pane->error);
  EXPECT_EQ(pane->guid, u"{C3}");
  EXPECT_TRUE(pane->lines.empty());
  EXPECT_FALSE(pane->states.registerServer || pane->states.viewTypeLib);

  // A node whose entry is gone has no pane.
  TObjectNode gone{u"Gone", TObjectType::otCLSID, 7, {}};
  EXPECT_FALSE(BuildObjectPane(catalogue, gone, true, true));
}

}  // namespace
}  // namespace brannock::ui
