// Waveform files put together by hand from the format's rules, for the tests
// of the reader and of "info": header lines, then the data record.
#ifndef ORVENDA_TESTS_CLI_AWV_TEST_FILES_H
#define ORVENDA_TESTS_CLI_AWV_TEST_FILES_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvenda::cli::test {

// One sample: word A carries the code of its channel and the marker bits.
struct Sample {
    std::uint32_t codeA = 8192;
    std::uint32_t codeB = 8192;
    bool marker1 = false;
    bool marker2 = false;
};

inline void appendWord(std::string& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((word >> shift) & 0xffu));
}

inline std::string sampleBlock(const std::vector<Sample>& samples) {
    std::string bytes;
    for (const Sample& s : samples) {
        appendWord(bytes, s.codeA | (s.marker1 ? 0x4000u : 0u) | (s.marker2 ? 0x8000u : 0u));
        appendWord(bytes, s.codeB);
    }
    return bytes;
}

// header + "{WAVEDATA:<n>;" + block + "}"
inline std::string awvFile(const std::string& header, const std::string& block) {
    return header + "{WAVEDATA:" + std::to_string(block.size()) + ";" + block + "}";
}

inline std::string awvFile(const std::string& header, const std::vector<Sample>& samples) {
    return awvFile(header, sampleBlock(samples));
}

inline std::span<const std::byte> asBytes(const std::string& text) {
    return std::as_bytes(std::span<const char>(text.data(), text.size()));
}

// Every line a conversion writes when each group is switched on.
inline const std::string kFullHeader =
    "{DATE:2026/12/08;15:09:40}\n"
    "{IQFILTER:FLT50M}\n"
    "{IQOUTPUT:VAR}\n"
    "{IQGAIN:1.500000E+000;2.000000E-001}\n"
    "{IQOFFSET:-5.000000E-002;0.000000E+000}\n"
    "{STARTTRIGGER:LINK;NEG}\n"
    "{OUTPUTSEQUENCE:SINGL;12}\n"
    "{SAMPLINGFREQ:100000000.000000}\n"
    "{MARKER1:ON;POS;0;2;2;1}\n"
    "{MARKER2:ON;POS;0;2;2;1}\n"
    "{MARKERMODE:WFM}\n";

}  // namespace orvenda::cli::test

#endif
