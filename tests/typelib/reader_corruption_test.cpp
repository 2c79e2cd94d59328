// Damaged libraries: every fixture cut at many lengths and with bytes
// changed must give a failure code or a library whose every type and member
// can be walked; never a crash or a read outside the bytes (the tests run
// under AddressSanitizer).
#include <gtest/gtest.h>

#include <random>

#include "typelib/reader_fixtures.h"
#include "support/typelib_walk.h"

namespace brannock::typelib {
namespace {

using namespace testing;

struct Outcome {
  size_t loaded = 0;
  size_t failed = 0;
};

// Loads a damaged copy; the bytes live in their own vector so that a read
// past the end is caught.
void Try(const std::vector<uint8_t>& bytes, Outcome* outcome) {
  std::shared_ptr<TypeLib> lib;
  const HRESULT hr = OpenTypeLibBytes(bytes, 1, nullptr, &lib);
  if (Failed(hr)) {
    EXPECT_FALSE(lib);
    EXPECT_TRUE(hr == Code::TypeCantLoadLibrary || hr == Code::TypeInvDataRead || hr == Code::TypeUnsupFormat)
        << std::hex << hr;
    ++outcome->failed;
    return;
  }
  ASSERT_TRUE(lib);
  WalkTypeLib(*lib);
  ++outcome->loaded;
}

std::vector<uint8_t> ReadFixture(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadHostFile(path, &bytes)) << path;
  return bytes;
}

std::vector<std::filesystem::path> DamageTargets() {
  std::vector<std::filesystem::path> targets = {Fixture("shapes.tlb"), Fixture("minimal.tlb")};
  if (!WinePeDir().empty()) targets.push_back(WinePeDir() / "stdole2.tlb");
  // The older SLTG format, as real files carry it.
  if (!RealTypeLibDir().empty())
    for (const char* name : {"win8-wow64_stdole32.res1.sltg.tlb", "win8-wow64_olepro32.res1.sltg.tlb"})
      targets.push_back(RealTypeLibDir() / "extracted" / name);
  return targets;
}

TEST(ReaderCorruption, TruncatedLibrariesFailOrWalk) {
  REQUIRE_TLB_FIXTURES();
  for (const auto& path : DamageTargets()) {
    const std::vector<uint8_t> whole = ReadFixture(path);
    ASSERT_FALSE(whole.empty());
    Outcome outcome;
    // Every length in the headers, then a few hundred lengths spread over the rest.
    const size_t step = std::max<size_t>(1, whole.size() / 400);
    for (size_t length = 0; length < whole.size(); length += (length < 0x400 ? 1 : step))
      Try(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(length)), &outcome);
    EXPECT_GT(outcome.failed, 0u) << path;
    Try(whole, &outcome);
    EXPECT_GT(outcome.loaded, 0u) << path;
  }
}

TEST(ReaderCorruption, ChangedBytesFailOrWalk) {
  REQUIRE_TLB_FIXTURES();
  std::mt19937 random(20261209);
  for (const auto& path : DamageTargets()) {
    const std::vector<uint8_t> whole = ReadFixture(path);
    ASSERT_FALSE(whole.empty());
    Outcome outcome;
    // Single bytes set to values that make offsets and counts extreme: each
    // of the first bytes (headers), then some 500 places over the rest.
    const size_t step = std::max<size_t>(1, whole.size() / 500);
    for (size_t i = 0; i < whole.size(); i += (i < 0x100 ? 1 : step)) {
      for (uint8_t value : {uint8_t{0xFF}, uint8_t{0x80}}) {
        std::vector<uint8_t> damaged = whole;
        damaged[i] = value;
        Try(damaged, &outcome);
      }
    }
    // Random bursts of changed bytes.
    std::uniform_int_distribution<size_t> position(0, whole.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 600; ++round) {
      std::vector<uint8_t> damaged = whole;
      for (int k = 0; k < 1 + round % 8; ++k) damaged[position(random)] = static_cast<uint8_t>(byte(random));
      Try(damaged, &outcome);
    }
    EXPECT_GT(outcome.loaded, 0u) << path;
    EXPECT_GT(outcome.failed, 0u) << path;
  }
}

}  // namespace
}  // namespace brannock::typelib
