#include <gtest/gtest.h>

#include "catalogue/catalogue.h"
#include "catalogue/object_kinds.h"
#include "registry/registry_error.h"
#include "support/error_text.h"
#include "support/view_backend.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using brannock::testing::ErrorText;
using brannock::testing::ViewBackend;

namespace {


TextList Names(const TObjects& list) {
  TextList n;
  for (const auto& r : list) n.push_back(r.Name);
  return n;
}

TextList Guids(const TObjects& list) {
  TextList n;
  for (const auto& r : list) n.push_back(r.GUID);
  return n;
}

}  // namespace

TEST(ReadObjectClasses, NamesFromDefaultValueOrKeyName) {
  MemoryStore s;
  s.SetString(CR, u"CLSID\\{C3}", u"", u"  Padded");
  s.CreatePath(CR, u"CLSID\\{a1}");                 // no default value
  s.SetString(CR, u"CLSID\\{B2}", u"", u" \t ");     // blanks only
  s.SetDword(CR, u"CLSID\\{D4}", u"", 5);            // not a string
  s.SetBytes(CR, u"CLSID\\{E5}", u"", RegType::Binary, {0x41});
  s.SetString(CR, u"CLSID\\{F6}", u"", u"Named");
  s.SetString(CR, u"CLSID\\{F6}", u"AppID", u"{X}");

  Catalogue cat(s);
  cat.OCList.push_back(TObjectData{});  // the builder empties the list first
  cat.ReadObjectClasses(cat.OCList);
  EXPECT_EQ(Guids(cat.OCList), (TextList{u"{a1}", u"{B2}", u"{C3}", u"{D4}", u"{E5}", u"{F6}"}));
  EXPECT_EQ(Names(cat.OCList), (TextList{u"{a1}", u"{B2}", u"  Padded", u"{D4}", u"{E5}", u"Named"}));
  for (const auto& r : cat.OCList) {
    EXPECT_EQ(r.Typ, TObjectType::otCLSID);
    EXPECT_TRUE(r.Server.empty() && r.CLSID.empty() && r.AppId.empty());  // details come later
  }
}

TEST(ReadObjectClasses, MissingCategoryAndUnopenableEntries) {
  ViewBackend b;
  Catalogue cat(b);
  cat.OCList.push_back(TObjectData{});
  cat.ReadObjectClasses(cat.OCList);  // no CLSID key: empty, no error
  EXPECT_TRUE(cat.OCList.empty());

  b.redirected.SetString(CR, u"CLSID\\{1}", u"", u"one");
  b.redirected.SetString(CR, u"CLSID\\{2}", u"", u"two");
  b.refusedPaths = {u"CLSID\\{1}"};
  cat.ReadObjectClasses(cat.OCList);
  EXPECT_EQ(Guids(cat.OCList), (TextList{u"{2}"}));

  // The list is read through the process view with the mask fallback.
  b.native.SetString(CR, u"CLSID\\{64}", u"", u"native only");
  b.refusedPaths.clear();
  b.opens.clear();
  cat.ReadObjectClasses(cat.OCList);
  EXPECT_EQ(Guids(cat.OCList), (TextList{u"{1}", u"{2}"}));
  for (const auto& o : b.opens) EXPECT_EQ(o.access & Access::ViewMask, 0u);
  EXPECT_EQ(b.openKeys, 0);
}

TEST(ReadTypeLibraries, FirstVersionOnlyReadInHexadecimal) {
  MemoryStore s;
  s.SetString(CR, u"TypeLib\\{L1}\\2.0", u"", u"Second");
  s.SetString(CR, u"TypeLib\\{L1}\\1.0", u"", u"First");
  s.CreatePath(CR, u"TypeLib\\{L2}");                     // no version key
  s.SetString(CR, u"TypeLib\\{L3}\\1.a", u"", u"Odd version");
  s.CreatePath(CR, u"TypeLib\\{L4}\\3.1");                 // no name
  s.SetString(CR, u"Typelib\\{L5}\\10.0", u"", u"Ten");  // Wine's spelling
  s.SetString(CR, u"TypeLib\\{L5}\\9.0", u"", u"Nine");
  s.SetString(CR, u"TypeLib\\{L6}\\2.10", u"", u"Two sixteen");
  s.SetString(CR, u"TypeLib\\{L7}\\a.0", u"", u"Ten zero");
  s.SetString(CR, u"TypeLib\\{L8}\\1.z", u"", u"Bad minor");

  Catalogue cat(s);
  cat.ReadTypeLibraries(cat.TLList);
  ASSERT_EQ(Guids(cat.TLList), (TextList{u"{L1}", u"{L3}", u"{L4}", u"{L5}", u"{L6}", u"{L7}", u"{L8}"}));
  EXPECT_EQ(Names(cat.TLList),
            (TextList{u"First", u"Odd version", u"{L4}", u"Ten", u"Two sixteen", u"Ten zero", u"Bad minor"}));
  EXPECT_EQ(cat.TLList[0].MajorVersion, 1u);
  EXPECT_EQ(cat.TLList[0].MinorVersion, 0u);
  // The registration writes the numbers in hexadecimal: "1.a" is 1.10.
  EXPECT_EQ(cat.TLList[1].MajorVersion, 1u);
  EXPECT_EQ(cat.TLList[1].MinorVersion, 10u);
  EXPECT_EQ(cat.TLList[2].MajorVersion, 3u);
  EXPECT_EQ(cat.TLList[2].MinorVersion, 1u);
  // "10.0" is enumerated before "9.0": the order is by name, not by number.
  EXPECT_EQ(cat.TLList[3].MajorVersion, 16u);
  EXPECT_EQ(cat.TLList[4].MajorVersion, 2u);  // "2.10"
  EXPECT_EQ(cat.TLList[4].MinorVersion, 16u);
  EXPECT_EQ(cat.TLList[5].MajorVersion, 10u);  // "a.0"
  EXPECT_EQ(cat.TLList[5].MinorVersion, 0u);
  EXPECT_EQ(cat.TLList[6].MajorVersion, 1u);  // "1.z": the minor does not read
  EXPECT_EQ(cat.TLList[6].MinorVersion, 0u);
  for (const auto& r : cat.TLList) EXPECT_EQ(r.Typ, TObjectType::otTypeLib);
}

