#include "core/input/load_commands.h"

#include "core/input/size_rules.h"

namespace orvenda::input {
namespace {

constexpr LoadCommandInfo kIText{
    0, "I Data Load", "IQSIM(*.i)|*.i|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*", false};
constexpr LoadCommandInfo kQText{
    0, "Q Data Load", "IQSIM(*.q)|*.q|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*", true};
constexpr LoadCommandInfo kIQText{
    1, "IQ Data Load", "data files(*.dat)|*.dat|text files(*.txt)|*.txt|CSV file(*.csv)|*.csv|all files(*.*)|*.*",
    false};
// "shor" is the dialog's title as users know it.
constexpr LoadCommandInfo kBinaryShort{
    2, "shor binary Data Load",
    "MNT files(*.MNT)|*.MNT|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*", false};
constexpr LoadCommandInfo kBinaryFloat{
    3, "float binary Data Load",
    "TXD files(*.TXD)|*.TXD|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*", false};

}  // namespace

const LoadCommandInfo& loadCommandInfo(LoadCommand command) {
    switch (command) {
    case LoadCommand::IText: return kIText;
    case LoadCommand::QText: return kQText;
    case LoadCommand::IQText: return kIQText;
    case LoadCommand::BinaryShort: return kBinaryShort;
    case LoadCommand::BinaryFloat: return kBinaryFloat;
    }
    return kIText;
}

LoadCommand commandForFileType(int32_t fileType) {
    switch (fileType) {
    case 1: return LoadCommand::IQText;
    case 2: return LoadCommand::BinaryShort;
    case 3: return LoadCommand::BinaryFloat;
    default: return LoadCommand::IText;
    }
}

bool readsAsCsv(std::string_view fileName) { return fileName.ends_with("csv") || fileName.ends_with("CSV"); }

InputLayout layoutFor(LoadCommand command, std::string_view fileName) {
    switch (command) {
    case LoadCommand::IText:
    case LoadCommand::QText: return InputLayout::SingleChannelText;
    case LoadCommand::IQText: return readsAsCsv(fileName) ? InputLayout::CsvIQText : InputLayout::FreeFormatIQText;
    case LoadCommand::BinaryShort: return InputLayout::BinaryShortPairs;
    case LoadCommand::BinaryFloat: return InputLayout::BinaryFloatPairs;
    }
    return InputLayout::SingleChannelText;
}

LoadCompletion completeLoad(const LoadedInput& before, LoadCommand command, const std::string& path,
                            std::string_view fileName, const ScanResult& scan, bool dataSizeSpecified) {
    LoadCompletion done;
    LoadedInput& state = done.state;
    state = before;
    // The count never exceeds the limit, which is at most the int32 range.
    state.DataSize = static_cast<int32_t>(scan.count);
    // A specified size cuts the file short without a word.
    done.showDataSizeOver = scan.limitExceeded && !dataSizeSpecified;
    done.showNotMultipleOf4 = !isMultipleOf4(state.DataSize);
    // The I/Q text load keeps an odd count; the others round it up.
    if (done.showNotMultipleOf4 && command != LoadCommand::IQText)
        state.DataSize = roundUpToMultipleOf4(state.DataSize);
    const std::string count = std::to_string(state.DataSize);

    switch (command) {
    case LoadCommand::IText:
        state.IFilePath = path;
        state.InputFileKind = (before.InputFileKind & HALVIK_KIND_Q_FILE) | HALVIK_KIND_I_FILE;
        state.InputDataType = HALVIK_TYPE_TEXT;
        state.PeakI = scan.peakI;
        done.texts.fileNameI = std::string(fileName);
        done.texts.countI = count;
        break;
    case LoadCommand::QText:
        state.QFilePath = path;
        state.InputFileKind = (before.InputFileKind & HALVIK_KIND_I_FILE) | HALVIK_KIND_Q_FILE;
        state.InputDataType = HALVIK_TYPE_TEXT;
        state.PeakQ = scan.peakI;  // a single-channel scan reports its channel as I
        done.texts.fileNameQ = std::string(fileName);
        done.texts.countQ = count;
        break;
    case LoadCommand::IQText:
    case LoadCommand::BinaryShort:
    case LoadCommand::BinaryFloat:
        state.IQFilePath = path;
        state.InputFileKind = HALVIK_KIND_IQ_FILE;
        state.InputDataType = command == LoadCommand::IQText        ? HALVIK_TYPE_TEXT
                              : command == LoadCommand::BinaryShort ? HALVIK_TYPE_INT16_PAIRS
                                                                    : HALVIK_TYPE_FLOAT_PAIRS;
        state.PeakI = scan.peakI;
        state.PeakQ = scan.peakQ;
        done.texts.fileNameI = std::string(fileName);
        done.texts.fileNameQ = std::string();
        done.texts.countI = count;
        done.texts.countQ = std::string();
        break;
    }
    return done;
}

}  // namespace orvenda::input
