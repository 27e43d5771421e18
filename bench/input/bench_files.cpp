#include "bench/input/bench_files.h"
#include "bench/common/bench_data_writer.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace orvenda::bench {

uint64_t writeBenchFile(const std::string& path, input::InputLayout layout, int64_t records) {
    using input::InputLayout;
    Writer out(path);
    Signal signal;
    for (int64_t r = 0; r < records; ++r) {
        const float i = signal.next();
        const float q = signal.next();
        switch (layout) {
        case InputLayout::SingleChannelText: out.appendNumber(i, '\n'); break;
        case InputLayout::FreeFormatIQText:
            out.appendNumber(i, '\t');
            out.appendNumber(q, '\n');
            break;
        case InputLayout::CsvIQText:
            out.appendNumber(i, ',');
            out.appendNumber(q, '\n');
            break;
        case InputLayout::BinaryShortPairs: {
            const int16_t pair[2] = {static_cast<int16_t>(i * 32767.0f), static_cast<int16_t>(q * 32767.0f)};
            out.append(pair, sizeof pair);  // the benchmark runs on little-endian machines
            break;
        }
        case InputLayout::BinaryFloatPairs: {
            const float pair[2] = {i, q};
            out.append(pair, sizeof pair);
            break;
        }
        }
    }
    return out.finish();
}

}  // namespace orvenda::bench
