// "orvenda-cli plot" run as a separate process: a picture of the asked size
// and format for every view, from a waveform file and from an input file;
// usage errors and unreadable files leave no picture behind.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QSet>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

ProgramRun cli(const ScratchFolder& scratch, const std::vector<std::string>& args) {
    return runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
}

// 4096 float pairs of a complex tone.
void writeFloatTone(const std::string& path) {
    std::string bytes;
    for (int n = 0; n < 4096; ++n) {
        const float pair[2] = {static_cast<float>(std::cos(0.05 * n)), static_cast<float>(std::sin(0.05 * n))};
        bytes.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    writeFile(path, bytes);
}

class CliPlot : public ::testing::Test {
protected:
    void SetUp() override {
        writeFloatTone(scratch.file("tone.TXD"));
        ASSERT_EQ(
            cli(scratch, {"convert", scratch.file("tone.TXD"), "-o", scratch.file("tone.awv"), "--fs", "50"}).exitCode,
            0);
    }
    ScratchFolder scratch;
};

TEST_F(CliPlot, EveryViewGivesAPngOfTheAskedSize) {
    for (const char* view : {"time", "spectrum", "constellation", "ccdf"}) {
        const std::string out = scratch.file(std::string(view) + ".png");
        ProgramRun run =
            cli(scratch, {"plot", scratch.file("tone.awv"), "-o", out, "--view", view, "--size", "640x360"});
        ASSERT_EQ(run.exitCode, 0) << view << ": " << run.err;
        const QImage image(QString::fromStdString(out));
        ASSERT_FALSE(image.isNull()) << view;
        EXPECT_EQ(image.size(), QSize(640, 360)) << view;
        // Drawn, not blank: dark axis text and coloured traces.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 8) << view;
    }
}

TEST_F(CliPlot, SvgCarriesTheAskedSize) {
    const std::string out = scratch.file("spectrum.svg");
    ProgramRun run = cli(scratch, {"plot", scratch.file("tone.awv"), "-o", out, "--view", "spectrum", "--size",
                                   "800x500", "--fft-size", "1024"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string svg = readFile(out);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("width=\"800"), std::string::npos) << svg.substr(0, 400);
    EXPECT_NE(svg.find("height=\"500"), std::string::npos);
    EXPECT_NE(svg.find("Frequency"), std::string::npos);  // the axis title is text
}

TEST_F(CliPlot, InputFileIsDrawnAsItsConversion) {
    const std::string out = scratch.file("input.png");
    ProgramRun run = cli(scratch, {"plot", scratch.file("tone.TXD"), "-o", out, "--fs", "61.44", "--size", "500x300"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(500, 300));
}

TEST_F(CliPlot, RefusalsLeaveNoPicture) {
    writeFile(scratch.file("broken.awv"), readFile(scratch.file("tone.awv")).substr(0, 60));
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const std::string out = scratch.file("never.png");
    const Case cases[] = {
        {{"plot", scratch.file("broken.awv"), "-o", out}, 1, "byte 60"},
        {{"plot", scratch.file("missing.awv"), "-o", out}, 1, "missing.awv"},
        {{"plot", scratch.file("tone.awv"), "-o", out, "--view", "waterfall"}, 2, "--view"},
        {{"plot", scratch.file("tone.awv"), "-o", scratch.file("never.jpg")}, 2, ".png or .svg"},
        {{"plot", scratch.file("tone.awv"), "-o", out, "--size", "10x10"}, 2, "--size"},
        {{"plot", scratch.file("tone.awv"), "-o", out, "--fft-size", "1000"}, 2, "--fft-size"},
        {{"plot", scratch.file("tone.awv")}, 2, "--output"},
    };
    for (const Case& c : cases) {
        ProgramRun run = cli(scratch, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back();
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_FALSE(std::filesystem::exists(scratch.file("never.jpg")));
    }
}

}  // namespace
}  // namespace orvenda::cli::test
