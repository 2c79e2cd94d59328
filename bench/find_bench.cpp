// Find and References benchmark.
//
//   find_bench synthetic [INTERFACES]   the synthetic registry of the window
//                                       benchmarks (40,000 interfaces): the
//                                       index, then Find keystroke by keystroke
//   find_bench libraries [REGISTRY]     a registry source (a Wine prefix; on
//                                       Windows the live registry): the index
//                                       and the scan of every registered library
//
// Memory is what the program holds through operator new: the registry's
// store, the index and the finder, each as the growth it caused.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>

#include "analysis/catalogue_analysis.h"
#include "registry/registry_source.h"
#include "support/synthetic_interfaces.h"
#include "typelib/loader.h"
#include "ui/logic/find_window.h"

using namespace brannock;

namespace {

std::atomic<long long> gHeld{0};

struct alignas(std::max_align_t) Header {
  size_t size;
};

}  // namespace

// Every allocation carries its size, so that what is held can be counted.
void* operator new(size_t size) {
  auto* h = static_cast<Header*>(std::malloc(sizeof(Header) + size));
  if (!h) throw std::bad_alloc();
  h->size = size;
  gHeld += static_cast<long long>(size);
  return h + 1;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  Header* h = static_cast<Header*>(p) - 1;
  gHeld -= static_cast<long long>(h->size);
  std::free(h);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }
double MiB(long long bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// Types `text` character by character and times each search with the rows a
// window shows.
void Keystrokes(const analysis::ObjectFinder& finder, const analysis::RegistrationIndex& index, const std::string& text) {
  std::printf("typing \"%s\":\n", text.c_str());
  for (size_t n = 1; n <= text.size(); ++n) {
    const Text typed = Utf8ToUtf16(text.substr(0, n));
    const auto start = Clock::now();
    const analysis::FindResult result = finder.Find(typed);
    const std::vector<ui::FindRow> rows = ui::FindRows(index, result);
    std::printf("  %-16s %7.2f ms  %5zu rows%s\n", text.substr(0, n).c_str(), Ms(start), rows.size(),
                result.more ? " (more)" : "");
  }
}

int Synthetic(int interfaces) {
  const long long before = gHeld;
  auto start = Clock::now();
  std::unique_ptr<registry::MemoryStore> store = testing::SyntheticInterfaces(interfaces);
  std::printf("synthetic registry   %d interfaces, made in %.0f ms, holds %.1f MiB\n", interfaces, Ms(start),
              MiB(gHeld - before));
  Catalogue catalogue(*store);
  catalogue.ReadList(TObjectType::otInterface);
  const long long withLists = gHeld;
  analysis::CatalogueAnalysis analysis(catalogue);
  start = Clock::now();
  const analysis::RegistrationIndex& index = analysis.Index();
  std::printf("index                %.0f ms, holds %.1f MiB\n", Ms(start), MiB(gHeld - withLists));
  const long long withIndex = gHeld;
  start = Clock::now();
  const analysis::ObjectFinder& finder = analysis.Finder();
  std::printf("finder               %.0f ms, holds %.1f MiB\n", Ms(start), MiB(gHeld - withIndex));
  Keystrokes(finder, index, "IQInterface1");
  Keystrokes(finder, index, "{5E9D");
  Keystrokes(finder, index, "oleaut32");
  return 0;
}

int Libraries(const std::optional<std::filesystem::path>& path) {
  registry::RegistrySource source = registry::OpenRegistrySource(path);
  std::printf("registry             %s\n", Utf16ToUtf8(source.Description()).c_str());
  const bool live = source.kind == registry::RegistrySource::Kind::Live;
  std::unique_ptr<typelib::TypeLibLoader> loader = typelib::CreateTypeLibLoader(
      live ? nullptr : source.backend.get(),
      source.kind == registry::RegistrySource::Kind::WinePrefix ? source.path : std::filesystem::path());
  Catalogue catalogue(*source.backend);
  catalogue.CaptureEnvironment();
  analysis::CatalogueAnalysis analysis(catalogue);
  const long long before = gHeld;
  auto start = Clock::now();
  const analysis::RegistrationIndex& index = analysis.Index();
  std::printf("index                %.0f ms (%zu classes, %zu interfaces, %zu libraries), holds %.1f MiB\n",
              Ms(start), index.classes.size(), index.interfaces.size(), index.typeLibs.size(),
              MiB(gHeld - before));
  const long long withIndex = gHeld;
  start = Clock::now();
  analysis::LibraryScan& scan = analysis.Libraries();
  scan.ReadAll(*loader);
  size_t failed = 0, types = 0;
  for (const analysis::ScannedLibrary& lib : scan.Libraries()) {
    failed += typelib::Failed(lib.result);
    types += lib.types.size();
  }
  std::printf("library scan         %.0f ms: %zu libraries (%zu failed), %zu types, holds %.1f MiB\n", Ms(start),
              scan.Total(), failed, types, MiB(gHeld - withIndex));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "synthetic";
  try {
    if (mode == "synthetic") return Synthetic(argc > 2 ? std::atoi(argv[2]) : 40000);
    if (mode == "libraries") return Libraries(argc > 2 ? std::optional<std::filesystem::path>(argv[2]) : std::nullopt);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "find_bench: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: find_bench synthetic [INTERFACES] | libraries [REGISTRY]\n");
  return 2;
}
