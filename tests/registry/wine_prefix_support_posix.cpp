#include "wine_prefix_support.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace brannock::testing {

namespace {

std::string Quoted(const std::filesystem::path& p) {
  std::string out = "'";
  for (char c : p.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::optional<std::filesystem::path> SharedWinePrefix() {
  if (std::system("command -v wineboot >/dev/null 2>&1 && command -v wineserver >/dev/null 2>&1") != 0)
    return std::nullopt;
  const std::filesystem::path prefix = std::filesystem::path(BRANNOCK_BINARY_DIR) / "tests" / "registry-wine-prefix";
  std::filesystem::create_directories(prefix.parent_path());
  const std::string lockName = prefix.string() + ".lock";
  const int lock = ::open(lockName.c_str(), O_CREAT | O_RDWR, 0644);
  if (lock < 0 || ::flock(lock, LOCK_EX) != 0) throw std::runtime_error("cannot lock " + lockName);
  const std::filesystem::path ready = prefix / "brannock-ready";
  if (!std::filesystem::exists(ready)) {
    std::filesystem::remove_all(prefix);
    std::filesystem::create_directories(prefix);
    const std::string env = "WINEPREFIX=" + Quoted(prefix) + " WINEDEBUG=-all ";
    const std::string command = env + "wineboot -i >/dev/null 2>&1; " + env + "wineserver -w";
    if (std::system(command.c_str()) != 0 || !std::filesystem::exists(prefix / "system.reg")) {
      ::close(lock);
      throw std::runtime_error("wineboot could not make " + prefix.string());
    }
    std::ofstream(ready) << "made by wineboot -i\n";
  }
  ::close(lock);
  return prefix;
}

}  // namespace brannock::testing
