// The shifted samples of an IF conversion, kept from the scan pass for the
// write pass so that each sample's sin and cos are computed once. Values stay
// in memory up to a fixed budget; beyond it they go to a temporary file in
// the output's folder. That file has no name from the moment it exists
// (O_TMPFILE, or unlinked right after creation), so it disappears when it is
// closed or the process ends, whether by success, failure or a signal.
#ifndef ORVENDA_ENGINE_SHIFTED_STORE_H
#define ORVENDA_ENGINE_SHIFTED_STORE_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace halvik {

class ShiftedStore {
public:
    static constexpr std::size_t kMemoryBudget = std::size_t{16} << 20;  // bytes
    static constexpr std::size_t kPieceValues = std::size_t{1} << 17;    // 1 MiB of doubles

    // folder receives the spill file, if one is needed.
    explicit ShiftedStore(std::string folder, std::size_t memoryBudget = kMemoryBudget);
    ~ShiftedStore();
    ShiftedStore(const ShiftedStore&) = delete;
    ShiftedStore& operator=(const ShiftedStore&) = delete;

    // Appends values; false (and the store is then unusable) when memory and
    // the spill file both fail.
    bool append(const double* values, std::size_t count);
    // Reads the next count values in the order they were appended; false on a
    // read error or when fewer remain.
    bool read(double* values, std::size_t count);
    bool failed() const { return failed_; }
    bool spilled() const { return descriptor_ >= 0; }

private:
    bool openSpillFile();
    bool appendToFile(const double* values, std::size_t count);

    std::string folder_;
    std::size_t budgetValues_;
    std::vector<std::unique_ptr<double[]>> pieces_;
    std::size_t memoryValues_ = 0;  // values held in pieces_
    std::size_t readValues_ = 0;    // values already read back (memory, then file)
    std::size_t fileValues_ = 0;
    int descriptor_ = -1;
    bool failed_ = false;
};

}  // namespace halvik

#endif
