// Files for tests: a fresh folder per test, and a file's bytes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace brannock::testing {

// An empty folder named after the running test (and the process, so that
// parallel runs do not meet); the caller removes it.
inline std::filesystem::path FreshTestDir(const std::string& prefix) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline std::string ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace brannock::testing
