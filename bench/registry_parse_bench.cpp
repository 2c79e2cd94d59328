// Parse speed and peak memory of the registry file readers on a large
// synthetic registry (tools/gen_synthetic_registry.py: 20,000 classes,
// 40,000 interfaces, 3,000 type libraries, 3,000 application IDs).
//
//   registry_parse_bench                       generates the files in a temp folder
//   registry_parse_bench --reg X.reg --wine PREFIX
//
// Each format is parsed in a child process of its own, so that the peak
// resident set (getrusage ru_maxrss) belongs to that parse alone.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "registry/memory_store.h"
#include "registry/reg_file_parser.h"
#include "registry/wine_reg_parser.h"

using namespace brannock;
using namespace brannock::registry;

namespace {

size_t CountKeys(const MemoryStore::Node& node) {
  size_t n = 1;
  for (const auto& [key, child] : node.Children()) n += CountKeys(*child);
  return n;
}

void Measure(const char* label, const std::filesystem::path& file, const std::function<void(MemoryStore&)>& load) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    const double mb = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
    MemoryStore store;
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    try {
      load(store);
    } catch (const std::exception& e) {
      std::printf("%s: %s\n", label, e.what());
      std::_Exit(1);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    auto cpu = [](const rusage& u) {
      return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
             static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    const double cpuSeconds = cpu(usage) - cpu(before);
    std::printf(
        "%-12s %6.1f MB  wall %6.3f s = %6.1f MB/s  cpu %6.3f s = %6.1f MB/s  peak RSS %6.1f MB (%.2f x file)  "
        "%zu keys in HKCR\n",
        label, mb, seconds, mb / seconds, cpuSeconds, mb / cpuSeconds, peakMb, peakMb / mb,
        CountKeys(store.Root(RootKey::ClassesRoot)));
    std::fflush(stdout);
    std::_Exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path reg;
  std::filesystem::path prefix;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string opt = argv[i];
    if (opt == "--reg") reg = argv[i + 1];
    else if (opt == "--wine") prefix = argv[i + 1];
  }
  std::filesystem::path temp;
  if (reg.empty() && prefix.empty()) {
    temp = std::filesystem::temp_directory_path() / ("brannock-bench-" + std::to_string(getpid()));
    reg = temp / "synthetic.reg";
    prefix = temp / "prefix";
    const auto tool = std::filesystem::path(__FILE__).parent_path().parent_path() / "tools" / "gen_synthetic_registry.py";
    const std::string command = "python3 '" + tool.string() + "' --reg '" + reg.string() + "' --wine '" +
                                (prefix / "system.reg").string() + "'";
    std::printf("generating: %s\n", command.c_str());
    std::fflush(stdout);
    if (std::system(command.c_str()) != 0) return 1;
  }
  if (!reg.empty()) Measure(".reg export", reg, [&](MemoryStore& s) { LoadRegFile(reg, s); });
  if (!prefix.empty())
    Measure("Wine prefix", prefix / "system.reg", [&](MemoryStore& s) { LoadWinePrefix(prefix, s); });
  if (!temp.empty()) std::filesystem::remove_all(temp);
  return 0;
}
