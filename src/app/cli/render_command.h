// The render command of brannock-cli: prints a type library's declaration
// unit to standard output, one line each in UTF-8 with "\n" line ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brannock::registry {
class RegistryBackend;
}

namespace brannock::cli {

struct RenderRequest {
  // --render FILE
  std::optional<std::string> file;
  // --render-typelib {GUID} MAJOR.MINOR
  std::optional<std::string> typeLibGuid;
  std::string version;
  // The registry source for registered libraries: null is the live Windows
  // registry. `winePrefix` (may be empty) maps Windows paths to host files.
  registry::RegistryBackend* registry = nullptr;
  std::filesystem::path winePrefix;
};

// Returns the process exit code: 0 on success, 1 when the library does not
// load (its error text on standard error), 2 on a bad request (an invalid
// GUID text), 3 when the platform has no type library reader.
int RunRenderCommand(const RenderRequest& request);

}  // namespace brannock::cli
