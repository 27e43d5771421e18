// The library called from a process that has set a comma-decimal locale, as
// a Qt program or a script does with setlocale(LC_ALL, ...): every job writes
// the same bytes as under the "C" locale (the DATE line holds the clock).
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"
#include "tests/engine/library_jobs.h"
#include "tests/support/comma_decimal_locale.h"

namespace halvik {
namespace {

using orvenda::testing::kCommaDecimalLocale;
using orvenda::testing::ProcessLocale;

TEST(ExportsUnderLocale, EveryJobWritesTheCLocaleBytes) {
    test::ScratchDir dir;
    const std::vector<test::LibraryJob> jobs = test::libraryJobs(dir);
    std::vector<std::string> underC;
    {
        ProcessLocale c("C");
        for (const test::LibraryJob& job : jobs) {
            ASSERT_EQ(job.run(dir.file(job.name + ".c.awv")), 0) << job.name;
            underC.push_back(test::readFile(dir.file(job.name + ".c.awv")));
        }
    }
    ProcessLocale comma(kCommaDecimalLocale);
    ASSERT_TRUE(comma.active()) << kCommaDecimalLocale << " is not installed (scripts/install-deps.sh makes it)";
    ASSERT_TRUE(ProcessLocale::decimalPointIsComma());
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        SCOPED_TRACE(jobs[k].name);
        const std::string out = dir.file(jobs[k].name + ".de.awv");
        ASSERT_EQ(jobs[k].run(out), 0);
        const std::string file = test::readFile(out);
        if (file.rfind("{DATE:", 0) == 0) {
            EXPECT_TRUE(std::regex_match(test::dateLineOf(file),
                                         std::regex(R"(\{DATE:\d{4}/\d{2}/\d{2};\d{2}:\d{2}:\d{2}\}\n)")));
        }
        test::expectSameWaveform(file, underC[k]);
        // The numbers the header carries, written out.
        const std::string header = file.substr(0, file.find("{WAVEDATA:"));
        EXPECT_EQ(header.find(','), std::string::npos) << header;
    }
    const std::string first = test::readFile(dir.file("TextBaseband.de.awv"));
    EXPECT_NE(first.find("{IQGAIN:1.500000E+000;2.050000E-001}\n{IQOFFSET:-3.500000E-002;7.500000E-001}\n"),
              std::string::npos);
    EXPECT_NE(first.find("{SAMPLINGFREQ:61440000.000000}\n"), std::string::npos);
    const std::string memory = test::readFile(dir.file("HalvikMain.de.awv"));
    EXPECT_EQ(memory.rfind("{IQFILTER:THR}\n{IQGAIN:0.750000;1.250000}\n{IQOFFSET:-0.035000;0.200000}\n", 0), 0u);
    EXPECT_NE(memory.find("{SAMPLINGFREQ:12500000.000000}\n"), std::string::npos);
}

}  // namespace
}  // namespace halvik
