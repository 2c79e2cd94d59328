// The render command of brannock-cli: prints a type library's declaration
// unit to standard output.
#pragma once

#include <cstdint>
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

// Returns the process exit code; errors go to standard error. `source` is the
// chosen registry source (for registered libraries), or null on the live
// Windows registry.
int RunRenderCommand(const RenderRequest& request, registry::RegistrySource* source);

}  // namespace brannock::cli
