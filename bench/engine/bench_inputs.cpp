#include "bench/engine/bench_inputs.h"
#include "bench/common/bench_data_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace orvenda::bench {

InputFiles prepareInputs(Layout layout, std::int64_t samples, const std::string& folder) {
    Signal signal;
    InputFiles files;
    switch (layout) {
    case Layout::TwoColumnText: {
        files.paths = {folder + "/iq.txt"};
        Writer out(files.paths[0]);
        for (std::int64_t k = 0; k < samples; ++k) {
            out.appendNumber(signal.next(), '\t');
            out.appendNumber(signal.next(), '\n');
        }
        files.bytes = out.finish();
        files.peak = 1.0;
        break;
    }
    case Layout::SingleColumnText: {
        files.paths = {folder + "/i.txt", folder + "/q.txt"};
        Writer i(files.paths[0]);
        Writer q(files.paths[1]);
        for (std::int64_t k = 0; k < samples; ++k) {
            i.appendNumber(signal.next(), '\n');
            q.appendNumber(signal.next(), '\n');
        }
        files.bytes = i.finish() + q.finish();
        files.peak = 1.0;
        break;
    }
    case Layout::Int16Pairs: {
        files.paths = {folder + "/iq16.bin"};
        Writer out(files.paths[0]);
        for (std::int64_t k = 0; k < samples; ++k) {
            const std::int16_t pair[2] = {static_cast<std::int16_t>(std::lround(signal.next() * 32767.0f)),
                                          static_cast<std::int16_t>(std::lround(signal.next() * 32767.0f))};
            out.append(pair, sizeof pair);
        }
        files.bytes = out.finish();
        files.peak = 32767.0;
        break;
    }
    case Layout::FloatPairs: {
        files.paths = {folder + "/iqf.bin"};
        Writer out(files.paths[0]);
        for (std::int64_t k = 0; k < samples; ++k) {
            const float pair[2] = {signal.next(), signal.next()};
            out.append(pair, sizeof pair);
        }
        files.bytes = out.finish();
        files.peak = 1.0;
        break;
    }
    case Layout::FloatTone: {
        files.paths = {folder + "/tone.bin"};
        Writer out(files.paths[0]);
        for (std::int64_t k = 0; k < samples; ++k) {
            const double phase = 0.0123 * static_cast<double>(k % 1000003);
            const float pair[2] = {static_cast<float>(std::cos(phase)), static_cast<float>(std::sin(phase))};
            out.append(pair, sizeof pair);
        }
        files.bytes = out.finish();
        files.peak = 1.0;
        break;
    }
    }
    return files;
}

void warmPageCache(const std::vector<std::string>& paths) {
    std::string buffer(1 << 20, '\0');
    for (const std::string& path : paths) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) continue;
        while (std::fread(buffer.data(), 1, buffer.size(), file) == buffer.size()) {}
        std::fclose(file);
    }
}

}  // namespace orvenda::bench
