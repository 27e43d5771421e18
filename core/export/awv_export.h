// Writing the samples of a waveform file back out as I/Q: a SigMF recording
// (cf32_le, the header settings under the "orvenda:" namespace, marker high
// ranges as annotations "marker1" and "marker2"), CSV lines "I,Q,M1,M2", or
// raw little-endian float pairs. The waveform file is checked whole before
// anything is written; outputs are written to temporary files beside them
// and renamed into place only when complete, so a refused or failed export
// leaves no file behind (also after SIGINT, SIGTERM or SIGHUP).
#ifndef ORVENDA_CORE_EXPORT_AWV_EXPORT_H
#define ORVENDA_CORE_EXPORT_AWV_EXPORT_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvenda::exporting {

enum class ExportFormat { Sigmf, Csv, RawFloat };

struct ExportTarget {
    ExportFormat format = ExportFormat::Sigmf;
    std::vector<std::string> files;  // SigMF: the data file, then the meta file
};

// From the output name: .csv; .cf32 or .f32; .sigmf-meta, .sigmf-data or a
// name without an ending give a SigMF pair. Nothing for another ending.
std::optional<ExportTarget> exportTargetOf(const std::string& output);

struct ExportResult {
    std::optional<std::string> error;  // names the file (and the byte offset)
    std::uint64_t sampleCount = 0;
    std::uint64_t markerRanges = 0;  // annotations written (SigMF)
};

// `onProgress` is called now and then with samples done and the total.
ExportResult exportAwv(const std::string& awvPath, const ExportTarget& target,
                       const std::function<void(std::uint64_t, std::uint64_t)>& onProgress = {});

}  // namespace orvenda::exporting

#endif
