#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/command_line.h"
#include "platform/process.h"

extern char** environ;

namespace brannock::platform {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t last = path.rfind('/');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// The inherited environment with the additions replacing entries of the
// same name.
std::vector<std::string> MergedEnvironment(const TextList& additions) {
  std::vector<std::string> added;
  for (const Text& a : additions) added.push_back(Utf16ToUtf8(a));
  std::vector<std::string> merged;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    const std::string entry(*e);
    bool replaced = false;
    for (const std::string& a : added) replaced = replaced || NameOf(a) == NameOf(entry);
    if (!replaced) merged.push_back(entry);
  }
  merged.insert(merged.end(), added.begin(), added.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Waits for the child at most kRunProcessWaitMs. One that runs longer is
// left running, and a detached thread collects it when it ends, so it does
// not stay behind as a zombie.
void WaitAWhile(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRunProcessWaitMs);
  for (;;) {
    const pid_t done = waitpid(pid, nullptr, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::thread([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

bool RunProgram(const TextList& argv, const TextList& environment, const std::optional<Text>& workingDirectory) {
  if (argv.empty() || argv.front().empty()) return false;
  std::vector<std::string> args;
  for (const Text& a : argv) args.push_back(Utf16ToUtf8(a));
  std::vector<std::string> env = MergedEnvironment(environment);
  std::vector<char*> argPointers = Pointers(args);
  std::vector<char*> envPointers = Pointers(env);

  const std::string folder = workingDirectory ? Utf16ToUtf8(*workingDirectory) : std::string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = 0;
  const bool searchPath = args.front().find('/') == std::string::npos;
  const int rc = searchPath ? posix_spawnp(&pid, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data())
                            : posix_spawn(&pid, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  WaitAWhile(pid);
  return true;
}

bool RunProcess(TextView executable, TextView parameters, int showMode, const ProcessLauncher& launcher) {
  if (launcher.command.empty() && launcher.environment.empty()) return RunProcess(executable, parameters, showMode);
  TextList argv = launcher.command;
  argv.emplace_back(executable);
  for (Text& p : SplitCommandLine(parameters)) argv.push_back(std::move(p));
  return RunProgram(argv, launcher.environment, std::nullopt);
}

bool RunProcess(TextView executable, TextView parameters, int) {
  TextList argv{Text(executable)};
  for (Text& p : SplitCommandLine(parameters)) argv.push_back(std::move(p));
  const std::string folder = FolderOf(Utf16ToUtf8(executable));
  return RunProgram(argv, {}, folder.empty() ? std::nullopt : std::optional<Text>(Utf8ToUtf16(folder)));
}

// Off Windows there is no 32-bit system folder: a Windows tool of a Wine
// prefix is named by the prefix's own path.
Text Wow64SystemFolder() { return {}; }

}  // namespace brannock::platform
