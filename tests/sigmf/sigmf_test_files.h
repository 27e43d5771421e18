// Recordings put together for the tests: a scratch folder, meta text and
// data bytes, and the component encodings of every datatype.
#ifndef ORVENDA_TESTS_SIGMF_SIGMF_TEST_FILES_H
#define ORVENDA_TESTS_SIGMF_SIGMF_TEST_FILES_H

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace orvenda::sigmf::test {

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class Scratch {
public:
    Scratch() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("orvenda-sigmf-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the files in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::filesystem::path path_;
};

// `bytes` bytes of `value`, little- or big-endian.
inline void appendComponent(std::string& out, std::uint64_t value, int bytes, bool bigEndian) {
    for (int k = 0; k < bytes; ++k) {
        const int shift = 8 * (bigEndian ? bytes - 1 - k : k);
        out.push_back(static_cast<char>((value >> shift) & 0xff));
    }
}

inline void appendFloat(std::string& out, float value) {
    appendComponent(out, std::bit_cast<std::uint32_t>(value), 4, false);
}

inline void appendShort(std::string& out, std::int16_t value) {
    appendComponent(out, static_cast<std::uint16_t>(value), 2, false);
}

// One complex datatype, its samples as stored, and the bytes of the file
// the engine is meant to read in its place (documented scaling).
struct EncodedSamples {
    std::string data;         // the components as the recording stores them
    std::string engineBytes;  // float pairs, or 16-bit pairs for ci16
    bool shortLayout = false;
};

inline const std::vector<std::string>& complexDatatypes() {
    static const std::vector<std::string> names = {"cf32_le", "cf32_be", "cf64_le", "cf64_be", "ci32_le",
                                                   "ci32_be", "ci16_le", "ci16_be", "cu32_le", "cu32_be",
                                                   "cu16_le", "cu16_be", "ci8",     "cu8"};
    return names;
}

// `samples` samples of `datatype`, full-range values with both extremes.
inline EncodedSamples encodeSamples(const std::string& datatype, std::size_t samples, std::uint64_t seed = 7) {
    EncodedSamples out;
    const char kind = datatype[1];
    const bool bigEndian = datatype.ends_with("_be");
    const int bits = datatype.size() == 3 ? 8 : std::stoi(datatype.substr(2, 2));
    const int bytes = bits / 8;
    out.shortLayout = kind == 'i' && bits == 16;
    std::mt19937_64 random(seed);
    for (std::size_t k = 0; k < 2 * samples; ++k) {
        if (kind == 'f') {
            const double value = std::uniform_real_distribution<double>(-3.0, 3.0)(random);
            if (bits == 32) {
                const float single = static_cast<float>(value);
                appendComponent(out.data, std::bit_cast<std::uint32_t>(single), 4, bigEndian);
                appendFloat(out.engineBytes, single);
            } else {
                appendComponent(out.data, std::bit_cast<std::uint64_t>(value), 8, bigEndian);
                appendFloat(out.engineBytes, static_cast<float>(value));
            }
            continue;
        }
        const double half = std::ldexp(1.0, bits - 1);
        const std::uint64_t mask = bits == 64 ? ~0ull : (1ull << bits) - 1;
        // Both ends of the range come first, then random values.
        std::uint64_t raw = k == 0 ? 0 : k == 1 ? mask : random() & mask;
        appendComponent(out.data, raw, bytes, bigEndian);
        double value = 0.0;
        if (kind == 'i') {
            const std::int64_t signedValue = (raw & (1ull << (bits - 1)))
                                                 ? static_cast<std::int64_t>(raw) - static_cast<std::int64_t>(mask) - 1
                                                 : static_cast<std::int64_t>(raw);
            if (out.shortLayout) {
                appendShort(out.engineBytes, static_cast<std::int16_t>(signedValue));
                continue;
            }
            value = static_cast<double>(signedValue) / half;
        } else {
            value = (static_cast<double>(raw) - half) / half;
        }
        appendFloat(out.engineBytes, static_cast<float>(value));
    }
    return out;
}

inline std::string metaText(const std::string& datatype, const std::string& extraGlobal = "",
                            const std::string& captures = "[{\"core:sample_start\": 0}]") {
    return "{\"global\": {\"core:datatype\": \"" + datatype + "\", \"core:version\": \"1.2.0\"" + extraGlobal +
           "}, \"captures\": " + captures + ", \"annotations\": []}";
}

}  // namespace orvenda::sigmf::test

#endif
