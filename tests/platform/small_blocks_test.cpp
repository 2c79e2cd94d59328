// The size classes of small blocks: every block is its own, whole and
// aligned, freed blocks serve their class again, and the source's slabs
// are the only memory used.
#include "platform/small_blocks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <vector>

namespace brannock::platform {
namespace {

std::vector<void*> slabs;
size_t slabLimit = 0;

void* TestSlab() {
  if (slabs.size() >= slabLimit) return nullptr;
  slabs.push_back(::operator new(SmallBlocks::kSlab, std::align_val_t{SmallBlocks::kSlab}));
  return slabs.back();
}

class SmallBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override { slabLimit = 1000; }
  void TearDown() override {
    for (void* slab : slabs) ::operator delete(slab, std::align_val_t{SmallBlocks::kSlab});
    slabs.clear();
  }
  std::unique_ptr<SmallBlocks> blocks = std::make_unique<SmallBlocks>(&TestSlab);
};

struct Held {
  unsigned char* at;
  size_t size;
  unsigned char mark;
};

TEST_F(SmallBlocksTest, BlocksAreDistinctAlignedAndReusedByTheirClass) {
  std::mt19937 rng(7);
  std::vector<Held> held;
  for (int step = 0; step < 60000; ++step) {
    if (!held.empty() && rng() % 3 == 0) {
      const size_t k = rng() % held.size();
      const Held h = held[k];
      // Every byte still holds what was written: no other block overlapped it.
      for (size_t i = 0; i < h.size; ++i) ASSERT_EQ(h.at[i], h.mark) << "block of " << h.size << " bytes";
      blocks->Free(h.at);
      held[k] = held.back();
      held.pop_back();
      continue;
    }
    const size_t size = rng() % (SmallBlocks::kLargest + 1);
    auto* at = static_cast<unsigned char*>(blocks->Allocate(size));
    ASSERT_NE(at, nullptr);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(at) % SmallBlocks::kGranule, 0u);
    ASSERT_TRUE(blocks->Owns(at));
    ASSERT_GE(blocks->SizeOf(at), size);
    ASSERT_LT(blocks->SizeOf(at), size + SmallBlocks::kGranule + (size == 0 ? 1 : 0));
    const auto mark = static_cast<unsigned char>(step);
    std::memset(at, mark, size);
    held.push_back({at, size, mark});
  }
  for (const Held& h : held)
    for (size_t i = 0; i < h.size; ++i) ASSERT_EQ(h.at[i], h.mark);

  // A freed block is the next of its class, and only of its class.
  void* a = blocks->Allocate(40);
  blocks->Free(a);
  EXPECT_NE(blocks->Allocate(20), a);
  EXPECT_EQ(blocks->Allocate(48), a);

  // Memory that is not the blocks' own.
  int onStack = 0;
  void* fromHeap = std::malloc(32);
  EXPECT_FALSE(blocks->Owns(&onStack));
  EXPECT_FALSE(blocks->Owns(fromHeap));
  EXPECT_FALSE(blocks->Owns(nullptr));
  std::free(fromHeap);
  EXPECT_EQ(blocks->Allocate(SmallBlocks::kLargest + 1), nullptr) << "larger blocks are the caller's";
}

TEST_F(SmallBlocksTest, ASourceWithoutSlabsGivesNoBlock) {
  // Two slabs: one for 16-byte blocks, one the table of the classes.
  slabLimit = 2;
  std::vector<void*> got;
  for (size_t i = 0; i < SmallBlocks::kSlab / 16; ++i) got.push_back(blocks->Allocate(16));
  for (void* block : got) ASSERT_NE(block, nullptr);
  EXPECT_EQ(blocks->Allocate(16), nullptr);
  EXPECT_EQ(blocks->Allocate(100), nullptr) << "a class without a slab";
  blocks->Free(got.back());
  EXPECT_EQ(blocks->Allocate(1), got.back()) << "freed blocks still serve";
}

}  // namespace
}  // namespace brannock::platform
