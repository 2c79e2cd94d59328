#include "app/startup/option_table.h"

#include "common/text.h"
#include "typelib/path_mapper.h"

namespace brannock::startup {

namespace {

std::string CheckDrive(const std::string& value) {
  if (typelib::PathMapper().AddDriveOption(Utf8ToUtf16(value))) return {};
  return "needs LETTER=DIR or \\\\SERVER\\SHARE=DIR, not '" + value + "'";
}

std::vector<OptionSpec> MakeTable() {
  using enum OptionKind;
  return {
      {.name = "-SA -SI -SO -ST",
       .kind = Batch,
       .programs = kEveryProgram,
       .help = "write AppIds.csv, Intfs.csv, ObjClasses.csv and TypeLibs.csv, in this order, each list read "
               "anew (\"/\" instead of \"-\" and any letter case are the same switch)",
       .windowHelp = "write AppIds.csv, Intfs.csv, ObjClasses.csv and TypeLibs.csv next to the program and "
                     "end, without a window"},
      {.name = "--registry",
       .values = "PATH",
       .programs = kCli | kQtWindow,
       .help = "registry to read: a Wine prefix folder, a .reg export or a hive file (default: $WINEPREFIX, "
               "~/.wine, the demo registry; the live registry on Windows)"},
      {.name = "--view",
       .values = "32|64",
       .programs = kEveryProgram,
       .help = "the registrations of 32-bit or of 64-bit programs (default: 64 on a registry of 64-bit "
               "Windows, 32 on one of 32-bit Windows)",
       .windowHelp = "the registrations of 32-bit or of 64-bit programs (default: the view the window showed "
                     "last, else 64 on a registry of 64-bit Windows, 32 on one of 32-bit Windows)",
       .choices = {"32", "64"}},
      {.name = "--out-dir",
       .values = "DIR",
       .programs = kCli,
       .help = "folder for the list files (default: the program's folder)"},
      {.name = "--render",
       .values = "FILE",
       .kind = Command,
       .programs = kCli,
       .help = "render the type library in FILE (.tlb, .dll, .ocx, .exe; FILE\\N for resource N)"},
      {.name = "--render-typelib",
       .values = "{GUID} MAJOR.MINOR",
       .kind = Command,
       .programs = kCli,
       .help = "render a registered type library"},
      {.name = "--language",
       .values = "pascal|idl",
       .programs = kCli,
       .help = "what --render and --render-typelib print: an Object Pascal declaration unit (pascal, the "
               "default) or the library as IDL in MIDL syntax, which an IDL compiler reads back into the "
               "library (idl)",
       .choices = {"pascal", "idl"},
       .commands = {"--render", "--render-typelib"}},
      {.name = "--list-typelibs",
       .values = "FILE",
       .kind = Command,
       .programs = kCli,
       .help = "list the type libraries of FILE: resource number, name, GUID and version, one a line"},
      {.name = "--drive",
       .values = "LETTER=DIR",
       .programs = kCli,
       .help = "map a Windows drive (or a network share, \\\\SERVER\\SHARE=DIR) to a host folder for the "
               "paths found in the registry (repeatable)",
       .check = CheckDrive,
       .repeatable = true},
      {.name = "--show",
       .values = "TEXT",
       .kind = Command,
       .programs = kCli,
       .help = "print the details of every object whose GUID (any case, braces optional) or name is TEXT, "
               "as the window's \"Copy to Clipboard\" gives them"},
      {.name = "--find",
       .values = "TEXT",
       .kind = Command,
       .programs = kCli,
       .help = "print every object that TEXT names, one a line as kind;name;GUID;field;matched text: a "
               "GUID or its first hexadecimal digits (at least 4), or part of a name, ProgID, server or "
               "library file, or an AppID's executable or LocalService, in any letter case; exit status 3 "
               "when nothing matches"},
      {.name = "--references",
       .values = "TEXT",
       .kind = Command,
       .programs = kCli,
       .help = "print what each object whose GUID or name is TEXT (as --show selects them) refers to and "
               "what refers to it, one a line as kind;name;GUID;relation;kind;name;GUID, with a field "
               "missing after a target that is not registered; reads the registered type libraries for "
               "the coclasses that implement an interface (repeatable: the objects of every TEXT, the "
               "libraries read once); exit status 3 when no object matches",
       .repeatable = true},
      {.name = "--check",
       .kind = Command,
       .programs = kCli,
       .help = "check the registrations and print one finding a line: severity (error, warning, note), "
               "kind, name, GUID, key path and reason; exit status 3 when there is an error or a warning"},
      {.name = "--libraries",
       .programs = kCli,
       .help = "with --check: also open every registered type library to check that it loads"},
      {.name = "--snapshot",
       .values = "FILE",
       .kind = Command,
       .programs = kCli,
       .help = "write the COM part of the registry (the machine's and the user's Software\\Classes, "
               "and the machine's Ole key) to FILE as a .reg export, UTF-16 as regedit writes it; FILE "
               "is a --registry and a --compare source later"},
      {.name = "--compare",
       .values = "BEFORE",
       .kind = Command,
       .programs = kCli,
       .help = "compare an earlier registry BEFORE (a Wine prefix folder, a .reg export such as a "
               "--snapshot, or a hive) with the registry shown: the objects added, removed and changed, "
               "with the registry lines of each changed one in unified-diff style; exit status 3 when "
               "anything differs"},
      {.name = "--format",
       .values = "csv",
       .programs = kCli,
       .help = "CSV for scripts, below a header line: with --check "
               "severity;kind;name;GUID;key path;reason, with --compare one line per changed value, "
               "collection;GUID;name;change;key path;before;now",
       .choices = {"csv"}},
      {.name = "--security",
       .values = "TEXT",
       .kind = Command,
       .programs = kCli,
       .help = "print who may launch and access each AppID, and each class with an AppID, that --show "
               "selects by TEXT: the SDDL of each permission and its entries in words"},
      {.name = "--verbose", .programs = kCli, .help = "name the registry read on standard error"},
      {.name = "--help", .alias = "-h", .programs = kEveryProgram, .help = "show this text"},
      {.name = "--version", .programs = kEveryProgram, .help = "show the program's version"},
      // The Wine stage compares the key trees of the two builds with it.
      {.name = "--dump-key",
       .values = "KEYPATH FILE",
       .kind = Command,
       .programs = kCli,
       .hidden = true},
      // The Wine stage compares the SDDL of the two builds with it: every
      // permission value of the registry, one a line.
      {.name = "--dump-security",
       .values = "FILE",
       .kind = Command,
       .programs = kCli,
       .hidden = true},
      // The screenshots of docs/ (scripts/screenshot-main.sh).
      {.name = "--screenshot", .values = "FILE", .programs = kQtWindow, .hidden = true},
      {.name = "--select", .values = "TEXT", .programs = kQtWindow, .hidden = true},
  };
}

const ProgramText kCliText{
    "brannock-cli",
    "Writes the list files of the COM registrations, renders a type library as\n"
    "an Object Pascal declaration unit or as IDL on standard output, shows the\n"
    "registry keys of an object, finds objects and what refers to them, checks\n"
    "the registrations, or compares two registries.\n",
    "Exit status:\n"
    "  0  success; --check: no error and no warning (notes alone)\n"
    "  1  an error (reported on standard error; list files written before it\n"
    "     stay); --show, --security: no object matches\n"
    "  2  a usage error, or nothing was asked for\n"
    "  3  the answer grep and diff give 1 for; --find, --references: no match;\n"
    "     --check: an error or a warning; --compare: the registries differ\n"};

const ProgramText kQtText{
    "brannock",
    "Browses the COM registrations of a Wine prefix, a .reg export or a hive, and\n"
    "renders type libraries as Object Pascal declaration units.\n",
    "Other parameters are ignored. Exit status: 0 when the window was closed or\n"
    "the list files were written, 1 on an error, 2 on a usage error.\n"};

const ProgramText kWin32Text{
    "brannock.exe",
    "Browses the COM registrations of this machine, and renders type libraries\n"
    "as Object Pascal declaration units.\n",
    "Other parameters are ignored. Exit status: 0 when the window was closed or\n"
    "the list files were written, 1 on an error, 2 on a usage error.\n"};

}  // namespace

std::span<const OptionSpec> OptionTable() {
  static const std::vector<OptionSpec> table = MakeTable();
  return table;
}

const OptionSpec* FindOption(std::string_view name, Program program) {
  for (const OptionSpec& option : OptionTable())
    if ((option.programs & program) != 0 && option.kind != OptionKind::Batch &&
        (option.name == name || (!option.alias.empty() && option.alias == name)))
      return &option;
  return nullptr;
}

const ProgramText& TextOf(Program program) {
  switch (program) {
    case kCli: return kCliText;
    case kQtWindow: return kQtText;
    case kWin32Window: break;
  }
  return kWin32Text;
}

size_t ValueCount(const OptionSpec& option) {
  size_t count = 0;
  bool inWord = false;
  for (char c : option.values) {
    if (c != ' ' && !inWord) ++count;
    inWord = c != ' ';
  }
  return count;
}

}  // namespace brannock::startup
