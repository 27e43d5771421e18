#include "cli/convert_options.h"

#include <filesystem>
#include <map>

#include "cli/panel_options.h"
#include "cli/settings_option.h"
#include "cli/speed_options.h"

namespace orvenda::cli {
namespace {

namespace fs = std::filesystem;

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

[[noreturn]] void reject(const std::string& option, const std::string& why) { throw UsageError(option + ": " + why); }

void requireNonEmpty(const std::optional<std::string>& value, const std::string& option) {
    if (value && value->empty()) reject(option, "the path is empty");
}

InputFormat formatOfInputs(const ConvertArguments& a) {
    if (a.layout) {
        std::optional<InputFormat> named = formatNamed(*a.layout);
        if (!named) reject("--layout", inQuotes(*a.layout) + " is not one of " + kFormatNames);
        return *named;
    }
    std::optional<InputFormat> common;
    std::string first;
    for (const std::string& input : a.inputs) {
        std::optional<InputFormat> guessed = formatFromFileName(input);
        if (!guessed)
            reject("--layout", "is needed: the layout of " + inQuotes(input) +
                                   " cannot be told from its name (.i, .q, .csv, .MNT, .TXD, .sigmf-meta, "
                                   ".sigmf-data)");
        if (common && *guessed != *common)
            reject("--layout", "the inputs have different layouts: " + inQuotes(first) + " (" + formatName(*common) +
                                   ") and " + inQuotes(input) + " (" + formatName(*guessed) +
                                   "); convert them in separate runs");
        if (!common) first = input;
        common = guessed;
    }
    return *common;
}

ConversionInputs inputsOf(const std::string& path, InputFormat format) {
    ConversionInputs inputs;
    if (format == InputFormat::IText)
        inputs.iText = path;
    else if (format == InputFormat::QText)
        inputs.qText = path;
    else
        inputs.iqFile = path;
    return inputs;
}

// Paths compared as the file system would resolve them, so that "./a.awv"
// and "a.awv" are the same file.
std::string resolved(const std::string& path) {
    std::error_code ignored;
    fs::path full = fs::weakly_canonical(fs::absolute(path, ignored), ignored);
    return full.empty() ? path : full.lexically_normal().string();
}

void checkOutputs(const ConvertPlan& plan, const std::string& outputOption) {
    std::map<std::string, std::string> inputs;  // resolved path -> as given
    for (const ConversionJob& job : plan.jobs) {
        for (const auto* path : {&job.inputs.iText, &job.inputs.qText, &job.inputs.iqFile}) {
            if (*path) inputs.emplace(resolved(**path), **path);
        }
    }
    std::map<std::string, std::string> outputs;  // resolved output -> the input it comes from
    for (const ConversionJob& job : plan.jobs) {
        const std::string source = job.inputs.iqFile  ? *job.inputs.iqFile
                                   : job.inputs.iText ? *job.inputs.iText
                                                      : *job.inputs.qText;
        const std::string target = resolved(job.output);
        if (auto input = inputs.find(target); input != inputs.end())
            reject(outputOption, inQuotes(job.output) + " would overwrite the input " + inQuotes(input->second));
        auto [earlier, added] = outputs.emplace(target, source);
        if (!added)
            reject(outputOption, inQuotes(earlier->second) + " and " + inQuotes(source) + " would both be written to " +
                                     inQuotes(job.output));
    }
}

void planJobs(const ConvertArguments& a, ConvertPlan& plan) {
    const bool channelFiles = a.iFile || a.qFile;
    requireNonEmpty(a.iFile, "--i-file");
    requireNonEmpty(a.qFile, "--q-file");
    requireNonEmpty(a.output, "--output");
    requireNonEmpty(a.outputDir, "--output-dir");
    if (channelFiles && !a.inputs.empty())
        reject(a.iFile ? "--i-file" : "--q-file",
               "cannot be combined with input files given without an option (" + inQuotes(a.inputs.front()) + ")");
    if (!channelFiles && a.inputs.empty())
        throw UsageError("no input: give an input file, or --i-file and/or --q-file");
    if (channelFiles && a.layout) reject("--layout", "does not apply to --i-file and --q-file, which are text");
    if (a.output && a.outputDir) reject("--output", "cannot be combined with --output-dir");
    if (!a.output && !a.outputDir) throw UsageError("no output: give --output FILE or --output-dir DIR");
    if (a.output && a.inputs.size() > 1)
        reject("--output",
               "names one file, but " + std::to_string(a.inputs.size()) + " inputs were given: use --output-dir");

    std::vector<ConversionInputs> inputs;
    if (channelFiles) {
        plan.format = a.iFile ? InputFormat::IText : InputFormat::QText;
        inputs.push_back(ConversionInputs{a.iFile, a.qFile, std::nullopt});
    } else {
        for (const std::string& input : a.inputs) {
            if (input.empty()) throw UsageError("an input file name is empty");
        }
        plan.format = formatOfInputs(a);
        for (const std::string& input : a.inputs) inputs.push_back(inputsOf(input, plan.format));
    }

    plan.outputDir = a.outputDir;
    for (ConversionInputs& in : inputs) {
        std::string output;
        if (a.output) {
            output = *a.output;
        } else {
            const std::string& named = in.iqFile ? *in.iqFile : in.iText ? *in.iText : *in.qText;
            output = (fs::path(*a.outputDir) / fs::path(named).stem()).string() + ".awv";
        }
        plan.jobs.push_back(ConversionJob{std::move(in), std::move(output)});
    }
    checkOutputs(plan, a.output ? "--output" : "--output-dir");
}

// The record builder's own checks, asked before any file is touched.
void checkWithRecordBuilder(const ConvertPlan& plan) {
    TransformRequest request;
    request.kind = plan.kind;
    request.panel = plan.panel;
    request.specifyDataSize = plan.dataSizeText.has_value();
    request.dataSizeText = plan.dataSizeText.value_or("");
    TransformPlan checked = planTransform(request);
    if (!checked.ok()) {
        const FieldProblem& problem = checked.problems.front();
        throw UsageError(optionOfField(problem.field) + ": " + problem.message);
    }
}

}  // namespace

std::string optionOfField(const std::string& field) {
    static const std::map<std::string, std::string> options = {
        {"TxtAWGGain", "--data-full-scale"}, {"TxtFs", "--fs"},
        {"TxtIFFreq", "--carrier"},          {"TxtDataSizeI", "--data-size"},
        {"TxtLoopNum", "--loops"},           {"TxtIOutput", "--iq-output-level"},
        {"TxtQOutput", "--iq-output-level"}, {"TxtIOffset", "--iq-offset"},
        {"TxtQOffset", "--iq-offset"},
    };
    auto option = options.find(field);
    return option == options.end() ? field : option->second;
}

ConvertPlan planConvert(const ConvertArguments& arguments) {
    ConvertPlan plan;
    if (arguments.settings) applySettingsFile(*arguments.settings, plan);
    applyPanelOptions(arguments, plan);
    plan.fsGiven = arguments.fs.has_value();
    planJobs(arguments, plan);
    checkWithRecordBuilder(plan);
    applySpeedOptions(arguments, plan);
    return plan;
}

}  // namespace orvenda::cli
