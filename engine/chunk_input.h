// The conversion's inputs a chunk of samples at a time, in two steps. gather()
// takes a chunk's data from the files, on one thread and in chunk order;
// decode() then turns one block of it into I and Q values, on any thread.
// Binary samples are decoded while they are gathered: there is too little
// left to share out. Text lines are only collected, so that parsing them,
// nearly all the work, spreads over the team. Either way the values are those
// of the line-by-line readers of sample_readers.h.
#ifndef ORVENDA_ENGINE_CHUNK_INPUT_H
#define ORVENDA_ENGINE_CHUNK_INPUT_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/byte_source.h"

namespace halvik {

// A chunk's samples, in blocks of blockSize; the last block may be shorter.
struct ChunkShape {
    std::size_t blockSize = 0;
    std::size_t length = 0;

    std::size_t blocks() const { return (length + blockSize - 1) / blockSize; }
    std::size_t blockLength(std::size_t block) const { return std::min(blockSize, length - block * blockSize); }
};

class ChunkInput {
public:
    // Room per sample for a text file's lines: more than the lines of common
    // sample files take. Lines beyond it are parsed while gathered.
    static constexpr std::size_t kTextBytesPerSample = 64;

    // Up to `slots` chunks can be gathered and not yet decoded at once, each
    // of at most chunkSamples samples. With lineByLine, text is read by the
    // line readers as it is gathered (the benchmark's reference). nullptr
    // when a needed file cannot be opened, the data type is unknown, or
    // memory is short.
    static std::unique_ptr<ChunkInput> open(const std::string& iPath, const std::string& qPath, int32_t dataType,
                                            int32_t fileKind, const SourceOpener& opener, std::size_t slots,
                                            std::size_t chunkSamples, bool lineByLine = false,
                                            std::size_t textBytesPerSample = kTextBytesPerSample);
    virtual ~ChunkInput() = default;

    // i and q hold the whole chunk. Values gather() does not write yet are
    // written by decode() of their block.
    virtual void gather(std::size_t slot, const ChunkShape& shape, double* i, double* q) = 0;
    virtual void decode(std::size_t slot, const ChunkShape& shape, std::size_t block, double* i, double* q) = 0;
};

}  // namespace halvik

#endif
