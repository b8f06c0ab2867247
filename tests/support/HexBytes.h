#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagewing::test {

// "2A 01 00 04" or "2a010004" as bytes; spaces are only for reading.
inline std::vector<std::uint8_t> Bytes(std::string_view hex) {
    std::string digits;
    std::erase(digits.assign(hex), ' ');
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

inline std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

inline std::vector<std::uint8_t> AsciiBytes(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace pagewing::test
