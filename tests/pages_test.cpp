#include "util/pages.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {
namespace {

TEST(PagesTest, PreparePagesGivesEveryWholePageInTheSpanAndNoOther) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t pages = 64;
  void* mapped =
      mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* block = static_cast<char*>(mapped);
  // From the middle of page 2 to the middle of page 40: pages 3 to 39 are
  // whole in the span.
  PreparePages(block + 2 * page + 100, 38 * page);
  std::vector<unsigned char> resident(pages);
  ASSERT_EQ(mincore(block, pages * page, resident.data()), 0);
  if ((resident[3] & 1) == 0) {
    munmap(block, pages * page);
    GTEST_SKIP() << "this system does not prepare pages on request";
  }
  for (size_t k = 0; k < pages; ++k) {
    EXPECT_EQ(resident[k] & 1, k >= 3 && k <= 39 ? 1 : 0) << "page " << k;
  }
  // Prepared pages read as zeros.
  for (size_t i = 3 * page; i < 40 * page; i += 512) ASSERT_EQ(block[i], 0);
  // A span of fewer whole pages than is worth a call is left alone.
  PreparePages(block + 50 * page, 2 * page);
  ASSERT_EQ(mincore(block, pages * page, resident.data()), 0);
  EXPECT_EQ(resident[50] & 1, 0);
  munmap(block, pages * page);
}

TEST(PagesTest, ALongSpanIsPreparedForItsFirst32MbOnly) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t bytes = size_t{48} << 20;
  void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* block = static_cast<char*>(mapped);
  PreparePages(block, bytes);
  std::vector<unsigned char> resident(bytes / page);
  ASSERT_EQ(mincore(block, bytes, resident.data()), 0);
  if ((resident[0] & 1) == 0) {
    munmap(block, bytes);
    GTEST_SKIP() << "this system does not prepare pages on request";
  }
  // The last page of the first 32 MB is there; 4 MB past them, no page is
  // (a huge page may reach a little beyond).
  EXPECT_EQ(resident[(size_t{32} << 20) / page - 1] & 1, 1);
  for (size_t k = (size_t{36} << 20) / page; k < bytes / page; ++k) {
    ASSERT_EQ(resident[k] & 1, 0) << "page " << k;
  }
  munmap(block, bytes);
}

TEST(PagesTest, APreparedBlockIsAlignedToALargePageWhenItSpansOne) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  for (const size_t bytes : {size_t{1000}, size_t{300} << 10, (size_t{3} << 20) + 5}) {
    PreparedBlock block = MakePreparedBlock(bytes);
    ASSERT_NE(block.get(), nullptr);
    const auto at = reinterpret_cast<uintptr_t>(block.get());
    if (bytes >= kLargePageBytes) EXPECT_EQ(at % kLargePageBytes, 0u) << bytes;
    // Every byte is there to be written and read back.
    for (size_t k = 0; k < bytes; k += page) block[k] = static_cast<char>(k / page);
    block[bytes - 1] = 'e';
    for (size_t k = 0; k < bytes; k += page) ASSERT_EQ(block[k], static_cast<char>(k / page));
    EXPECT_EQ(block[bytes - 1], 'e');
  }
}

TEST(PagesTest, AVectorWithPreparedBlocksKeepsItsElementsAsItGrows) {
  std::vector<std::string, PreparedAllocator<std::string>> v;
  for (int i = 0; i < 20000; ++i) v.push_back("element " + std::to_string(i));
  for (int i = 0; i < 20000; ++i)
    ASSERT_EQ(v[static_cast<size_t>(i)], "element " + std::to_string(i));
}

}  // namespace
}  // namespace vorn
