// Comparison benchmark: two large synthetic exports that differ in 1 % of
// their objects (tools/gen_synthetic_registry.py, --vary 1), compared in
// this process step by step: both loads, the comparison, the report. The
// whole brannock-cli process is timed by scripts/bench-compare.sh.
//
//   registry_compare_bench [BEFORE.reg NOW.reg]
//
// Without arguments the two files (58 MB each) are generated in the
// temporary folder unless they are there already.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "analysis/comparison_text.h"
#include "registry/registry_source.h"

namespace fs = std::filesystem;
using namespace brannock;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double PeakRssMb() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The sizes that make a 58 MB export.
constexpr const char* kSizes = "--classes 16400 --interfaces 32800 --typelibs 2460 --appids 2460";

bool Generate(const fs::path& reg, const char* extra) {
  const fs::path script = fs::path(__FILE__).parent_path().parent_path() / "tools" / "gen_synthetic_registry.py";
  const std::string command =
      "python3 '" + script.string() + "' --reg '" + reg.string() + "' " + kSizes + " " + extra;
  std::printf("generating %s\n", reg.c_str());
  return std::system(command.c_str()) == 0 && fs::exists(reg);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path before = argc > 2 ? fs::path(argv[1]) : fs::temp_directory_path() / "brannock-compare-before.reg";
  const fs::path now = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "brannock-compare-now.reg";
  if ((!fs::exists(before) && !Generate(before, "")) || (!fs::exists(now) && !Generate(now, "--vary 1"))) {
    std::fprintf(stderr, "cannot generate the exports\n");
    return 1;
  }
  const double megabytes = static_cast<double>(fs::file_size(before) + fs::file_size(now)) / 1e6;
  try {
    auto start = Clock::now();
    registry::RegistrySource earlier = registry::OpenRegistryPath(before);
    registry::RegistrySource later = registry::OpenRegistryPath(now);
    const double load = Seconds(start);
    start = Clock::now();
    const analysis::RegistryComparison result = analysis::CompareRegistries(*earlier.backend, *later.backend);
    const double compare = Seconds(start);
    start = Clock::now();
    const size_t reportChars = analysis::ComparisonReport(result).size();
    const size_t csvChars = analysis::ComparisonCsv(result).size();
    const double text = Seconds(start);
    std::printf("files                %s, %s (%.1f MB together)\n", before.c_str(), now.c_str(), megabytes);
    std::printf("load both            %8.3f s\n", load);
    std::printf("compare              %8.3f s  (%s)\n", compare,
                Utf16ToUtf8(analysis::ComparisonCountsText(result.counts)).c_str());
    std::printf("report and CSV       %8.3f s  (%zu and %zu characters)\n", text, reportChars, csvChars);
    std::printf("in this process      %8.3f s\n", load + compare + text);
    const double peak = PeakRssMb();
    std::printf("peak memory          %8.1f MB  (%.2f x the two files; goal: under 3 x)\n", peak, peak / megabytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
