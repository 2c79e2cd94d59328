#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/program_output.h"

extern char** environ;

namespace brannock::platform {

namespace {

// A temporary file removed when the holder ends.
class TempOutput {
 public:
  TempOutput() {
    const char* dir = std::getenv("TMPDIR");
    path_ = std::string(dir && *dir ? dir : "/tmp") + "/brannock-output.XXXXXX";
    fd_ = mkstemp(path_.data());
  }
  ~TempOutput() {
    if (fd_ >= 0) {
      close(fd_);
      unlink(path_.c_str());
    }
  }
  TempOutput(const TempOutput&) = delete;
  TempOutput& operator=(const TempOutput&) = delete;

  int fd() const { return fd_; }

  std::string ReadAll() const {
    std::string out;
    char buffer[4096];
    if (lseek(fd_, 0, SEEK_SET) < 0) return out;
    for (;;) {
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      out.append(buffer, static_cast<size_t>(n));
    }
    return out;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

// True when the child ended before the limit; false after killing it.
bool WaitUpTo(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const pid_t done = waitpid(pid, nullptr, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return true;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  return false;
}

}  // namespace

std::optional<std::string> RunProgramOutput(const TextList& argv, const TextList& environment,
                                            std::chrono::milliseconds limit) {
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  // env(1) adds the entries, so the inherited environment stays as it is.
  std::vector<std::string> args;
  if (!environment.empty()) {
    args.push_back("env");
    for (const Text& e : environment) args.push_back(Utf16ToUtf8(e));
  }
  for (const Text& a : argv) args.push_back(Utf16ToUtf8(a));
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  TempOutput output;
  if (output.fd() < 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output.fd(), STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return std::nullopt;
  if (!WaitUpTo(pid, limit)) return std::nullopt;
  return output.ReadAll();
}

}  // namespace brannock::platform
