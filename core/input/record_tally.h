// Counting records against the limit, with the progress reports.
#ifndef ORVENDA_GUI_INPUT_RECORD_TALLY_H
#define ORVENDA_GUI_INPUT_RECORD_TALLY_H

#include <algorithm>
#include <cstdint>

#include "core/input/scan_types.h"

namespace orvenda::input {

class RecordTally {
public:
    explicit RecordTally(const ScanOptions& options)
        : options_(options),
          limit_(std::max<int64_t>(options.recordLimit, 0)),
          interval_(std::max<int64_t>(options.progressInterval, 1)),
          nextReport_(interval_) {}

    // Counts one record that has been read. False when it exceeds the limit:
    // it is then not counted and reading stops.
    bool add() {
        if (count_ == limit_) {
            exceeded_ = true;
            return false;
        }
        ++count_;
        if (count_ == nextReport_) report();
        return true;
    }

    // How many more records may be read before the next report or the stop,
    // the one record that exceeds the limit included.
    int64_t recordsUntilCheck() const { return std::min(nextReport_ - count_, limit_ + 1 - count_); }
    // Counts `n` records read in one go, n <= recordsUntilCheck().
    // False when the last of them exceeded the limit.
    bool addMany(int64_t n) {
        if (n == 0) return true;
        if (count_ + n > limit_) {
            count_ = limit_;
            exceeded_ = true;
            return false;
        }
        count_ += n;
        if (count_ == nextReport_) report();
        return true;
    }

    // How many more records fit within the limit.
    int64_t room() const { return limit_ - count_; }
    // Counts `n` records read elsewhere (a piece parsed on another thread),
    // n <= room(), with every report that falls due among them.
    void addWithinLimit(int64_t n) {
        while (n > 0) {
            const int64_t step = std::min(n, nextReport_ - count_);
            count_ += step;
            n -= step;
            if (count_ == nextReport_) report();
        }
    }

    ScanResult finish(double peakI, double peakQ) const { return {count_, peakI, peakQ, exceeded_}; }
    int64_t count() const { return count_; }

private:
    void report() {
        nextReport_ += interval_;
        if (options_.onProgress) options_.onProgress(count_);
    }

    const ScanOptions& options_;
    int64_t limit_;
    int64_t interval_;
    int64_t nextReport_;
    int64_t count_ = 0;
    bool exceeded_ = false;
};

}  // namespace orvenda::input

#endif
