// The render command of brannock-cli: prints a type library's declaration
// unit to standard output, one line each in UTF-8 with "\n" line ends.
#pragma once

#include <optional>
#include <string>

namespace brannock::registry {
struct RegistrySource;
}

namespace brannock::cli {

struct RenderRequest {
  // --render FILE
  std::optional<std::string> file;
  // --render-typelib {GUID} MAJOR.MINOR
  std::optional<std::string> typeLibGuid;
  std::string version;
};

// Returns the process exit code: 0 on success, 1 when the library does not
// load (its error text on standard error), 2 on a bad request (an invalid
// GUID text), 3 when the platform has no type library reader. `source` is the
// chosen registry source (for registered libraries; a Wine prefix also maps
// Windows paths to host files), or null on the live Windows registry.
int RunRenderCommand(const RenderRequest& request, registry::RegistrySource* source);

}  // namespace brannock::cli
