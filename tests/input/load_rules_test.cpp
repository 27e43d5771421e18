// The size rules and the effect of each load command on the loaded-input
// state, without widgets.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "core/input/load_commands.h"
#include "core/input/size_rules.h"

namespace orvenda::input {
namespace {

TEST(SizeRules, RoundUpToMultipleOf4) {
    const struct {
        int32_t count;
        int32_t rounded;
    } rows[] = {{0, 0},
                {1, 4},
                {3, 4},
                {4, 4},
                {5, 8},
                {6, 8},
                {7, 8},
                {998, 1000},
                {67108864, 67108864},
                {std::numeric_limits<int32_t>::max(), 2147483644},
                {2147483641, 2147483644}};
    for (const auto& row : rows) EXPECT_EQ(roundUpToMultipleOf4(row.count), row.rounded) << row.count;
}

TEST(SizeRules, SpecifiedDataSize) {
    const struct {
        const char* text;
        std::optional<int32_t> size;
    } rows[] = {
        {"1000", 1000},
        {" 1000 ", 1000},
        {"1000.5", 1000},  // an exact half goes to the even neighbour
        {"1001.5", 1002},
        {"1e3", 1000},
        {"0.51", 1},
        {"3e10", std::numeric_limits<int32_t>::max()},
        {"0.5", std::nullopt},
        {"0.4", std::nullopt},
        {"0", std::nullopt},
        {"-3", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"12abc", std::nullopt},
        {"1e999", std::nullopt},
        {"1,000", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(specifiedDataSize(row.text), row.size) << '"' << row.text << '"';
}

TEST(SizeRules, SpecifiedDataSizeErrorSaysWhy) {
    EXPECT_NE(specifiedDataSizeErrorText("abc").find("\"abc\" is not a number"), std::string::npos);
    EXPECT_NE(specifiedDataSizeErrorText("0.2").find("fewer than 1"), std::string::npos);
}

TEST(LoadCommands, CsvIsDecidedByTheLastThreeCharacters) {
    const struct {
        const char* name;
        bool csv;
    } rows[] = {{"a.csv", true},    {"a.CSV", true},  {"a.Csv", false}, {"a.cSV", false},
                {"data_csv", true}, {"a.dat", false}, {"csv", true},    {"sv", false}};
    for (const auto& row : rows) {
        EXPECT_EQ(readsAsCsv(row.name), row.csv) << row.name;
        EXPECT_EQ(layoutFor(LoadCommand::IQText, row.name),
                  row.csv ? InputLayout::CsvIQText : InputLayout::FreeFormatIQText)
            << row.name;
    }
    EXPECT_EQ(layoutFor(LoadCommand::IText, "a.csv"), InputLayout::SingleChannelText);
}

TEST(LoadCommands, DialogsAndFileTypes) {
    const struct {
        LoadCommand command;
        int32_t fileType;
        const char* title;
        const char* filter;
    } rows[] = {
        {LoadCommand::IText, 0, "I Data Load",
         "IQSIM(*.i)|*.i|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*"},
        {LoadCommand::QText, 0, "Q Data Load",
         "IQSIM(*.q)|*.q|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*"},
        {LoadCommand::IQText, 1, "IQ Data Load",
         "data files(*.dat)|*.dat|text files(*.txt)|*.txt|CSV file(*.csv)|*.csv|all files(*.*)|*.*"},
        {LoadCommand::BinaryShort, 2, "shor binary Data Load",
         "MNT files(*.MNT)|*.MNT|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*"},
        {LoadCommand::BinaryFloat, 3, "float binary Data Load",
         "TXD files(*.TXD)|*.TXD|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*"},
    };
    for (const auto& row : rows) {
        const LoadCommandInfo& info = loadCommandInfo(row.command);
        EXPECT_EQ(info.fileType, row.fileType);
        EXPECT_STREQ(info.dialogTitle, row.title);
        EXPECT_STREQ(info.fileFilter, row.filter);
        EXPECT_EQ(info.countsIntoQBox, row.command == LoadCommand::QText);
        if (row.command != LoadCommand::QText) {
            EXPECT_EQ(commandForFileType(row.fileType), row.command);
        }
    }
}

ScanResult scanned(int64_t count, double peakI, double peakQ, bool exceeded = false) {
    return {count, peakI, peakQ, exceeded};
}

TEST(CompleteLoad, IThenQThenIQThenI) {
    LoadedInput state;
    state.SelFileType = 0;
    LoadCompletion done = completeLoad(state, LoadCommand::IText, "/d/a.i", "a.i", scanned(8, 1.5, 0), false);
    EXPECT_EQ(done.state.InputFileKind, HALVIK_KIND_I_FILE);
    EXPECT_EQ(done.state.InputDataType, HALVIK_TYPE_TEXT);
    EXPECT_EQ(done.state.IFilePath, "/d/a.i");
    EXPECT_EQ(done.state.DataSize, 8);
    EXPECT_EQ(done.state.PeakI, 1.5);
    EXPECT_EQ(done.texts.fileNameI, "a.i");
    EXPECT_EQ(done.texts.countI, "8");
    EXPECT_FALSE(done.texts.fileNameQ.has_value());
    EXPECT_FALSE(done.texts.countQ.has_value());

    done = completeLoad(done.state, LoadCommand::QText, "/d/b.q", "b.q", scanned(12, 2.5, 0), false);
    EXPECT_EQ(done.state.InputFileKind, HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE);
    EXPECT_EQ(done.state.DataSize, 12);
    EXPECT_EQ(done.state.PeakI, 1.5);
    EXPECT_EQ(done.state.PeakQ, 2.5);
    EXPECT_EQ(done.state.IFilePath, "/d/a.i");
    EXPECT_EQ(done.state.QFilePath, "/d/b.q");
    EXPECT_EQ(done.texts.fileNameQ, "b.q");
    EXPECT_EQ(done.texts.countQ, "12");
    EXPECT_FALSE(done.texts.fileNameI.has_value());
    EXPECT_FALSE(done.texts.countI.has_value());

    done = completeLoad(done.state, LoadCommand::IQText, "/d/c.csv", "c.csv", scanned(4, 0.5, 0.25), false);
    EXPECT_EQ(done.state.InputFileKind, HALVIK_KIND_IQ_FILE);
    EXPECT_EQ(done.state.InputDataType, HALVIK_TYPE_TEXT);
    EXPECT_EQ(done.state.IQFilePath, "/d/c.csv");
    EXPECT_EQ(done.state.PeakI, 0.5);  // only the CSV file's peaks
    EXPECT_EQ(done.state.PeakQ, 0.25);
    EXPECT_EQ(done.state.IFilePath, "/d/a.i");  // other paths are kept
    EXPECT_EQ(done.texts.fileNameQ, "");
    EXPECT_EQ(done.texts.countQ, "");

    done = completeLoad(done.state, LoadCommand::IText, "/d/e.i", "e.i", scanned(4, 3, 0), false);
    EXPECT_EQ(done.state.InputFileKind, HALVIK_KIND_I_FILE);
}

TEST(CompleteLoad, BinaryKinds) {
    const LoadedInput start;
    EXPECT_EQ(completeLoad(start, LoadCommand::BinaryShort, "p", "p", scanned(4, 1, 1), false).state.InputDataType,
              HALVIK_TYPE_INT16_PAIRS);
    EXPECT_EQ(completeLoad(start, LoadCommand::BinaryFloat, "p", "p", scanned(4, 1, 1), false).state.InputDataType,
              HALVIK_TYPE_FLOAT_PAIRS);
}

TEST(CompleteLoad, CountRulesPerCommand) {
    const struct {
        const char* name;
        LoadCommand command;
        int64_t count;
        bool exceeded;
        bool specified;
        int32_t dataSize;
        bool warn;
        bool over;
    } rows[] = {
        {"SingleSevenBecomesEight", LoadCommand::IText, 7, false, false, 8, true, false},
        {"QFiveBecomesEight", LoadCommand::QText, 5, false, false, 8, true, false},
        {"ShortThreeBecomesFour", LoadCommand::BinaryShort, 3, false, false, 4, true, false},
        {"FloatSpecified998Becomes1000", LoadCommand::BinaryFloat, 998, false, true, 1000, true, false},
        {"IQTextKeeps998", LoadCommand::IQText, 998, false, true, 998, true, false},
        {"MultipleOf4NoWarning", LoadCommand::IQText, 1000, false, false, 1000, false, false},
        {"OverTheLimit", LoadCommand::IQText, 67108864, true, false, 67108864, false, true},
        {"SpecifiedSizeCutsSilently", LoadCommand::BinaryShort, 1000, true, true, 1000, false, false},
        {"EmptyFile", LoadCommand::IText, 0, false, false, 0, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const LoadCompletion done =
            completeLoad({}, row.command, "p", "p", scanned(row.count, 0, 0, row.exceeded), row.specified);
        EXPECT_EQ(done.state.DataSize, row.dataSize);
        EXPECT_EQ(done.showNotMultipleOf4, row.warn);
        EXPECT_EQ(done.showDataSizeOver, row.over);
        const auto& countText = row.command == LoadCommand::QText ? done.texts.countQ : done.texts.countI;
        EXPECT_EQ(countText, std::to_string(row.dataSize));
    }
}

TEST(CompleteLoad, KeepsTheSelectedFileType) {
    LoadedInput before;
    before.SelFileType = 3;
    EXPECT_EQ(completeLoad(before, LoadCommand::IText, "p", "p", scanned(4, 0, 0), false).state.SelFileType, 3);
}

}  // namespace
}  // namespace orvenda::input