TEST(ReadTypeLibraries, UnopenableVersionKeySkipsTheLibrary) {
  ViewBackend b;
  b.redirected.SetString(CR, u"TypeLib\\{L1}\\1.0", u"", u"One");
  b.redirected.SetString(CR, u"TypeLib\\{L1}\\2.0", u"", u"Two");
  b.redirected.SetString(CR, u"TypeLib\\{L2}\\1.0", u"", u"Other");
  b.refusedPaths = {u"TypeLib\\{L1}\\1.0"};
  Catalogue cat(b);
  cat.ReadTypeLibraries(cat.TLList);
  EXPECT_EQ(Names(cat.TLList), (TextList{u"Other"}));  // 2.0 is not looked at
}

TEST(ReadTypeLibraries, NonStringNameStopsWithRecordsKept) {
  MemoryStore s;
  s.SetString(CR, u"TypeLib\\{L1}\\1.0", u"", u"One");
  s.SetDword(CR, u"TypeLib\\{L2}\\1.0", u"", 1);
  s.SetString(CR, u"TypeLib\\{L3}\\1.0", u"", u"Three");
  Catalogue cat(s);
  EXPECT_EQ(ErrorText([&] { cat.ReadTypeLibraries(cat.TLList); }), "Invalid data type for ''");
  EXPECT_EQ(Names(cat.TLList), (TextList{u"One"}));
}

TEST(ReadAppIDs, FileNamesAndErrors) {
  MemoryStore s;
  s.CreatePath(CR, u"AppID\\x.exe");
  s.SetString(CR, u"AppID\\{A1}", u"", u"Server app");
  s.SetString(CR, u"AppID\\{A1}", u"AppID", u"ignored");
  Catalogue cat(s);
  cat.ReadAppIDs(cat.AIList);
  EXPECT_EQ(Guids(cat.AIList), (TextList{u"x.exe", u"{A1}"}));
  EXPECT_EQ(Names(cat.AIList), (TextList{u"x.exe", u"Server app"}));
  EXPECT_EQ(cat.AIList[0].Typ, TObjectType::otAppID);
  EXPECT_EQ(cat.AIList[0].MajorVersion, 0u);

  // Unlike object classes, a default value that is not a string stops the
  // builder.
  s.SetBytes(CR, u"AppID\\y.exe", u"", RegType::Binary, {1});
  s.SetString(CR, u"AppID\\z.exe", u"", u"after");
  EXPECT_EQ(ErrorText([&] { cat.ReadAppIDs(cat.AIList); }), "Invalid data type for ''");
  EXPECT_EQ(Guids(cat.AIList), (TextList{u"x.exe"}));
}

