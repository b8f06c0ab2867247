#include "oscar/GlobalSequenceCounter.h"

#include <limits>

namespace pagewing::GlobalSequenceCounter {

std::int32_t SequenceCounter = 0;

std::int32_t NextSequenceNumber() {
    // Wrapping to 0 keeps the low 16 bits on the wire continuous: 0x7FFFFFFF ends in FFFF.
    SequenceCounter = SequenceCounter == std::numeric_limits<std::int32_t>::max() ? 0 : SequenceCounter + 1;
    return SequenceCounter;
}

} // namespace pagewing::GlobalSequenceCounter
