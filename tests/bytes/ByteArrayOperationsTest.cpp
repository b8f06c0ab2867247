#include "bytes/ByteArrayOperations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using pagewing::ByteArrayOperations;
using ::testing::ElementsAre;

namespace {

ByteArrayOperations BufferOf(std::initializer_list<std::uint8_t> bytes) {
    ByteArrayOperations buffer;
    for (const auto byte : bytes) {
        buffer.AppendByteToTheEnd(byte);
    }
    return buffer;
}

TEST(ByteArrayOperationsTest, NewBufferStoresOneZeroByte) {
    const ByteArrayOperations buffer;
    EXPECT_EQ(buffer.GetByteArraySize(), 0);
    EXPECT_THAT(buffer.GetByteArray(), ElementsAre(0x00));
    EXPECT_EQ(buffer.GetPointer(), 0);
}

TEST(ByteArrayOperationsTest, AppendToTheEndLeavesPointerOnLastByte) {
    const auto buffer = BufferOf({0x01, 0x02, 0x03});
    EXPECT_THAT(buffer.GetByteArray(), ElementsAre(0x01, 0x02, 0x03));
    EXPECT_EQ(buffer.GetByteArraySize(), 3);
    EXPECT_EQ(buffer.GetPointer(), 2);
}

TEST(ByteArrayOperationsTest, InsertionsAfterMoveToBeginningLandInFrontInOrder) {
    auto buffer = BufferOf({0x01, 0x02, 0x03});
    buffer.MovePointerToBeginning();
    buffer.AppendByte(0x09);
    buffer.AppendByte(0x08);
    EXPECT_THAT(buffer.GetByteArray(), ElementsAre(0x09, 0x08, 0x01, 0x02, 0x03));
    EXPECT_EQ(buffer.GetPointer(), 2);
}

TEST(ByteArrayOperationsTest, InsertionAfterAppendGoesBeforeTheLastByte) {
    // AppendByteToTheEnd leaves the pointer on the byte it wrote, not behind it.
    auto buffer = BufferOf({0x01, 0x02});
    buffer.AppendByte(0x05);
    EXPECT_THAT(buffer.GetByteArray(), ElementsAre(0x01, 0x05, 0x02));
    EXPECT_EQ(buffer.GetPointer(), 2);
}

TEST(ByteArrayOperationsTest, ManyPrependsInterleavedWithAppendsKeepOrder) {
    // Exercises the room kept in front of the data as it is used up and grown again.
    ByteArrayOperations buffer;
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 1000; ++i) {
        const auto value = static_cast<std::uint8_t>(i);
        if (i % 3 == 0) {
            buffer.AppendByteToTheEnd(value);
            expected.push_back(value);
        } else {
            buffer.MovePointerToBeginning();
            buffer.AppendByte(value);
            expected.insert(expected.begin(), value);
        }
    }
    EXPECT_EQ(buffer.GetByteArray(), expected);
}

TEST(ByteArrayOperationsTest, RunInsertEqualsByteByByteInsert) {
    auto single = BufferOf({0xAA, 0xBB, 0xCC, 0xDD});
    auto run = BufferOf({0xAA, 0xBB, 0xCC, 0xDD});
    const std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5};
    for (auto* buffer : {&single, &run}) {
        buffer->MovePointerToBeginning();
        buffer->AppendByte(0x10);
        buffer->AppendByte(0x11);
        buffer->AppendByte(0x12);
    }
    // The pointer now stands in the back half, so the run goes in by moving the tail.
    for (const auto byte : bytes) {
        single.AppendByte(byte);
    }
    run.AppendBytes(bytes);
    EXPECT_EQ(single.GetByteArray(), run.GetByteArray());
    EXPECT_EQ(single.GetPointer(), run.GetPointer());
    EXPECT_THAT(run.GetByteArray(), ElementsAre(0x10, 0x11, 0x12, 1, 2, 3, 4, 5, 0xAA, 0xBB, 0xCC, 0xDD));
}

} // namespace
