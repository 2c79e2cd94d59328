// The render command of brannock-cli: prints a type library's declaration
// unit to standard output, one line each in UTF-8 with "\n" line ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/registry_backend.h"

namespace brannock::registry {
struct RegistrySource;
}
namespace brannock::typelib {
class TypeLibLoader;
}

namespace brannock::cli {

struct RenderRequest {
  // --render FILE
  std::optional<std::string> file;
  // --render-typelib {GUID} MAJOR.MINOR
  std::optional<std::string> typeLibGuid;
  // --list-typelibs FILE
  std::optional<std::string> listFile;
  std::string version;
  // --drive LETTER=DIR, as given: Windows drives mapped to host folders for
  // the paths found in the registry (beside a Wine prefix's own drives).
  std::vector<std::string> drives;
};

// Returns the process exit code: 0 on success, 1 when the library does not
// load (its error text on standard error), 2 on a bad request (an invalid
// GUID text), 3 when the platform has no type library reader. `source` is the
// chosen registry source (for registered libraries; a Wine prefix also maps
// Windows paths to host files), or null on the live Windows registry;
// `view` the registry view registered libraries are looked up in.
int RunRenderCommand(const RenderRequest& request, registry::RegistrySource* source,
                     registry::RegistryView view = registry::RegistryView::Bits64);

// The work of the command with a given loader: the unit's lines (each ending
// in "\n", UTF-8) into `out`, a message line into `err`; the same exit codes.
// A file request renders the record of a library opened from a file (empty
// uid, version 0.0); a registered one the record of that GUID and version.
int RenderTypeLibrary(const RenderRequest& request, typelib::TypeLibLoader& loader, std::string* out,
                      std::string* err);

// --list-typelibs: one line per TYPELIB resource of the file, "N NAME
// {GUID} MAJOR.MINOR" (a resource that does not load: "N" and its error
// text); the same exit codes.
int ListTypeLibraries(const RenderRequest& request, typelib::TypeLibLoader& loader, std::string* out,
                      std::string* err);

constexpr int kRenderExitLoadFailed = 1;
constexpr int kRenderExitBadRequest = 2;
constexpr int kRenderExitNoReader = 3;

}  // namespace brannock::cli
