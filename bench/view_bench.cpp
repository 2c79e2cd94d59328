// Registry view benchmark: the batch export (-SA -SI -SO -ST) of a large
// .reg export in the 64-bit view and in the 32-bit view, and the cost of the
// 32-bit view over the 64-bit one (goal: under 1.5 x). Each time is the
// fastest of five runs, the views taking turns; the export is loaded once.
//
//   view_bench [FILE.reg]
//
// Without an argument, or when the file does not exist yet, the export is
// generated with tools/gen_synthetic_registry.py --wow64 (every class and
// interface registered in both views).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/batch_mode.h"
#include "registry/registry_source.h"
#include "registry/viewed_registry.h"

namespace fs = std::filesystem;
using namespace brannock;

namespace {

using Clock = std::chrono::steady_clock;

bool Generate(const fs::path& reg) {
  const fs::path script = fs::path(__FILE__).parent_path().parent_path() / "tools" / "gen_synthetic_registry.py";
  const std::string command = "python3 '" + script.string() + "' --wow64 --reg '" + reg.string() + "'";
  std::printf("generating %s\n", reg.c_str());
  return std::system(command.c_str()) == 0 && fs::exists(reg);
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

}  // namespace

int main(int argc, char** argv) {
  const fs::path reg = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "brannock-synthetic-wow64.reg";
  if (!fs::exists(reg) && !Generate(reg)) {
    std::fprintf(stderr, "cannot generate %s\n", reg.c_str());
    return 1;
  }
  try {
    const auto start = Clock::now();
    registry::RegistrySource source = registry::OpenRegistryPath(reg);
    std::printf("file                  %s (%.1f MB)\n", reg.c_str(), fs::file_size(reg) / 1e6);
    std::printf("load                  %8.3f s\n", Seconds(start));
    const fs::path out = fs::temp_directory_path() / ("brannock-view-bench-" + std::to_string(::getpid()));
    fs::create_directories(out);
    BatchSwitches all;
    all.SA = all.SI = all.SO = all.ST = true;
    // The two views take turns, so that a change in the machine's load
    // meets both alike; each keeps its fastest run.
    registry::ViewedRegistry view64(*source.backend, registry::RegistryView::Bits64);
    registry::ViewedRegistry view32(*source.backend, registry::RegistryView::Bits32);
    Catalogue cat64(view64);
    Catalogue cat32(view32);
    double seconds[2] = {0, 0};
    for (int run = 0; run < 5; ++run) {
      for (int v = 0; v < 2; ++v) {
        const auto begin = Clock::now();
        RunBatch(v == 0 ? cat64 : cat32, all, out);
        const double t = Seconds(begin);
        if (run == 0 || t < seconds[v]) seconds[v] = t;
      }
    }
    for (int v = 0; v < 2; ++v) {
      const Catalogue& cat = v == 0 ? cat64 : cat32;
      std::printf("batch, %s view     %8.3f s  (%zu classes, %zu interfaces, %zu libraries, %zu AppIDs)\n",
                  v == 0 ? "64-bit" : "32-bit", seconds[v], cat.OCList.size(), cat.IFList.size(), cat.TLList.size(),
                  cat.AIList.size());
    }
    fs::remove_all(out);
    std::printf("32-bit over 64-bit    %8.2f x  (goal: under 1.5 x)\n", seconds[1] / seconds[0]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
  return 0;
}
