// Building sample files in memory for the input tests.
#ifndef ORVENDA_TESTS_INPUT_SAMPLE_BYTES_H
#define ORVENDA_TESTS_INPUT_SAMPLE_BYTES_H

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace orvenda::input::testing {

inline void appendLittleEndian(std::string& out, uint32_t bits, int bytes) {
    for (int b = 0; b < bytes; ++b) out += static_cast<char>((bits >> (8 * b)) & 0xff);
}

// int16 I/Q pairs, little-endian.
inline std::string shortPairs(std::initializer_list<std::pair<int16_t, int16_t>> records) {
    std::string out;
    for (auto [i, q] : records) {
        appendLittleEndian(out, static_cast<uint16_t>(i), 2);
        appendLittleEndian(out, static_cast<uint16_t>(q), 2);
    }
    return out;
}

// float I/Q pairs, little-endian.
inline std::string floatPairs(std::initializer_list<std::pair<float, float>> records) {
    std::string out;
    for (auto [i, q] : records) {
        appendLittleEndian(out, std::bit_cast<uint32_t>(i), 4);
        appendLittleEndian(out, std::bit_cast<uint32_t>(q), 4);
    }
    return out;
}

}  // namespace orvenda::input::testing

#endif
