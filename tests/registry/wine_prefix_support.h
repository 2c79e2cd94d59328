// A real Wine prefix for the tests, made by `wineboot -i` once per build tree
// (in the build folder, under a lock, so parallel test processes share it).
#pragma once

#include <filesystem>
#include <optional>

namespace brannock::testing {

// The prefix folder; nothing when Wine is not installed. Throws when Wine is
// installed but the prefix cannot be made.
std::optional<std::filesystem::path> SharedWinePrefix();

}  // namespace brannock::testing
