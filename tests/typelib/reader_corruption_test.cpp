// Damaged libraries: every fixture cut at many lengths and with bytes
// changed must give a failure code or a library whose every type and member
// can be walked; never a crash or a read outside the bytes (the tests run
// under AddressSanitizer).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

#include "platform/file_reading.h"
#include "platform/files.h"
#include "typelib/file_loader.h"
#include "typelib/msft_records.h"
#include "typelib/read_error.h"
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
  EXPECT_TRUE(platform::ReadWholeFile(path, kMaxTypeLibFileBytes, &bytes)) << path;
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

// A damaged library names the record that failed and its offset beside the
// code, which stays the one oleaut32 gives; the file loader keeps the place
// of its last failure and adds it to the failure's message.
TEST(ReaderCorruption, AFailureNamesTheRecordAndItsOffset) {
  REQUIRE_TLB_FIXTURES();
  const std::vector<uint8_t> whole = ReadFixture(Fixture("minimal.tlb"));
  msft::Header header;
  ASSERT_EQ(ReadAt(whole, 0, &header), ReadStatus::Ok);
  const size_t directory =
      sizeof header + ((header.varflags & 0x100) != 0 ? 4 : 0) + size_t(header.typeInfoCount) * 4;
  msft::SegmentEntry names;
  ASSERT_EQ(ReadAt(whole, directory + msft::kNameSegment * sizeof names, &names), ReadStatus::Ok);

  std::shared_ptr<TypeLib> lib;
  ReadFailure failure;
  // Cut inside the header.
  const std::vector<uint8_t> cutHeader(whole.begin(), whole.begin() + 0x20);
  EXPECT_EQ(OpenMsftTypeLib(cutHeader, nullptr, &lib, &failure), Code::TypeInvDataRead);
  EXPECT_STREQ(failure.record, "header");
  EXPECT_EQ(failure.offset, 0u);
  EXPECT_EQ(failure.Where(), "header at offset 0x0");
  // Cut inside the segment directory: the first entry is whole, but its
  // segment lies beyond the cut.
  const size_t cut = directory + 2 * sizeof names + 5;
  const std::vector<uint8_t> cutDirectory(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(cut));
  EXPECT_EQ(OpenMsftTypeLib(cutDirectory, nullptr, &lib, &failure), Code::TypeInvDataRead);
  EXPECT_STREQ(failure.record, "segment directory entry");
  EXPECT_EQ(failure.offset, directory);
  // The library's name beyond the name table: the offset is the file's.
  std::vector<uint8_t> badName = whole;
  header.nameOffset = 0x7FFF00;
  std::memcpy(badName.data(), &header, sizeof header);
  EXPECT_EQ(OpenMsftTypeLib(badName, nullptr, &lib, &failure), Code::TypeInvDataRead);
  EXPECT_FALSE(lib);
  EXPECT_STREQ(failure.record, "name table entry");
  EXPECT_EQ(failure.offset, size_t(names.offset) + 0x7FFF00);
  // Not a library at all.
  const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 't', 'l', 'b'};
  ReadFailure notALibrary;
  EXPECT_EQ(OpenMsftTypeLib(text, nullptr, &lib, &notALibrary), Code::TypeCantLoadLibrary);
  EXPECT_EQ(notALibrary.Where(), "header (no MSFT signature) at offset 0x0");

  // Through the file loader, as brannock-cli loads a file.
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brannock-damaged-name.tlb";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(badName.data()),
                                              static_cast<std::streamsize>(badName.size()));
  FileTypeLibLoader loader(nullptr, PathMapper());
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(file), &lib), Code::TypeInvDataRead);
  ASSERT_TRUE(loader.LastReadFailure());
  EXPECT_EQ(loader.LastReadFailure()->Where(), failure.Where());
  EXPECT_EQ(loader.FailureDetail(), u"The library is damaged: " + Utf8ToUtf16(failure.Where()));
  EXPECT_EQ(loader.LoadTypeLib(platform::HostPathText(Fixture("minimal.tlb")), &lib), S_OK_);
  EXPECT_FALSE(loader.LastReadFailure());
  EXPECT_EQ(loader.FailureDetail(), u"");
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace brannock::typelib
