#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

void SampleBlock::resize(std::size_t count, bool withExact) {
    i.resize(count);
    q.resize(count);
    markers.resize(count);
    exactI.resize(withExact ? count : 0);
    exactQ.resize(withExact ? count : 0);
}

bool readSamples(const SampleSource& source, std::uint64_t first, std::size_t count, SampleBlock& block,
                 std::string* error) {
    if (first > source.size() || count > source.size() - first) {
        if (error) *error = "the range lies beyond the last sample";
        return false;
    }
    std::unique_ptr<SampleCursor> cursor = source.openCursor();
    if (!cursor) {
        if (error) *error = "the samples cannot be read";
        return false;
    }
    if (cursor->read(first, count, block)) return true;
    if (error) *error = cursor->error();
    return false;
}

}  // namespace orvenda::analysis
