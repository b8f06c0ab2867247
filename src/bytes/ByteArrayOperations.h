#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pagewing {

// A growable byte buffer with an insertion pointer. Bytes are added at the end or at the pointer; a run
// of insertions after MovePointerToBeginning lands at the front in the order given, which is how packet
// headers are put in front of a body.
//
// The bytes live in one vector with spare room kept in front of them, so an insertion near the front
// moves only the bytes before the pointer (a few header bytes) and never the whole body behind them.
class ByteArrayOperations {
public:
    ByteArrayOperations();

    void Clear();
    void AppendByteToTheEnd(std::uint8_t Val);
    void AppendByte(std::uint8_t Val);
    void MovePointerToBeginning();
    // The whole storage: the data, or a single 0 byte when there is none.
    std::vector<std::uint8_t> GetByteArray() const;
    std::int32_t GetByteArraySize() const;

    // The same as AppendByteToTheEnd and AppendByte called once per byte, in one step.
    void AppendBytesToTheEnd(std::span<const std::uint8_t> bytes);
    void AppendBytes(std::span<const std::uint8_t> bytes);

    std::int32_t GetPointer() const { return Pointer; }
    // The data without a copy; valid until the next change.
    std::span<const std::uint8_t> View() const {
        return std::span(Storage).subspan(Head, static_cast<std::size_t>(Size));
    }

private:
    void CheckRoomFor(std::size_t count) const;
    void MakeHeadroom(std::size_t count);

    // Storage[Head, Head + Size) holds the data. Clear, which the constructor calls, sets them all.
    std::vector<std::uint8_t> Storage;
    std::size_t Head;
    std::int32_t Size;
    std::int32_t Pointer;
};

} // namespace pagewing
