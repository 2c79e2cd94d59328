#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "catalogue/batch_mode.h"
#include "catalogue/list_file.h"
#include "registry/registry_error.h"
#include "support/test_files.h"
#include "support/view_backend.h"
#include "support/root_keys.h"

using namespace brannock;
using namespace brannock::registry;
using brannock::testing::ViewBackend;
using brannock::testing::ReadFileBytes;
namespace fs = std::filesystem;

namespace {


BatchSwitches Find(std::vector<Text> params) { return FindBatchSwitches(params); }

// The category keys opened, in order.
std::vector<Text> Categories(const ViewBackend& b) {
  std::vector<Text> cats;
  for (const Text& p : b.Paths())
    if (p.find(u'\\') == Text::npos) cats.push_back(p);
  return cats;
}

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = brannock::testing::FreshTestDir("brannock-batch");
    auto& s = backend_.redirected;
    s.SetString(CR, u"AppID\\{A}", u"", u"App");
    s.SetString(CR, u"Interface\\{I}", u"", u"IFace");
    s.SetString(CR, u"CLSID\\{C}", u"", u"Class");
    s.SetString(CR, u"TypeLib\\{T}\\1.0", u"", u"Library");
    backend_.wow64 = false;
  }
  void TearDown() override { fs::remove_all(dir_); }

  ViewBackend backend_;
  fs::path dir_;
};

}  // namespace

TEST(FindBatchSwitches, SwitchForms) {
  BatchSwitches s = Find({u"-sa", u"/SI"});
  EXPECT_TRUE(s.SA && s.SI && !s.SO && !s.ST && s.Any());
  s = Find({u"/So", u"-sT"});
  EXPECT_TRUE(!s.SA && !s.SI && s.SO && s.ST);
  s = Find({u"-SA", u"/sa", u"-Sa"});
  EXPECT_TRUE(s.SA && !s.SI && !s.SO && !s.ST);

  // Not switches: no prefix, more letters, two dashes, other prefixes,
  // empty parameters, blanks.
  for (const Text& p : {Text(u"SA"), Text(u"-SAX"), Text(u"--SA"), Text(u"\\SA"), Text(u""), Text(u"-S"),
                        Text(u"-"), Text(u" -SA"), Text(u"-SA "), Text(u"-S A"), Text(u"+SA"), Text(u"-SB")}) {
    EXPECT_FALSE(Find({p}).Any()) << Utf16ToUtf8(p);
  }
  EXPECT_FALSE(Find({}).Any());
  EXPECT_FALSE(Find({u"file.txt", u"-x"}).Any());
  EXPECT_TRUE(Find({u"", u"SA", u"-ST"}).ST);
}

