// The error value of the binary readers.
#include <gtest/gtest.h>

#include <memory>

#include "typelib/byte_reader.h"
#include "typelib/read_error.h"

namespace brannock::typelib {
namespace {

Expected<int> Half(int n) {
  if (n % 2 != 0) return ReadFailure{Code::TypeInvDataRead, static_cast<size_t>(n), "odd record"};
  return n / 2;
}

TEST(ReadFailure, ExpectedHoldsAValueOrWhereReadingStopped) {
  const Expected<int> half = Half(10);
  ASSERT_TRUE(half);
  EXPECT_EQ(*half, 5);

  const Expected<int> odd = Half(0x1F3);
  ASSERT_FALSE(odd);
  EXPECT_EQ(odd.Failure().code, Code::TypeInvDataRead);
  EXPECT_EQ(odd.Failure().offset, 0x1F3u);
  EXPECT_EQ(odd.Failure().Where(), "odd record at offset 0x1F3");

  // Values that only move.
  Expected<std::unique_ptr<int>> owned = std::make_unique<int>(7);
  ASSERT_TRUE(owned);
  EXPECT_EQ(**owned, 7);

  const Expected<void> done;
  EXPECT_TRUE(done);
  const Expected<void> failed = ReadFailure{Code::TypeCantLoadLibrary, 0, "header"};
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.Failure().code, Code::TypeCantLoadLibrary);
  EXPECT_EQ(failed.Failure().Where(), "header at offset 0x0");

  // The cursor's own result of one read lives beside it.
  ByteReader empty;
  uint32_t value = 0;
  EXPECT_EQ(empty.Read(&value), ReadStatus::OutOfBounds);
}

}  // namespace
}  // namespace brannock::typelib
