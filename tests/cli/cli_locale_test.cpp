// orvenda-cli started under a comma-decimal locale (LANG and LC_ALL set to
// "de_DE.UTF-8", as on a German desktop): the same options are read, the same
// waveform bytes written and the same report printed as under "C".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

struct LocaleRun {
    ProgramRun convert;
    std::string waveform;
    ProgramRun info;
};

LocaleRun runUnder(const ScratchFolder& scratch, const std::string& locale, const std::string& out) {
    const std::vector<std::string> environment = {"LANG=" + locale, "LC_ALL=" + locale, "LC_NUMERIC=" + locale};
    LocaleRun run;
    run.convert = runProgram(ORVENDA_CLI_PROGRAM,
                             {"convert",
                              scratch.file("in.csv"),
                              "-o",
                              scratch.file(out),
                              "--fs",
                              "61.44",
                              "--data-full-scale",
                              "0.75",
                              "--iq-offset",
                              "-35,20",
                              "--iq-output",
                              "var",
                              "--iq-output-level",
                              "1000,805",
                              "--if",
                              "real",
                              "--carrier",
                              "10.7",
                              "--marker1",
                              scratch.file("m.dat")},
                             scratch, environment);
    run.waveform = readFile(scratch.file(out));
    run.info = runProgram(ORVENDA_CLI_PROGRAM, {"info", scratch.file(out)}, scratch, environment);
    return run;
}

// The report without its File and Date rows (the path and the clock).
std::string reportBody(const std::string& report) {
    std::string body;
    std::size_t start = 0;
    while (start < report.size()) {
        const std::size_t end = report.find('\n', start);
        const std::string line = report.substr(start, end - start);
        if (line.rfind("File ", 0) != 0 && line.rfind("Date ", 0) != 0) body += line + "\n";
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return body;
}

TEST(CliLocale, ACommaLocaleChangesNeitherReadingsNorBytes) {
    ScratchFolder scratch;
    std::string csv;
    for (int n = 0; n < 1000; ++n)
        csv += std::to_string((n % 17) * 0.0625 - 0.5) + "," + std::to_string(n * 1e-3) + "\n";
    writeFile(scratch.file("in.csv"), csv);
    writeFile(scratch.file("m.dat"), "0 1\n250.0 0\n");

    const LocaleRun c = runUnder(scratch, "C", "c.awv");
    const LocaleRun comma = runUnder(scratch, "de_DE.UTF-8", "de.awv");
    ASSERT_EQ(c.convert.exitCode, 0) << c.convert.err;
    ASSERT_EQ(comma.convert.exitCode, 0) << comma.convert.err;
    EXPECT_EQ(comma.convert.err, c.convert.err);
    EXPECT_NE(comma.waveform.find("{SAMPLINGFREQ:61440000.000000}\n"), std::string::npos);
    EXPECT_NE(comma.waveform.find("{IQGAIN:1.000000E+000;8.050000E-001}\n{IQOFFSET:-3.500000E-002;2.000000E-002}\n"),
              std::string::npos);
    EXPECT_TRUE(withoutDateLine(comma.waveform) == withoutDateLine(c.waveform));

    ASSERT_EQ(comma.info.exitCode, 0) << comma.info.err;
    EXPECT_EQ(reportBody(comma.info.out), reportBody(c.info.out));
    for (const char* line : {"Sampling freq     61.44 MHz\n", "I/Q gain          I 1, Q 0.805\n",
                             "I/Q offset        I -0.035, Q 0.02\n", "(25.00 %)"})
        EXPECT_NE(comma.info.out.find(line), std::string::npos) << line << "\nin:\n" << comma.info.out;
}

}  // namespace
}  // namespace orvenda::cli::test