TEST_F(BatchTest, WritesInFixedOrderWithTheTableNames) {
  Catalogue cat(backend_);
  RunBatch(cat, Find({u"/ST", u"-SA"}), dir_);
  EXPECT_EQ(Categories(backend_), (std::vector<Text>{u"AppID", u"TypeLib"}));
  EXPECT_EQ(ReadFileBytes(dir_ / "AppIds.csv"), "Name;GUID\r\nApp;{A}\r\n");
  EXPECT_EQ(ReadFileBytes(dir_ / "TypeLibs.csv"), "Name;GUID\r\nLibrary;{T}\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "Intfs.csv"));
  EXPECT_FALSE(fs::exists(dir_ / "ObjClasses.csv"));

  backend_.opens.clear();
  RunBatch(cat, Find({u"-so", u"-si", u"/SA", u"-st"}), dir_);
  EXPECT_EQ(Categories(backend_), (std::vector<Text>{u"AppID", u"Interface", u"CLSID", u"TypeLib"}));
  EXPECT_EQ(ReadFileBytes(dir_ / "Intfs.csv"), "Name;GUID\r\nIFace;{I}\r\n");
  EXPECT_EQ(ReadFileBytes(dir_ / "ObjClasses.csv"), "Name;GUID\r\nClass;{C}\r\n");
}

TEST_F(BatchTest, ListsAreReadAnewAndFilesReplaced) {
  Catalogue cat(backend_);
  TObjectData stale;
  stale.Name = u"stale";
  cat.AIList = {stale};
  std::ofstream(dir_ / "AppIds.csv") << "old content that is longer than the new one";
  RunBatch(cat, Find({u"-SA", u"-sa"}), dir_);
  EXPECT_EQ(ReadFileBytes(dir_ / "AppIds.csv"), "Name;GUID\r\nApp;{A}\r\n");
  EXPECT_EQ(Categories(backend_), (std::vector<Text>{u"AppID"}));  // read once
  EXPECT_TRUE(cat.AIList.empty()) << "a list written is let go";

  // A category without entries gives the header line only.
  backend_.redirected.DeletePath(CR, u"Interface");
  RunBatch(cat, Find({u"-SI"}), dir_);
  EXPECT_EQ(ReadFileBytes(dir_ / "Intfs.csv"), "Name;GUID\r\n");
}

TEST_F(BatchTest, AnErrorStopsTheProcessingThere) {
  backend_.redirected.SetDword(CR, u"CLSID\\{C}", u"", 1);  // caught by the class builder
  backend_.redirected.SetDword(CR, u"TypeLib\\{T}\\1.0", u"", 1);
  backend_.redirected.SetString(CR, u"TypeLib\\{S}\\1.0", u"", u"Before the bad one");
  Catalogue cat(backend_);
  EXPECT_THROW(RunBatch(cat, Find({u"-SA", u"-SO", u"-ST"}), dir_), RegistryError);
  EXPECT_TRUE(fs::exists(dir_ / "AppIds.csv"));
  EXPECT_EQ(ReadFileBytes(dir_ / "ObjClasses.csv"), "Name;GUID\r\n{C};{C}\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "TypeLibs.csv"));
  // The records read before the error went nowhere: no list holds part of
  // a category, which a window would take for the whole of it.
  EXPECT_TRUE(cat.TLList.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2) << "no temporary file left";

  // An older file of the failing list keeps its content.
  std::ofstream(dir_ / "TypeLibs.csv") << "older";
  EXPECT_THROW(RunBatch(cat, Find({u"-ST"}), dir_), RegistryError);
  EXPECT_EQ(ReadFileBytes(dir_ / "TypeLibs.csv"), "older");

  // A file error stops the later switches as well, before their categories
  // are read.
  fs::remove_all(dir_);
  backend_.opens.clear();
  EXPECT_THROW(RunBatch(cat, Find({u"-SA", u"-SI"}), dir_), FileError);
  EXPECT_TRUE(Categories(backend_).empty());
}

TEST_F(BatchTest, ALongListGoesToItsFileInBlocks) {
  // Far more text than one block, with names outside the code page and a
  // line break: the file holds what SaveList writes of the same list.
  for (int i = 0; i < 3000; ++i) {
    const Text G = u"{" + Utf8ToUtf16(std::to_string(100000 + i)) + u"}";
    backend_.redirected.SetString(CR, u"Interface\\" + G, u"", i % 7 ? u"Interface \u20AC\u0141 number " + G : u"two\r\nlines");
  }
  Catalogue cat(backend_);
  RunBatch(cat, Find({u"-SI"}), dir_);
  TObjects list;
  cat.ReadInterfaces(list);
  ASSERT_EQ(list.size(), 3001u);
  SaveList(dir_ / "whole.csv", list);
  const std::string written = ReadFileBytes(dir_ / "Intfs.csv");
  EXPECT_EQ(written, ReadFileBytes(dir_ / "whole.csv"));
  EXPECT_GT(written.size(), 3u * 32 * 1024);
  EXPECT_NE(written.find("Interface \x80L number {100001};{100001}\r\n"), std::string::npos);
  EXPECT_TRUE(cat.IFList.empty());
}
