// Support of the command tests: what a command printed, and the real
// registry files of ../shared/fixtures/real/registry (written by other tools
// on real machines: regedit, Windows itself, forensic test suites).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "registry/registry_parse_error.h"
#include "registry/registry_source.h"

namespace brannock::testing {

// What a command printed on the stream it was given.
template <typename Run>
std::string Captured(Run run) {
  std::FILE* f = std::tmpfile();
  run(f);
  std::string text;
  std::rewind(f);
  for (int ch; (ch = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(ch));
  std::fclose(f);
  return text;
}

// ../shared/fixtures/real/registry beside the checkout.
inline std::filesystem::path RealRegistryDir() {
  return std::filesystem::path(BRANNOCK_TEST_DATA).parent_path().parent_path().parent_path() / "shared" /
         "fixtures" / "real" / "registry";
}

struct RealSource {
  std::filesystem::path path;
  std::string name;  // the file's name
  registry::RegistrySource source;
};

// Every file below RealRegistryDir() that reads as a registry; the damaged
// ones, which the registry tests name, are left out.
inline std::vector<RealSource> ReadableRealSources() {
  std::vector<RealSource> sources;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(RealRegistryDir())) {
    if (!entry.is_regular_file()) continue;
    try {
      sources.push_back({entry.path(), entry.path().filename().string(), registry::OpenRegistryPath(entry.path())});
    } catch (const registry::RegistryParseError&) {
    }
  }
  return sources;
}

}  // namespace brannock::testing
