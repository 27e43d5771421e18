// Text pieces of the waveform file: the C formats "%d", "%f" and "%E" as the
// instrument expects them ("%E" with a three-digit exponent), printed as in
// the "C" locale whatever locale the calling process has set.
#ifndef ORVENDA_ENGINE_AWV_TEXT_H
#define ORVENDA_ENGINE_AWV_TEXT_H

#include <cstdint>
#include <string>

namespace halvik {

// "%E": 1.0 gives "1.000000E+000".
std::string formatE(double value);
// "%f": 200e6 gives "200000000.000000".
std::string formatF(double value);
// "%d".
std::string formatD(int64_t value);

// "{WAVEDATA:<bytes>;" that opens the sample block; "}" closes it.
std::string waveDataOpening(int64_t byteCount);
inline constexpr char kWaveDataClosing = '}';

}  // namespace halvik

#endif
