#include "bytes/ByteArrayOperations.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace pagewing {

namespace {
constexpr std::size_t MinimumHeadroom = 64;
}

ByteArrayOperations::ByteArrayOperations() {
    Clear();
}

void ByteArrayOperations::Clear() {
    // Room for the headers of a packet is kept in front, and the capacity of the last packet is reused.
    Storage.assign(MinimumHeadroom, 0);
    Head = MinimumHeadroom;
    Size = 0;
    Pointer = 0;
}

void ByteArrayOperations::AppendByteToTheEnd(std::uint8_t Val) {
    AppendBytesToTheEnd(std::span(&Val, 1));
}

void ByteArrayOperations::AppendByte(std::uint8_t Val) {
    AppendBytes(std::span(&Val, 1));
}

void ByteArrayOperations::MovePointerToBeginning() {
    Pointer = 0;
}

std::vector<std::uint8_t> ByteArrayOperations::GetByteArray() const {
    if (Size == 0) {
        return {0};
    }
    const auto data = View();
    return {data.begin(), data.end()};
}

std::int32_t ByteArrayOperations::GetByteArraySize() const {
    return Size;
}

void ByteArrayOperations::AppendBytesToTheEnd(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    CheckRoomFor(bytes.size());
    Storage.insert(Storage.end(), bytes.begin(), bytes.end());
    Size += static_cast<std::int32_t>(bytes.size());
    Pointer = Size - 1;
}

void ByteArrayOperations::AppendBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    CheckRoomFor(bytes.size());
    const auto count = bytes.size();
    const auto before = static_cast<std::size_t>(Pointer);
    const auto after = static_cast<std::size_t>(Size) - before;
    if (before <= after) {
        // Move the bytes before the pointer down into the headroom and write the run behind them.
        MakeHeadroom(count);
        const auto first = Storage.begin() + static_cast<std::ptrdiff_t>(Head);
        std::copy(first, first + static_cast<std::ptrdiff_t>(before),
                  first - static_cast<std::ptrdiff_t>(count));
        Head -= count;
        std::copy(bytes.begin(), bytes.end(), Storage.begin() + static_cast<std::ptrdiff_t>(Head + before));
    } else {
        Storage.insert(Storage.begin() + static_cast<std::ptrdiff_t>(Head + before), bytes.begin(),
                       bytes.end());
    }
    Size += static_cast<std::int32_t>(count);
    Pointer += static_cast<std::int32_t>(count);
}

void ByteArrayOperations::CheckRoomFor(std::size_t count) const {
    constexpr auto largest = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    if (count > largest - static_cast<std::size_t>(Size)) {
        throw std::overflow_error("byte buffer cannot grow beyond 2147483647 bytes");
    }
}

void ByteArrayOperations::MakeHeadroom(std::size_t count) {
    if (Head >= count) {
        return;
    }
    // Grow the room in front geometrically, so that prepending one byte at a time stays linear.
    const auto headroom = std::max({count, MinimumHeadroom, static_cast<std::size_t>(Size) / 2});
    std::vector<std::uint8_t> grown(headroom + static_cast<std::size_t>(Size));
    const auto data = View();
    std::copy(data.begin(), data.end(), grown.begin() + static_cast<std::ptrdiff_t>(headroom));
    Storage = std::move(grown);
    Head = headroom;
}

} // namespace pagewing
