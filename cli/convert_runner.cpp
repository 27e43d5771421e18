#include "convert_runner.h"

#include <filesystem>
#include <ostream>

#include "command_line.h"
#include "exit_codes.h"
#include "input_loading.h"
#include "interrupt_cleanup.h"
#include "terminal.h"

namespace orvenda::cli {
namespace {

namespace fs = std::filesystem;

class Reporter {
public:
    Reporter(std::ostream& err, ProgressLine& progress) : err_(err), progress_(progress) {}

    void warning(const std::string& text) { say("warning: " + text); }
    void error(const std::string& text) { say(text); }

private:
    void say(const std::string& text) {
        progress_.clear();
        err_ << kProgramName << ": " << text << '\n' << std::flush;
    }

    std::ostream& err_;
    ProgressLine& progress_;
};

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

std::string nameOf(const ConversionJob& job) {
    const ConversionInputs& in = job.inputs;
    return fs::path(in.iqFile ? *in.iqFile : in.iText ? *in.iText : *in.qText).filename().string();
}

// The engine only says that it failed; the usual reasons are told before
// the call.
bool outputPathUsable(const std::string& output, Reporter& report) {
    std::error_code error;
    if (fs::is_directory(output, error)) {
        report.error(inQuotes(output) + " is a folder, not a waveform file name");
        return false;
    }
    fs::path folder = fs::path(output).parent_path();
    if (folder.empty() || fs::is_directory(folder, error)) return true;
    report.error(inQuotes(output) + ": the folder " + inQuotes(folder.string()) + " does not exist");
    return false;
}

bool createOutputDir(const std::string& folder, Reporter& report) {
    std::error_code error;
    if (fs::is_directory(folder, error)) return true;
    fs::create_directories(folder, error);
    if (!error) return true;
    report.error(inQuotes(folder) + ": the output folder cannot be created: " + error.message());
    return false;
}

class Run {
public:
    Run(ConvertPlan plan, HalvikLibrary& library, std::ostream& err, bool terminal)
        : plan_(std::move(plan)),
          library_(library),
          // Several inputs get one line of their own; one input shows the
          // engine's line with its stages and percentage.
          ownLine_(terminal && !plan_.quiet && plan_.jobs.size() > 1),
          silenceEngine_(plan_.quiet || ownLine_),
          progress_(err, ownLine_),
          report_(err, progress_) {}

    int run() {
        MarkerLoad markers = loadMarkers(plan_);
        for (const std::string& warning : markers.warnings) report_.warning(warning);
        if (markers.error) {
            report_.error(*markers.error);
            return kExitFailure;
        }
        markers_ = markers.store;
        if (plan_.outputDir && !createOutputDir(*plan_.outputDir, report_)) return kExitFailure;

        std::string why;
        halvik_ = library_.halvik(why);
        if (halvik_ == nullptr) {
            report_.error(why);
            return kExitFailure;
        }
        std::size_t failed = 0;
        for (std::size_t k = 0; k < plan_.jobs.size(); ++k) {
            progress_.show(progressText(k + 1, plan_.jobs.size(), nameOf(plan_.jobs[k])));
            if (!convertOne(plan_.jobs[k])) ++failed;
        }
        progress_.finish();
        if (failed > 0 && plan_.jobs.size() > 1)
            report_.error(std::to_string(failed) + " of " + std::to_string(plan_.jobs.size()) +
                          " conversions failed");
        return failed == 0 ? kExitSuccess : kExitFailure;
    }

private:
    bool convertOne(const ConversionJob& job) {
        InputLoad load = loadInputs(job.inputs, plan_.format, plan_.dataSizeText);
        for (const std::string& warning : load.warnings) report_.warning(warning);
        if (load.error) {
            report_.error(*load.error);
            return false;
        }
        TransformRequest request;
        request.kind = plan_.kind;
        request.panel = plan_.panel;
        request.specifyDataSize = plan_.dataSizeText.has_value();
        request.dataSizeText = plan_.dataSizeText.value_or("");
        request.input = load.state;
        TransformPlan transform = planTransform(request);
        if (!transform.ok()) {
            const FieldProblem& problem = transform.problems.front();
            report_.error(optionOfField(problem.field) + ": " + problem.message);
            return false;
        }
        const HalvikArguments& args = transform.arguments;
        if (args.sampleCount == 0) report_.warning(nameOf(job) + ": no samples; the waveform file holds none");
        if (!outputPathUsable(job.output, report_)) return false;

        int32_t result = 0;
        {
            ConversionInProgress inProgress(job.output);
            StderrSilencer silence(silenceEngine_);
            result = halvik_(args.iPath.c_str(), args.qPath.c_str(), args.inputDataType, args.inputFileKind,
                             markers_.Marker1Points.data(), markers_.Marker2Points.data(), args.sampleCount,
                             args.peakValue, &args.settings, job.output.c_str());
        }
        if (result != 0) {
            report_.error(inQuotes(job.output) + ": the conversion failed; the file was not written (can the folder "
                                               "be written, and is there space?)");
            return false;
        }
        return true;
    }

    ConvertPlan plan_;
    HalvikLibrary& library_;
    bool ownLine_;
    bool silenceEngine_;
    ProgressLine progress_;
    Reporter report_;
    markers::MarkerStore markers_;
    HalvikFunction halvik_ = nullptr;
};

}  // namespace

int runConvert(ConvertPlan plan, HalvikLibrary& library, std::ostream& err, bool terminal) {
    return Run(std::move(plan), library, err, terminal).run();
}

}  // namespace orvenda::cli
