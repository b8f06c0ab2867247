#include "bytes/ByteArrayOperations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using pagewing::ByteArrayOperations;

namespace {

// Random edits against a plain vector. AppendByteToTheEnd leaves the pointer on the byte it wrote, not behind
// it; an insertion goes in at the pointer and leaves it behind what was inserted. Runs of insertions at the
// front use up the room kept there and make it grow; insertions near the end move the tail instead.
TEST(ByteArrayOperationsTest, EditsMatchAPlainVector) {
    std::mt19937 random(13);
    ByteArrayOperations buffer;
    std::vector<std::uint8_t> expected;
    std::size_t pointer = 0;
    for (int i = 0; i < 3000; ++i) {
        const auto value = static_cast<std::uint8_t>(i);
        const std::vector<std::uint8_t> run(random() % 3 == 0 ? random() % 100 : 1, value);
        switch (random() % 3) {
        case 0:
            buffer.AppendByteToTheEnd(value);
            expected.push_back(value);
            pointer = expected.size() - 1;
            break;
        case 1:
            buffer.MovePointerToBeginning();
            pointer = 0;
            [[fallthrough]];
        default:
            if (run.size() == 1) {
                buffer.AppendByte(value);
            } else {
                buffer.AppendBytes(run);
            }
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(pointer), run.begin(), run.end());
            pointer += run.size();
        }
        ASSERT_EQ(static_cast<std::size_t>(buffer.GetPointer()), pointer) << "step " << i;
        ASSERT_TRUE(std::ranges::equal(buffer.View(), expected)) << "step " << i;
    }
    EXPECT_EQ(buffer.GetByteArray(), expected);
    buffer.Clear();
    buffer.AppendByte(7);
    EXPECT_EQ(buffer.GetByteArray(), std::vector<std::uint8_t>{7}) << "a new packet starts at the front";
}

} // namespace
