// Loads a type library file with the project's reader and walks every type,
// member, name and doc string, ten times; then renders it as a declaration
// unit ten times. Prints the time per run.
//   typelib_reader_bench FILE [--prefix WINEPREFIX]
// With a prefix, FILE may be a Windows path and imports resolve through the
// prefix's registry; otherwise they resolve beside FILE.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <optional>

#include "registry/registry_source.h"
#include "typelib/file_loader.h"
#include "support/typelib_walk.h"
#include "typelib/unit_text.h"

using namespace brannock;
using namespace brannock::typelib;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: typelib_reader_bench FILE [--prefix WINEPREFIX]\n");
    return 2;
  }
  const Text file = Utf8ToUtf16(argv[1]);
  std::optional<registry::RegistrySource> source;
  PathMapper mapper;
  if (argc >= 4 && std::strcmp(argv[2], "--prefix") == 0) {
    source = registry::OpenRegistryPath(argv[3]);
    mapper = PathMapper::ForWinePrefix(argv[3]);
  }
  FileTypeLibLoader loader(source ? source->backend.get() : nullptr, mapper);
  constexpr int kRuns = 10;

  WalkCounts counts;
  auto start = Clock::now();
  std::clock_t cpuStart = std::clock();
  for (int i = 0; i < kRuns; ++i) {
    std::shared_ptr<TypeLib> lib;
    const HRESULT hr = loader.LoadTypeLib(file, &lib);
    if (Failed(hr)) {
      std::fprintf(stderr, "cannot load %s: 0x%08X\n", argv[1], static_cast<unsigned>(hr));
      return 1;
    }
    counts = WalkTypeLib(*lib);
  }
  const double walkMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRuns;
  const double walkCpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / kRuns;

  size_t lines = 0;
  start = Clock::now();
  cpuStart = std::clock();
  for (int i = 0; i < kRuns; ++i) {
    std::shared_ptr<TypeLib> lib;
    if (Failed(loader.LoadTypeLib(file, &lib))) return 1;
    UnitHeader header;
    header.fileName = file;
    TextList unit;
    TypeLibToStrings(header, *lib, &unit);
    lines = unit.size();
  }
  const double renderMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kRuns;
  const double renderCpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / kRuns;

  std::printf("%s: %zu types, %zu functions, %zu variables, %zu names, %zu references, %zu failed calls\n", argv[1],
              counts.types, counts.funcs, counts.vars, counts.names, counts.references, counts.failures);
  // Processor time beside elapsed time: the elapsed figure grows when other
  // work shares the machine.
  std::printf("load and walk: %.1f ms per run, %.1f ms processor time (%d runs)\n", walkMs, walkCpuMs, kRuns);
  std::printf("load and render: %.1f ms per run, %.1f ms processor time (%zu lines, %d runs)\n", renderMs,
              renderCpuMs, lines, kRuns);
  return 0;
}
