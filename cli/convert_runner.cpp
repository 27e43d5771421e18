#include "cli/convert_runner.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "cli/child_jobs.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/input_loading.h"
#include "cli/interrupt_cleanup.h"
#include "cli/recording_input.h"
#include "cli/terminal.h"
#include "core/cleanup/temporary_file.h"

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
          err_(err),
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
        if (library_.halvik(why) == nullptr) {
            report_.error(why);
            return kExitFailure;
        }
        std::size_t failed = 0;
        if (plan_.parallelJobs > 1 && plan_.jobs.size() > 1) {
            failed = convertInChildren();
        } else {
            for (std::size_t k = 0; k < plan_.jobs.size(); ++k) {
                progress_.show(progressText(k + 1, plan_.jobs.size(), nameOf(plan_.jobs[k])));
                if (!convertOne(plan_.jobs[k], report_, silenceEngine_)) ++failed;
            }
        }
        progress_.finish();
        if (failed > 0 && plan_.jobs.size() > 1)
            report_.error(std::to_string(failed) + " of " + std::to_string(plan_.jobs.size()) + " conversions failed");
        return failed == 0 ? kExitSuccess : kExitFailure;
    }

private:
    // Up to parallelJobs conversions at once, each in a child process with
    // its share of the threads; each input's messages come out together, in
    // the order of the inputs, and the progress line counts finished inputs.
    std::size_t convertInChildren() {
        const std::size_t count = plan_.jobs.size();
        const unsigned parallel = static_cast<unsigned>(std::min<std::size_t>(plan_.parallelJobs, count));
        const std::string share =
            std::to_string(threadsPerJob(plan_.threads ? plan_.threads : defaultThreads(), parallel));
        std::size_t failed = 0;
        runInChildProcesses(
            count, parallel,
            [&](std::size_t k, std::ostream& messages) {
                ::setenv("HALVIK_THREADS", share.c_str(), 1);
                ProgressLine none(messages, false);
                Reporter report(messages, none);
                return convertOne(plan_.jobs[k], report, true);
            },
            [&](std::size_t k, const ChildOutcome& outcome) {
                if (!outcome.messages.empty()) {
                    progress_.clear();
                    err_ << outcome.messages << std::flush;
                }
                if (!outcome.ok) {
                    ++failed;
                    if (outcome.messages.empty())
                        report_.error(inQuotes(plan_.jobs[k].output) +
                                      ": the conversion stopped unexpectedly; the "
                                      "file was not written");
                }
                progress_.show(progressText(k + 1, count, nameOf(plan_.jobs[k])));
            });
        return failed;
    }

    bool convertOne(const ConversionJob& job, Reporter& report, bool silenceEngine) {
        // A recording's temporary samples (if any) live until the call returns.
        RecordingInput recording;
        InputLoad load;
        if (plan_.format == InputFormat::Sigmf) {
            if (!outputPathUsable(job.output, report)) return false;
            recording =
                loadRecording(*job.inputs.iqFile, plan_.dataSizeText, cleanup::folderOf(job.output), plan_.fsGiven);
            load = recording.load;
        } else {
            load = loadInputs(job.inputs, plan_.format, plan_.dataSizeText);
        }
        for (const std::string& warning : load.warnings) report.warning(warning);
        if (load.error) {
            report.error(*load.error);
            return false;
        }
        TransformRequest request;
        request.kind = plan_.kind;
        request.panel = plan_.panel;
        if (recording.fsText) request.panel.fsText = *recording.fsText;
        request.specifyDataSize = plan_.dataSizeText.has_value();
        request.dataSizeText = plan_.dataSizeText.value_or("");
        request.input = load.state;
        TransformPlan transform = planTransform(request);
        if (!transform.ok()) {
            const FieldProblem& problem = transform.problems.front();
            report.error(optionOfField(problem.field) + ": " + problem.message);
            return false;
        }
        const HalvikArguments& args = transform.arguments;
        if (args.sampleCount == 0) report.warning(nameOf(job) + ": no samples; the waveform file holds none");
        if (!outputPathUsable(job.output, report)) return false;

        int32_t result = 0;
        {
            ConversionInProgress inProgress(job.output);
            StderrSilencer silence(silenceEngine);
            result = library_.convert(args, markers_, job.output);
        }
        if (result != 0) {
            report.error(inQuotes(job.output) +
                         ": the conversion failed; the file was not written (can the folder "
                         "be written, and is there space?)");
            return false;
        }
        return true;
    }

    ConvertPlan plan_;
    HalvikLibrary& library_;
    bool ownLine_;
    bool silenceEngine_;
    std::ostream& err_;
    ProgressLine progress_;
    Reporter report_;
    markers::MarkerStore markers_;
};

}  // namespace

int runConvert(ConvertPlan plan, HalvikLibrary& library, std::ostream& err, bool terminal) {
    // The engine reads its thread cap from the environment at every call, and
    // so does the input scanner (ScanOptions::threads 0) for text inputs.
    if (plan.threads != 0) ::setenv("HALVIK_THREADS", std::to_string(plan.threads).c_str(), 1);
    return Run(std::move(plan), library, err, terminal).run();
}

}  // namespace orvenda::cli
