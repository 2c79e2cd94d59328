#include "app/cli/cli_options.h"

#include "platform/files.h"
#include "registry/viewed_registry.h"
#include "typelib/path_mapper.h"

namespace brannock::cli {

std::filesystem::path PathFromArgument(const std::string& arg) { return platform::HostPathFromArgument(arg); }

namespace {

// "--name value" or "--name=value"; false when this is not the option.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
               std::string& error) {
  const std::string& arg = args[i];
  if (arg.compare(0, name.size() + 1, name + "=") == 0) {
    value = arg.substr(name.size() + 1);
  } else if (arg != name) {
    return false;
  } else if (i + 1 < args.size()) {
    value = args[++i];
  }
  // An empty path would silently mean the current folder.
  if (value.empty()) error = "option '" + name + "' needs a value";
  return true;
}

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
  options = CliOptions();
  error.clear();
  for (size_t i = 0; i < args.size() && error.empty(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (arg.empty()) continue;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (TakeValue(args, i, "--registry", value, error)) {
      options.registryPath = PathFromArgument(value);
    } else if (TakeValue(args, i, "--view", value, error)) {
      options.view = registry::ViewFromText(Utf8ToUtf16(value));
      if (!options.view && error.empty()) error = "option '--view' needs 32 or 64, not '" + value + "'";
    } else if (TakeValue(args, i, "--out-dir", value, error)) {
      options.outDir = PathFromArgument(value);
    } else if (TakeValue(args, i, "--drive", value, error)) {
      if (!typelib::PathMapper().AddDriveOption(Utf8ToUtf16(value)))
        error = "option '--drive' needs LETTER=DIR or \\\\SERVER\\SHARE=DIR, not '" + value + "'";
      else
        options.render.drives.push_back(value);
    } else if (TakeValue(args, i, "--show", value, error)) {
      options.show = value;
    } else if (TakeValue(args, i, "--render", value, error)) {
      options.render.file = value;
    } else if (TakeValue(args, i, "--list-typelibs", value, error)) {
      options.render.listFile = value;
    } else if (arg == "--render-typelib") {
      if (i + 2 >= args.size()) {
        error = "option '--render-typelib' needs a GUID and a version";
      } else {
        options.render.typeLibGuid = args[i + 1];
        options.render.version = args[i + 2];
        i += 2;
      }
    } else if (const BatchSwitches s = FindBatchSwitches({Utf8ToUtf16(arg)}); s.Any()) {
      options.switches.SA = options.switches.SA || s.SA;
      options.switches.SI = options.switches.SI || s.SI;
      options.switches.SO = options.switches.SO || s.SO;
      options.switches.ST = options.switches.ST || s.ST;
    } else {
      error = "unknown argument '" + arg + "'";
    }
  }
  if (error.empty() && (options.render.file.has_value() + options.render.typeLibGuid.has_value() +
                        options.render.listFile.has_value()) > 1)
    error = "only one of '--render', '--render-typelib' and '--list-typelibs' can be given";
  if (error.empty() && options.show && options.HasRender())
    error = "'--show' and the render options cannot be given together";
  return error.empty();
}

std::string UsageText() {
  return "Usage: brannock-cli [OPTIONS] [-SA] [-SI] [-SO] [-ST]\n"
         "       brannock-cli [--registry PATH] --render FILE\n"
         "       brannock-cli [--registry PATH] --render-typelib {GUID} MAJOR.MINOR\n"
         "       brannock-cli [--registry PATH] --list-typelibs FILE\n"
         "       brannock-cli [--registry PATH] --show TEXT\n"
         "\n"
         "Writes the list files of the COM registrations, renders a type library as\n"
         "an Object Pascal declaration unit on standard output, or shows the registry\n"
         "keys of an object.\n"
         "\n"
         "List files (switches after \"-\" or \"/\", any letter case, in this order):\n"
         "  SA                application IDs      -> AppIds.csv\n"
         "  SI                interfaces           -> Intfs.csv\n"
         "  SO                object classes       -> ObjClasses.csv\n"
         "  ST                type libraries       -> TypeLibs.csv\n"
         "\n"
         "Options:\n"
         "  --registry PATH   registry to read: a Wine prefix folder, a .reg export or\n"
         "                    a hive file (default: $WINEPREFIX, ~/.wine, the demo\n"
         "                    registry; the live registry on Windows)\n"
         "  --view 32|64      the registrations of 32-bit or of 64-bit programs\n"
         "                    (default: 64 on a registry of 64-bit Windows, 32 on one\n"
         "                    of 32-bit Windows)\n"
         "  --out-dir DIR     folder for the list files (default: the program's folder)\n"
         "  --render FILE     render the type library in FILE (.tlb, .dll, .ocx, .exe;\n"
         "                    FILE\\N for resource N)\n"
         "  --render-typelib {GUID} MAJOR.MINOR\n"
         "                    render a registered type library\n"
         "  --list-typelibs FILE\n"
         "                    list the type libraries of FILE: resource number, name,\n"
         "                    GUID and version, one a line\n"
         "  --drive LETTER=DIR, --drive \\\\SERVER\\SHARE=DIR\n"
         "                    map a Windows drive or network share to a host folder\n"
         "                    for the paths found in the registry (repeatable)\n"
         "  --verbose         name the registry read on standard error\n"
         "  --show TEXT       print the details of every object whose GUID (any case,\n"
         "                    braces optional) or name is TEXT, as the window's\n"
         "                    \"Copy to Clipboard\" gives them\n"
         "  --help            show this text\n"
         "  --version         show the program's version\n"
         "\n"
         "Exit status: 0 on success, 1 on an error (reported on standard error; list\n"
         "files written before it stay) or when no object matches --show, 2 on a\n"
         "usage error.\n";
}

}  // namespace brannock::cli
