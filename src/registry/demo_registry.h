// The demo registry built into the program (data/demo.reg, embedded at build
// time), so that the demo works wherever the binary is.
#pragma once

#include <string_view>

namespace brannock::registry {

// The bytes of data/demo.reg.
std::string_view DemoRegistryBytes();

}  // namespace brannock::registry
