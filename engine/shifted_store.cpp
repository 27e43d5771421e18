#include "engine/shifted_store.h"

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

namespace halvik {
namespace {

std::atomic<unsigned> spillCounter{0};

bool writeAll(int descriptor, const char* data, std::size_t size) {
    while (size != 0) {
        ssize_t step = ::write(descriptor, data, size);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) return false;
        data += step;
        size -= static_cast<std::size_t>(step);
    }
    return true;
}

bool readAll(int descriptor, char* data, std::size_t size, off_t offset) {
    while (size != 0) {
        ssize_t step = ::pread(descriptor, data, size, offset);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) return false;
        data += step;
        size -= static_cast<std::size_t>(step);
        offset += step;
    }
    return true;
}

}  // namespace

ShiftedStore::ShiftedStore(std::string folder, std::size_t memoryBudget)
    : folder_(std::move(folder)), budgetValues_(memoryBudget / sizeof(double)) {}

ShiftedStore::~ShiftedStore() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool ShiftedStore::openSpillFile() {
#ifdef O_TMPFILE
    descriptor_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor_ >= 0) return true;
#endif
    // File systems without O_TMPFILE: a named file, unlinked at once.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path =
            folder_ + "/.halvik-if.tmp" + std::to_string(::getpid()) + "-" + std::to_string(spillCounter.fetch_add(1));
        descriptor_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor_ >= 0) {
            ::unlink(path.c_str());
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool ShiftedStore::appendToFile(const double* values, std::size_t count) {
    if (descriptor_ < 0 && !openSpillFile()) return false;
    if (!writeAll(descriptor_, reinterpret_cast<const char*>(values), count * sizeof(double))) return false;
    fileValues_ += count;
    return true;
}

bool ShiftedStore::append(const double* values, std::size_t count) {
    if (failed_) return false;
    // Memory first, one piece at a time, while the budget lasts and nothing
    // has gone to the file yet (the file keeps the later values in order).
    while (count != 0 && fileValues_ == 0 && memoryValues_ < budgetValues_) {
        std::size_t offset = memoryValues_ % kPieceValues;
        if (offset == 0) {
            double* piece = new (std::nothrow) double[kPieceValues];
            if (piece == nullptr) break;
            pieces_.emplace_back(piece);
        }
        std::size_t step = std::min({count, kPieceValues - offset, budgetValues_ - memoryValues_});
        std::memcpy(pieces_.back().get() + offset, values, step * sizeof(double));
        memoryValues_ += step;
        values += step;
        count -= step;
    }
    if (count != 0 && !appendToFile(values, count)) {
        failed_ = true;
        pieces_.clear();
        return false;
    }
    return true;
}

bool ShiftedStore::read(double* values, std::size_t count) {
    if (failed_) return false;
    while (count != 0 && readValues_ < memoryValues_) {
        std::size_t offset = readValues_ % kPieceValues;
        std::size_t step = std::min({count, kPieceValues - offset, memoryValues_ - readValues_});
        std::memcpy(values, pieces_[readValues_ / kPieceValues].get() + offset, step * sizeof(double));
        readValues_ += step;
        values += step;
        count -= step;
    }
    if (count == 0) return true;
    std::size_t fileOffset = readValues_ - memoryValues_;
    if (count > fileValues_ - fileOffset) return false;
    if (!readAll(descriptor_, reinterpret_cast<char*>(values), count * sizeof(double),
                 static_cast<off_t>(fileOffset * sizeof(double)))) {
        failed_ = true;
        return false;
    }
    readValues_ += count;
    return true;
}

}  // namespace halvik
