#include "app/cli/render_command.h"

#include <cstdio>

namespace brannock::cli {

int RunRenderCommand(const RenderRequest&, registry::RegistrySource*) {
  std::fputs("brannock-cli: no type library reader is available on this platform\n", stderr);
  return 3;
}

}  // namespace brannock::cli
