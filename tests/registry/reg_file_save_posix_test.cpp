#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/error.h"
#include "registry/reg_file_parser.h"
#include "registry/reg_file_writer.h"
#include "registry_files_support.h"

using namespace brannock;
using namespace brannock::registry;
using namespace brannock::testing;

TEST(RegFileWriter, SavesCompletelyOrNotAtAll) {
  constexpr RootKey CU = RootKey::CurrentUser;
  const Text frm = u"Software\\Velkar\\Brannock\\1.x\\frmMain";
  const auto dir = std::filesystem::temp_directory_path() / ("brannock-writer-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto file = dir / "settings.reg";
  { std::ofstream(file) << "old content"; }
  MemoryStore store;
  store.SetDword(CU, frm, u"Left", 10);
  store.SetDword(CU, frm, u"Width", 800);
  store.SetString(CU, frm, u"State", u"maximised");
  SaveRegFile(file, store, CU, frm);
  MemoryStore back;
  LoadRegFile(file, back);
  EXPECT_EQ(DumpTree(*back.Find(CU, frm)), DumpTree(*store.Find(CU, frm)));
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);

  // A folder that does not exist: FileError naming the file, nothing written.
  const auto missing = dir / "missing" / "settings.reg";
  try {
    SaveRegFile(missing, store, CU, frm);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + missing.string() + "\". No such file or directory");
  }
  EXPECT_FALSE(std::filesystem::exists(missing));

  // A target that cannot be replaced (a folder): the old content stays.
  std::filesystem::create_directories(dir / "taken.reg" / "inside");
  EXPECT_THROW(SaveRegFile(dir / "taken.reg", store, CU, frm), FileError);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.reg" / "inside"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 2);
  std::filesystem::remove_all(dir);
}
