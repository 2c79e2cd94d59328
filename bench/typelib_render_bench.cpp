// Loads and renders one type library with the platform's loader, inside one
// process, and prints the time of each run: oleaut32 in the Windows build
// (also under Wine), the project's file reader elsewhere. The same source
// built for both lets the two be compared without process start-up.
//   typelib_render_bench FILE [RUNS] [--registry SOURCE]
// Without --registry the Windows build uses the live registry and the POSIX
// build its default source ($WINEPREFIX, ~/.wine, the demo registry).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "registry/registry_source.h"
#include "typelib/loader.h"
#include "typelib/unit_text.h"

using namespace brannock;
using namespace brannock::typelib;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: typelib_render_bench FILE [RUNS] [--registry SOURCE]\n");
    return 2;
  }
  int runs = 10;
  std::optional<std::filesystem::path> registryPath;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--registry") == 0 && i + 1 < argc)
      registryPath = argv[++i];
    else
      runs = std::max(1, std::atoi(argv[i]));
  }
  registry::RegistrySource source = registry::OpenRegistrySource(registryPath);
  const bool live = source.kind == registry::RegistrySource::Kind::Live;
  const auto loader = CreateTypeLibLoader(
      live ? nullptr : source.backend.get(),
      source.kind == registry::RegistrySource::Kind::WinePrefix ? source.path : std::filesystem::path());
  if (!loader) {
    std::fprintf(stderr, "no type library loader on this platform\n");
    return 1;
  }
  UnitHeader header;
  header.fileName = Utf8ToUtf16(argv[1]);

  std::vector<double> ms;
  size_t lines = 0;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    std::shared_ptr<TypeLib> lib;
    const HRESULT hr = loader->LoadTypeLib(header.fileName, &lib);
    if (Failed(hr) || !lib) {
      std::fprintf(stderr, "cannot load %s: 0x%08X\n", argv[1], static_cast<unsigned>(hr));
      return 1;
    }
    TextList unit;
    TypeLibToStrings(header, *lib, &unit);
    lib.reset();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    lines = unit.size();
  }
  double total = 0;
  for (double m : ms) total += m;
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  std::printf("%s: %zu lines; load and render per run: mean %.1f ms, median %.1f ms, first %.1f ms (%d runs)\n",
              argv[1], lines, total / runs, sorted[sorted.size() / 2], ms.front(), runs);
  return 0;
}
