// The render command of brannock-cli: prints a type library's declaration
// unit (Object Pascal) or its IDL to standard output, one line each in
// UTF-8 with "\n" line ends.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/registry_backend.h"

namespace brannock::registry {
struct RegistrySource;
}
namespace brannock::typelib {
class TypeLib;
class TypeLibLoader;
}

namespace brannock::cli {

// The notation a library is rendered in.
enum class RenderLanguage { Pascal, Idl };

struct RenderRequest {
  // --render FILE
  std::optional<std::string> file;
  // --render-typelib {GUID} MAJOR.MINOR
  std::optional<std::string> typeLibGuid;
  // --list-typelibs FILE
  std::optional<std::string> listFile;
  std::string version;
  // --language pascal|idl
  RenderLanguage language = RenderLanguage::Pascal;
  // --drive LETTER=DIR, as given: Windows drives mapped to host folders for
  // the paths found in the registry (beside a Wine prefix's own drives).
  std::vector<std::string> drives;
};

// Returns the process exit code: 0 on success, 1 when the library does not
// load (its error text on standard error), 2 on a bad request (an invalid
// GUID text), 3 when the platform has no type library reader. `source` is the
// chosen registry source (for registered libraries; a Wine prefix also maps
// Windows paths to host files), or null on the live Windows registry;
// `view` the registry view registered libraries are looked up in. `end`,
// when given, is called with the exit code once the output is written,
// while the library is still loaded, and its result returned: the program
// passes platform::EndProcessNow, so that the library is never taken apart.
int RunRenderCommand(const RenderRequest& request, registry::RegistrySource* source,
                     registry::RegistryView view = registry::RegistryView::Bits64, int (*end)(int) = nullptr);

// The work of the command with a given loader: the unit's lines (each ending
// in "\n", UTF-8) into `out`, a message line into `err`; the same exit codes.
// A file request renders the record of a library opened from a file (empty
// uid, version 0.0); a registered one the record of that GUID and version.
// `loaded`, when given, receives the library, so that the caller decides
// when it is freed. With `stream`, the unit is written to it in blocks of
// 64 KiB as it is made, and `out` is left with the last, partial block for
// the caller to write.
int RenderTypeLibrary(const RenderRequest& request, typelib::TypeLibLoader& loader, std::string* out,
                      std::string* err, std::shared_ptr<typelib::TypeLib>* loaded = nullptr,
                      std::FILE* stream = nullptr);

// --list-typelibs: one line per TYPELIB resource of the file, "N NAME
// {GUID} MAJOR.MINOR" (a resource that does not load: "N" and its error
// text); the same exit codes.
int ListTypeLibraries(const RenderRequest& request, typelib::TypeLibLoader& loader, std::string* out,
                      std::string* err);

constexpr int kRenderExitLoadFailed = 1;
constexpr int kRenderExitBadRequest = 2;
constexpr int kRenderExitNoReader = 3;

}  // namespace brannock::cli
