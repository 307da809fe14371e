#include "cli/BatchHeap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

// Set up, the heap gives a large block from what it holds and keeps it
// when it is freed; the default would map the block apart and unmap it.
TEST(BatchHeap, LargeBlocksStayInTheHeap)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's allocator is not glibc's malloc";
#else
    ASSERT_TRUE(BatchHeap::prepare());
    const struct mallinfo2 before = mallinfo2();
    void *block = std::malloc(size_t{24} << 20);
    ASSERT_NE(block, nullptr);
    const struct mallinfo2 held = mallinfo2();
    std::free(block);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(held.hblks, before.hblks);
    EXPECT_GE(after.arena, held.arena);
    EXPECT_GE(after.fordblks, size_t{24} << 20);
#endif
}