TEST(ReadInterfaces, NamesAsDisplayText) {
  MemoryStore s;
  s.CreatePath(CR, u"Interface\\{I1}");                                   // no name: not listed
  s.SetBytes(CR, u"Interface\\{I2}", u"", RegType::Binary, {0x41, 0x42});  // hex rendering
  s.SetString(CR, u"Interface\\{I3}", u"", u"IThird");
  s.SetString(CR, u"Interface\\{I4}", u"", u"  ");                         // blank: not listed
  s.SetDword(CR, u"Interface\\{I5}", u"", 0xFFFFFFFF);
  s.SetString(CR, u"Interface\\{I6}", u"", u"%BRANNOCK_UNSET_NAME%", RegType::ExpandSz);

  Catalogue cat(s);
  cat.ReadInterfaces(cat.IFList);
  EXPECT_EQ(Guids(cat.IFList), (TextList{u"{I2}", u"{I3}", u"{I5}", u"{I6}"}));
  EXPECT_EQ(Names(cat.IFList), (TextList{u"41 42", u"IThird", u"-1", u"%BRANNOCK_UNSET_NAME%"}));
  for (const auto& r : cat.IFList) EXPECT_EQ(r.Typ, TObjectType::otInterface);

  // Without an Interface key the list is empty, and is read again next time.
  MemoryStore empty;
  Catalogue none(empty);
  none.ReadInterfaces(none.IFList);
  EXPECT_TRUE(none.IFList.empty());
  empty.SetString(CR, u"Interface\\{I}", u"", u"Later");
  none.ReadInterfaces(none.IFList);
  EXPECT_EQ(Names(none.IFList), (TextList{u"Later"}));
}

TEST(ReadInterfaces, EnumeratesTheProcessViewAndNamesFromTheNativeView) {
  ViewBackend b;
  b.redirected.SetString(CR, u"Interface\\{Both}", u"", u"32-bit name");
  b.native.SetString(CR, u"Interface\\{Both}", u"", u"64-bit name");
  b.redirected.SetString(CR, u"Interface\\{Only32}", u"", u"unseen name");
  b.native.SetString(CR, u"Interface\\{Only64}", u"", u"not enumerated");
  Catalogue cat(b);
  cat.ReadInterfaces(cat.IFList);
  // {Only32} is enumerated, but its name read through the native view is
  // empty, so it is not listed.
  EXPECT_EQ(Guids(cat.IFList), (TextList{u"{Both}"}));
  EXPECT_EQ(Names(cat.IFList), (TextList{u"64-bit name"}));
}

TEST(ReadInterfaces, OversizedNameStopsWithRecordsKept) {
  MemoryStore s;
  s.SetString(CR, u"Interface\\{I1}", u"", u"IFirst");
  s.SetBytes(CR, u"Interface\\{I2}", u"", RegType::Binary, Bytes(8195, 0x41));
  s.SetString(CR, u"Interface\\{I3}", u"", u"IThird");
  Catalogue cat(s);
  EXPECT_EQ(ErrorText([&] { cat.ReadInterfaces(cat.IFList); }), "Invalid data type for ''");
  EXPECT_EQ(Names(cat.IFList), (TextList{u"IFirst"}));
}

TEST(Catalogue, ListAndReadListByKind) {
  MemoryStore s;
  s.SetString(CR, u"CLSID\\{C}", u"", u"Class");
  s.SetString(CR, u"TypeLib\\{T}\\1.0", u"", u"Library");
  s.SetString(CR, u"AppID\\{A}", u"", u"App");
  s.SetString(CR, u"Interface\\{I}", u"", u"IFace");
  Catalogue cat(s);
  EXPECT_EQ(&cat.Backend(), &s);
  EXPECT_EQ(&cat.List(TObjectType::otCLSID), &cat.OCList);
  EXPECT_EQ(&cat.List(TObjectType::otTypeLib), &cat.TLList);
  EXPECT_EQ(&cat.List(TObjectType::otAppID), &cat.AIList);
  EXPECT_EQ(&cat.List(TObjectType::otInterface), &cat.IFList);
  EXPECT_TRUE(cat.OCList.empty() && cat.TLList.empty() && cat.AIList.empty() && cat.IFList.empty());

  cat.ReadList(TObjectType::otAppID);
  EXPECT_EQ(Names(cat.AIList), (TextList{u"App"}));
  EXPECT_TRUE(cat.OCList.empty() && cat.TLList.empty() && cat.IFList.empty());
  cat.ReadList(TObjectType::otCLSID);
  cat.ReadList(TObjectType::otTypeLib);
  cat.ReadList(TObjectType::otInterface);
  EXPECT_EQ(Names(cat.OCList), (TextList{u"Class"}));
  EXPECT_EQ(Names(cat.TLList), (TextList{u"Library"}));
  EXPECT_EQ(Names(cat.IFList), (TextList{u"IFace"}));

  // The kinds' table: each category key is the one its builder reads.
  for (const ObjectKind& kind : kObjectKinds) {
    MemoryStore one;
    // The name where each builder looks: the key's default value (classes,
    // application IDs, interfaces) or its version's (type libraries).
    one.SetString(CR, Text(kind.keyName) + u"\\{K}", u"", u"Only");
    one.SetString(CR, Text(kind.keyName) + u"\\{K}\\1.0", u"", u"Only");
    Catalogue only(one);
    only.ReadList(kind.typ);
    EXPECT_EQ(only.List(kind.typ).size(), 1u) << Utf16ToUtf8(kind.keyName);
    EXPECT_EQ(&only.List(kind.typ), &(only.*kind.list));
  }
}
