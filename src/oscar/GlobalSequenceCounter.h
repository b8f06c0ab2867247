#pragma once

#include <cstdint>

// The one FLAP sequence counter of the process. Every frame built, on either channel, for either server
// and across reconnects, takes the next number; nothing resets it. The wire carries its low 16 bits.
namespace pagewing::GlobalSequenceCounter {

extern std::int32_t SequenceCounter;

// Adds 1 to SequenceCounter and returns the sum; after 2147483647 the count starts again at 0.
std::int32_t NextSequenceNumber();

} // namespace pagewing::GlobalSequenceCounter
