// brannock-cli run as a real process on .reg fixtures.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cstdio>
#include <iterator>

#include "support/test_files.h"

namespace fs = std::filesystem;
using brannock::testing::ReadFileBytes;

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;
};

const fs::path kFixture = fs::path(BRANNOCK_TEST_DATA) / "catalogue" / "catalogue.reg";

class CliProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = brannock::testing::FreshTestDir("brannock-cli");
    fs::create_directories(dir_ / "out");
    fs::create_directories(dir_ / "cwd");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program in dir_/cwd with standard output and error in files.
  Outcome Run(std::vector<std::string> args, const fs::path& program = BRANNOCK_CLI_PATH) {
    const fs::path outFile = dir_ / "stdout.txt";
    const fs::path errFile = dir_ / "stderr.txt";
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir((dir_ / "cwd").c_str()) != 0)
        ::_exit(127);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    Outcome o;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) o.exitCode = WEXITSTATUS(status);
    o.out = ReadFileBytes(outFile);
    o.err = ReadFileBytes(errFile);
    return o;
  }

  std::vector<std::string> Files(const fs::path& dir) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

}  // namespace

TEST_F(CliProcess, VersionHelpAndUsage) {
  Outcome o = Run({"--version"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.out, "brannock-cli 1.3.0.0\n");

  o = Run({"--help"});
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_EQ(o.out.rfind("Usage: brannock-cli", 0), 0u);

  // No switch and no render request: usage, exit 2, nothing written.
  for (std::vector<std::string> args : {std::vector<std::string>{}, {"--registry", kFixture.string()}, {""}}) {
    o = Run(args);
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_EQ(o.err.rfind("Usage: brannock-cli", 0), 0u);
  }
  o = Run({"--registry", kFixture.string(), "--out-dir", (dir_ / "out").string(), "-SAX"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err, "brannock-cli: unknown argument '-SAX'\nTry 'brannock-cli --help'.\n");
  EXPECT_TRUE(Files(dir_ / "out").empty());
  EXPECT_TRUE(Files(dir_ / "cwd").empty());
}

TEST_F(CliProcess, WritesTheListFiles) {
  const fs::path out = dir_ / "out";
  Outcome o = Run({"--registry", kFixture.string(), "--out-dir", out.string(), "-sa", "/SI"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(Files(out), (std::vector<std::string>{"AppIds.csv", "Intfs.csv"}));
  EXPECT_EQ(ReadFileBytes(out / "AppIds.csv"),
            "Name;GUID\r\nx.exe;x.exe\r\nSample; Server;{A0000000-0000-0000-0000-000000000001}\r\n");
  EXPECT_EQ(ReadFileBytes(out / "Intfs.csv"),
            "Name;GUID\r\nISample;{10000000-0000-0000-0000-000000000001}\r\n"
            "41 42;{10000000-0000-0000-0000-000000000002}\r\n");

  o = Run({"/so", "--registry", kFixture.string(), "-ST", "--out-dir", out.string()});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(out / "ObjClasses.csv"),
            "Name;GUID\r\n{c0000000-0000-0000-0000-000000000001};{c0000000-0000-0000-0000-000000000001}\r\n"
            "Caf\xE9 A\x80?;{C0000000-0000-0000-0000-000000000002}\r\n");
  EXPECT_EQ(ReadFileBytes(out / "TypeLibs.csv"),
            "Name;GUID\r\nSample Library 1.0;{70000000-0000-0000-0000-000000000001}\r\n");
  EXPECT_TRUE(Files(dir_ / "cwd").empty());
}

TEST_F(CliProcess, DefaultFolderIsTheProgramsFolder) {
  const fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  fs::copy_file(BRANNOCK_CLI_PATH, bin / "brannock-cli");
  Outcome o = Run({"--registry", kFixture.string(), "-ST"}, bin / "brannock-cli");
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(Files(bin), (std::vector<std::string>{"TypeLibs.csv", "brannock-cli"}));
  EXPECT_TRUE(Files(dir_ / "cwd").empty());
}

TEST_F(CliProcess, ErrorsGoToStandardErrorWithNonZeroExit) {
  // An out folder that cannot hold files.
  const fs::path missing = dir_ / "missing";
  Outcome o = Run({"--registry", kFixture.string(), "--out-dir", missing.string(), "-SA"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err, "brannock-cli: Cannot create file \"" + (missing / "AppIds.csv").string() +
                       "\". No such file or directory\n");

  std::ofstream(dir_ / "plain-file") << "x";
  o = Run({"--registry", kFixture.string(), "--out-dir", (dir_ / "plain-file").string(), "-SO"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_NE(o.err.find("Not a directory"), std::string::npos) << o.err;

  // A registry error stops the batch; the files written before it stay.
  const fs::path out = dir_ / "out";
  o = Run({"--registry", (fs::path(BRANNOCK_TEST_DATA) / "catalogue" / "bad_typelib_name.reg").string(), "--out-dir",
           out.string(), "-ST", "-SA", "-SO"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err, "brannock-cli: Invalid data type for ''\n");
  EXPECT_EQ(Files(out), (std::vector<std::string>{"AppIds.csv", "ObjClasses.csv"}));

  // A registry that cannot be read.
  o = Run({"--registry", (dir_ / "none.reg").string(), "--out-dir", out.string(), "-SA"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err.rfind("brannock-cli: ", 0), 0u);
  EXPECT_GT(o.err.size(), std::string("brannock-cli: \n").size());
}

TEST_F(CliProcess, RegisteredLibraryThroughDriveMappings) {
  const fs::path tlb = fs::path(BRANNOCK_TLB_DIR) / "render_demo.tlb";
  if (!fs::exists(tlb)) GTEST_SKIP() << "widl fixtures not built";
  // The registration names a Windows path on a drive that only --drive maps.
  const fs::path reg = dir_ / "lib.reg";
  std::ofstream(reg) << "Windows Registry Editor Version 5.00\r\n\r\n"
                        "[HKEY_CLASSES_ROOT\\TypeLib\\{8A3C1F00-0000-4000-8000-000000000001}\\1.2]\r\n"
                        "@=\"Demo types\"\r\n\r\n"
                        "[HKEY_CLASSES_ROOT\\TypeLib\\{8A3C1F00-0000-4000-8000-000000000001}\\1.2\\0\\win32]\r\n"
                        "@=\"Q:\\\\Libs\\\\RENDER_DEMO.TLB\"\r\n";
  fs::create_directories(dir_ / "q" / "libs");
  fs::copy_file(tlb, dir_ / "q" / "libs" / "render_demo.tlb");
  fs::copy_file(fs::path(BRANNOCK_TLB_DIR) / "stdole2.tlb", dir_ / "q" / "libs" / "stdole2.tlb");

  const std::vector<std::string> request{"--registry", reg.string(), "--render-typelib",
                                         "{8A3C1F00-0000-4000-8000-000000000001}", "1.2"};
  Outcome o = Run(request);
  EXPECT_EQ(o.exitCode, 1);  // Q: means nothing on this host
  EXPECT_EQ(o.out, "");

  std::vector<std::string> mapped = request;
  mapped.insert(mapped.end(), {"--drive", "q=" + (dir_ / "q").string()});
  o = Run(mapped);
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(o.out.find("\nunit RenderDemo;\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("// uid: {8A3C1F00-0000-4000-8000-000000000001}\n// version: 1.2\n"), std::string::npos);

  o = Run({"--drive", "Q:/x", "--render", tlb.string()});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("option '--drive' needs LETTER=DIR or \\\\SERVER\\SHARE=DIR, not 'Q:/x'"), std::string::npos) << o.err;
}

TEST_F(CliProcess, ListsAndKeysOfTheChosenView) {
  const fs::path views = fs::path(BRANNOCK_TEST_DATA) / "registry" / "views" / "both_views.reg";
  const fs::path out = dir_ / "out";
  const std::string header = "Name;GUID\r\n";
  const std::string both = "In both;{B4A22103-0000-4000-8000-000000000003}\r\n";
  Outcome o = Run({"--registry", views.string(), "--out-dir", out.string(), "-SO", "-SI"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(out / "ObjClasses.csv"), header + "Only in 64;{B4A22101-0000-4000-8000-000000000001}\r\n" +
                                                       both + "User 64;{B4A22104-0000-4000-8000-000000000004}\r\n");
  o = Run({"--registry", views.string(), "--view", "32", "--out-dir", out.string(), "-SO", "-SI", "-SA"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(out / "ObjClasses.csv"),
            header + "Only in 32;{B4A22102-0000-4000-8000-000000000002}\r\n" + both +
                "User 32;{B4A22104-0000-4000-8000-000000000004}\r\n"
                "User only 32;{B4A22105-0000-4000-8000-000000000005}\r\n");
  EXPECT_EQ(ReadFileBytes(out / "Intfs.csv"), header + "IOnly32;{B4A22132-0000-4000-8000-000000000032}\r\n");
  EXPECT_EQ(ReadFileBytes(out / "AppIds.csv"), header + "Shared AppID;{B4A22120-0000-4000-8000-000000000020}\r\n");

  // The value texts of a key follow the view too.
  const std::string key = "CLSID\\{B4A22103-0000-4000-8000-000000000003}";
  o = Run({"--registry", views.string(), "--view", "32", "--dump-key", key, (out / "32.txt").string()});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(ReadFileBytes(out / "32.txt").find("\"\" text: C:\\windows\\syswow64\\both32.dll"), std::string::npos);
  o = Run({"--registry", views.string(), "--dump-key", key, (out / "64.txt").string()});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(ReadFileBytes(out / "64.txt").find("\"\" text: C:\\windows\\system32\\both64.dll"), std::string::npos);

  // So do an object's details.
  o = Run({"--registry", views.string(), "--view", "32", "--show", "In both"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(o.out.find("InprocServer32 = C:\\windows\\syswow64\\both32.dll\n"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("both64"), std::string::npos) << o.out;
  o = Run({"--registry", views.string(), "--show", "In both"});
  EXPECT_NE(o.out.find("InprocServer32 = C:\\windows\\system32\\both64.dll\n"), std::string::npos) << o.out;
}

TEST_F(CliProcess, APrefixOf32BitWindowsHasNo64BitView) {
  const fs::path prefix = dir_ / "prefix";
  fs::create_directories(prefix);
  std::ofstream(prefix / "system.reg") << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                                          "#arch=win32\n\n"
                                          "[Software\\\\Classes\\\\CLSID\\\\{B4A22102-0000-4000-8000-000000000002}] 1\n"
                                          "@=\"Only in 32\"\n";
  const fs::path out = dir_ / "out";
  const std::string expected = "Name;GUID\r\nOnly in 32;{B4A22102-0000-4000-8000-000000000002}\r\n";
  Outcome o = Run({"--registry", prefix.string(), "--out-dir", out.string(), "-SO"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(out / "ObjClasses.csv"), expected) << "its own view, the 32-bit one, by default";
  fs::remove(out / "ObjClasses.csv");
  o = Run({"--registry", prefix.string(), "--view", "64", "--out-dir", out.string(), "-SO"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err,
            "brannock-cli: The registry has no 64-bit registrations: it is a registry of 32-bit Windows\n");
  EXPECT_TRUE(Files(out).empty());
  o = Run({"--registry", prefix.string(), "--view", "32", "--out-dir", out.string(), "-SO"});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(out / "ObjClasses.csv"), expected);
}

TEST_F(CliProcess, ShowPrintsThePaneOfEachMatchingObject) {
  // "%SystemRoot%\x.dll" as REG_EXPAND_SZ: a .reg export expands with the
  // Windows defaults, not with the host's environment.
  std::string expand;
  for (unsigned char c : std::string("%SystemRoot%\\x.dll")) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02x,00,", c);
    expand += hex;
  }
  const fs::path reg = dir_ / "show.reg";
  std::ofstream(reg, std::ios::binary)
      << "Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-0000000000AB}]\r\n"
         "@=\"Shown\"\r\n"
         "\"AppID\"=\"{A0000000-0000-0000-0000-000000000001}\"\r\n\r\n"
         "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-0000000000AB}\\InprocServer32]\r\n"
         "@=hex(2):" + expand + "00,00\r\n\r\n"
         "[HKEY_CLASSES_ROOT\\AppID\\{A0000000-0000-0000-0000-000000000001}]\r\n"
         "@=\"Shown\"\r\n";
  const std::string hyphens(80, '-');
  const std::string classPane = "Name: Shown\nGUID: {C0000000-0000-0000-0000-0000000000AB}\n" + hyphens +
                                "\nCLSID\n"
                                "   {C0000000-0000-0000-0000-0000000000AB} = Shown\n"
                                "   {C0000000-0000-0000-0000-0000000000AB}[AppID] = "
                                "{A0000000-0000-0000-0000-000000000001}\n"
                                "      InprocServer32 = C:\\Windows\\x.dll\n"
                                "AppID\n"
                                "   {A0000000-0000-0000-0000-000000000001} = Shown\n";
  const std::string appPane = "Name: Shown\nGUID: {A0000000-0000-0000-0000-000000000001}\n" + hyphens +
                              "\nAppID\n   {A0000000-0000-0000-0000-000000000001} = Shown\n";

  // The GUID in any case, braces optional.
  for (const char* text : {"{C0000000-0000-0000-0000-0000000000AB}", "c0000000-0000-0000-0000-0000000000ab"}) {
    Outcome o = Run({"--registry", reg.string(), "--show", text});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out, classPane);
    EXPECT_EQ(o.err, "");
  }
  // A name: every object that has it, in the order of the tree's roots.
  Outcome o = Run({"--registry", reg.string(), "--show=Shown"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out, classPane + appPane);

  o = Run({"--registry", reg.string(), "--show", "{C0000000-0000-0000-0000-0000000000AC}"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "brannock-cli: no object has the GUID or name '{C0000000-0000-0000-0000-0000000000AC}'\n");

  o = Run({"--show", "x", "--render", "x.tlb"});
  EXPECT_EQ(o.exitCode, 2);
}

TEST_F(CliProcess, CheckAndSecurityByTheirExitStatus) {
  const std::string machine = (fs::path(BRANNOCK_TEST_DATA) / "analysis" / "check_machine.reg").string();
  // Errors and warnings: 3, one finding a line.
  Outcome o = Run({"--registry", machine, "--check"});
  EXPECT_EQ(o.exitCode, 3) << o.err;
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.out.rfind("error: class Treat Missing {C0000004-0000-4000-8000-000000000000} "
                        "HKEY_CLASSES_ROOT\\CLSID\\{C0000004-0000-4000-8000-000000000000}\\TreatAs: ",
                        0),
            0u)
      << o.out;
  o = Run({"--registry", machine, "--format", "csv", "--check"});
  EXPECT_EQ(o.exitCode, 3);
  EXPECT_EQ(o.out.substr(0, o.out.find('\n')), "severity;kind;name;GUID;key path;reason");
  // Notes alone: 0.
  o = Run({"--registry", kFixture.string(), "--check"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out.rfind("note: server and library files were not checked", 0), 0u) << o.out;
  o = Run({"--registry", machine, "--format", "xml", "--check"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_EQ(o.err.rfind("brannock-cli: option '--format' needs csv, not 'xml'\n", 0), 0u) << o.err;

  o = Run({"--registry", machine, "--security", "{a0000002-0000-4000-8000-000000000000}"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(o.out.find("\n   O:BAG:BAD:(A;;CCDCLCSWRP;;;SY)(A;;CCDCLCSWRP;;;BA)(A;;CCDCLCSWRP;;;IU)\n"), std::string::npos)
      << o.out;
  o = Run({"--registry", machine, "--security", "Missing Server"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "brannock-cli: no AppID and no class with an AppID has the GUID or name 'Missing Server'\n");

  // The stage's dump, written whole.
  const fs::path dump = dir_ / "security.txt";
  o = Run({"--registry", machine, "--dump-security", dump.string()});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_NE(ReadFileBytes(dump).find("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole DefaultLaunchPermission: O:BAG:BAD:"),
            std::string::npos);
}

TEST_F(CliProcess, SnapshotAndCompareAnswerWithTheirExitStatus) {
  const auto write = [&](const char* name, const std::string& keys) {
    std::ofstream(dir_ / name, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n\r\n" << keys;
    return (dir_ / name).string();
  };
  const std::string kept = "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000001}]\r\n@=\"Kept\"\r\n\r\n";
  const std::string server = "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000001}\\InprocServer32]\r\n"
                             "@=\"C:\\\\kept.dll\"\r\n";
  const std::string before =
      write("before.reg", kept + server + "\"ThreadingModel\"=\"Both\"\r\n\r\n"
                                          "[HKEY_CLASSES_ROOT\\Interface\\{10000000-0000-0000-0000-000000000001}]\r\n"
                                          "@=\"IGone\"\r\n\r\n");
  const std::string now =
      write("now.reg", kept + server + "\"ThreadingModel\"=\"Free\"\r\n\r\n"
                                       "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000002}]\r\n"
                                       "@=\"New; \\\"quoted\\\"\"\r\n\r\n");

  Outcome o = Run({"--registry", now, "--compare", before});
  EXPECT_EQ(o.exitCode, 3) << o.err;
  EXPECT_EQ(o.out,
            "Object Classes\n"
            "added   {C0000000-0000-0000-0000-000000000002} New; \"quoted\"\n"
            "changed {C0000000-0000-0000-0000-000000000001} Kept\n"
            "@@ -1,4 +1,4 @@\n"
            " CLSID\n"
            "    {C0000000-0000-0000-0000-000000000001} = Kept\n"
            "       InprocServer32 = C:\\kept.dll\n"
            "-      InprocServer32[ThreadingModel] = Both\n"
            "+      InprocServer32[ThreadingModel] = Free\n"
            "Interfaces\n"
            "removed {10000000-0000-0000-0000-000000000001} IGone\n"
            "1 added, 1 removed, 1 changed\n");
  EXPECT_EQ(o.err, "");

  o = Run({"--registry", now, "--compare", before, "--format", "csv"});
  EXPECT_EQ(o.exitCode, 3) << o.err;
  EXPECT_EQ(o.out,
            "collection;GUID;name;change;key path;before;now\n"
            "Object Classes;{C0000000-0000-0000-0000-000000000002};\"New; \"\"quoted\"\"\";added;"
            "CLSID\\{C0000000-0000-0000-0000-000000000002};;\"New; \"\"quoted\"\"\"\n"
            "Object Classes;{C0000000-0000-0000-0000-000000000001};Kept;changed;"
            "CLSID\\{C0000000-0000-0000-0000-000000000001}\\InprocServer32[ThreadingModel];Both;Free\n"
            "Interfaces;{10000000-0000-0000-0000-000000000001};IGone;removed;"
            "Interface\\{10000000-0000-0000-0000-000000000001};IGone;\n");

  // A snapshot is a source of its own: UTF-16 as regedit writes it, and
  // compared with the registry it was taken of, nothing differs.
  const fs::path snapshot = dir_ / "out" / "snapshot.reg";
  o = Run({"--registry", before, "--snapshot", snapshot.string()});
  ASSERT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(ReadFileBytes(snapshot).substr(0, 2), "\xFF\xFE");
  o = Run({"--registry", snapshot.string(), "--compare", before});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out, "0 added, 0 removed, 0 changed\n");
  o = Run({"--registry", snapshot.string(), "--compare", before, "--format=csv"});
  EXPECT_EQ(o.exitCode, 0) << o.err;
  EXPECT_EQ(o.out, "collection;GUID;name;change;key path;before;now\n");

  // Errors: an earlier registry that cannot be read, a snapshot into a
  // folder that is not there (nothing is written), then usage errors.
  o = Run({"--registry", now, "--compare", (dir_ / "none.reg").string()});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err.rfind("brannock-cli: ", 0), 0u) << o.err;
  o = Run({"--registry", now, "--snapshot", (dir_ / "missing" / "s.reg").string()});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  o = Run({"--registry", now, "--compare", before, "--format", "xml"});
  EXPECT_EQ(o.exitCode, 2);
  EXPECT_NE(o.err.find("option '--format' needs csv, not 'xml'"), std::string::npos) << o.err;
  EXPECT_EQ(Run({"--registry", now, "--compare"}).exitCode, 2);
  EXPECT_EQ(Run({"--snapshot", "a.reg", "--compare", before}).exitCode, 2);
}
