// The run-time layer's state without any window: a panel's progress
// controls, the registry of loaded panels and its answers, and the one-line
// progress on a terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/rte/panel.h"
#include "engine/rte/panel_registry.h"
#include "engine/rte/rte_api.h"
#include "engine/rte/terminal_progress.h"
#include "tests/engine/engine_test_support.h"

namespace halvik::rte {
namespace {

struct ViewLog {
    bool shown = false;
    std::vector<std::pair<int, std::string>> texts;
    std::vector<std::pair<int, int>> percents;
    int draws = 0;
};

class RecordingView final : public PanelView {
public:
    explicit RecordingView(ViewLog& log) : log_(log) {}
    void show() override { log_.shown = true; }
    void showText(int control, const std::string& text) override { log_.texts.emplace_back(control, text); }
    void showPercent(int control, int percent) override { log_.percents.emplace_back(control, percent); }
    void draw() override { ++log_.draws; }

private:
    ViewLog& log_;
};

PanelDefinition progressPanel() {
    return PanelDefinition{
        1, 300, 100, "T", {{1, ControlKind::Label, "Wait"}, {2, ControlKind::Progress, "Preparing..."}}};
}

TEST(PanelTest, DisplayShowsTheFileTextAndZeroPercent) {
    ViewLog log;
    Panel panel(progressPanel(), std::make_unique<RecordingView>(log));
    EXPECT_FALSE(log.shown);
    ASSERT_EQ(panel.display(), 0);
    EXPECT_TRUE(log.shown);
    EXPECT_EQ(log.texts, (std::vector<std::pair<int, std::string>>{{2, "Preparing..."}}));
    EXPECT_EQ(log.percents, (std::vector<std::pair<int, int>>{{2, 0}}));
    EXPECT_GE(log.draws, 1);
}

TEST(PanelTest, OnlyAChangedWholePercentReachesTheView) {
    ViewLog log;
    Panel panel(progressPanel(), std::make_unique<RecordingView>(log));
    panel.display();
    log.percents.clear();
    // The engine reports after each of 16384 blocks.
    const int blocks = 16384;
    for (int done = 1; done <= blocks; ++done) ASSERT_EQ(panel.setValue(2, done * 100.0 / blocks), 0);
    ASSERT_EQ(log.percents.size(), 100u);
    for (int k = 0; k < 100; ++k) EXPECT_EQ(log.percents[k].second, k + 1);
}

TEST(PanelTest, PercentagesAreHeldToTheScaleAndRoundedDown) {
    const std::vector<std::pair<double, int>> rows = {{-5.0, 0},    {0.0, 0},     {0.99, 0},
                                                      {42.7, 42},   {99.999, 99}, {100.0, 100},
                                                      {250.0, 100}, {1e300, 100}, {-1e300, 0}};
    for (const auto& [value, shown] : rows) EXPECT_EQ(wholePercent(value), shown) << value;
}

TEST(PanelTest, RejectsWhatItCannotShow) {
    ViewLog log;
    Panel panel(progressPanel(), std::make_unique<RecordingView>(log));
    EXPECT_EQ(panel.setValue(2, std::nan("")), RTE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(panel.setValue(1, 5.0), RTE_ERR_NO_CONTROL);  // a label has no value
    EXPECT_EQ(panel.setValue(3, 5.0), RTE_ERR_NO_CONTROL);
    EXPECT_EQ(panel.setText(2, RTE_ATTR_LABEL_TEXT + 1, "x"), RTE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(panel.setText(2, RTE_ATTR_LABEL_TEXT, nullptr), RTE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(panel.setText(1, RTE_ATTR_LABEL_TEXT, "x"), RTE_ERR_NO_CONTROL);
    EXPECT_TRUE(log.texts.empty());
    EXPECT_TRUE(log.percents.empty());
}

TEST(PanelTest, StageTextsReachTheViewOnceEach) {
    ViewLog log;
    Panel panel(progressPanel(), std::make_unique<RecordingView>(log));
    panel.display();
    log.texts.clear();
    EXPECT_EQ(panel.setText(2, RTE_ATTR_LABEL_TEXT, "Converting BB to IF..."), 0);
    EXPECT_EQ(panel.setText(2, RTE_ATTR_LABEL_TEXT, "Converting BB to IF..."), 0);
    EXPECT_EQ(panel.setText(2, RTE_ATTR_LABEL_TEXT, "Writing data..."), 0);
    EXPECT_EQ(log.texts,
              (std::vector<std::pair<int, std::string>>{{2, "Converting BB to IF..."}, {2, "Writing data..."}}));
}

// --- the registry, as the C entry points use it ---

class PanelRegistryTest : public ::testing::Test {
protected:
    PanelRegistry registry{[this](const PanelDefinition&) { return std::make_unique<RecordingView>(log); }};
    ViewLog log;
    halvik::test::ScratchDir dir;
    int files = 0;

    std::string fifo() {
        const std::string path = dir.file("pipe.uir");
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return path;
    }

    // A new file per call, so that rows prepared together stay distinct.
    std::string panelFile(const std::string& body) {
        const std::string path = dir.file("panels" + std::to_string(++files) + ".uir");
        halvik::test::writeFile(path, "orvenda-uir 1\n" + body);
        return path;
    }
};

TEST_F(PanelRegistryTest, NothingWorksBeforeInitialisation) {
    const std::string path = panelFile("panel 1 200 100 T\ncontrol 2 progress x\nend\n");
    EXPECT_EQ(registry.load(0, path.c_str(), 1), RTE_ERR_NOT_INITIALISED);
    EXPECT_EQ(registry.display(1), RTE_ERR_NOT_INITIALISED);
    EXPECT_EQ(registry.setValue(1, 2, 1.0), RTE_ERR_NOT_INITIALISED);
    EXPECT_EQ(registry.drawAll(), RTE_ERR_NOT_INITIALISED);
    EXPECT_EQ(registry.close(), RTE_ERR_NOT_INITIALISED);
}

TEST_F(PanelRegistryTest, LoadAnswersEachFaultWithItsCode) {
    ASSERT_EQ(registry.init(), 0);
    const std::string good = "panel 1 200 100 T\ncontrol 2 progress x\nend\n";
    struct Row {
        const char* name;
        std::string path;
        int parent;
        int resource;
        int expected;
    };
    const std::vector<Row> rows = {
        {"missing file", dir.file("absent.uir"), 0, 1, RTE_ERR_PANEL_FILE},
        {"a folder", dir.path().string(), 0, 1, RTE_ERR_PANEL_FILE},
        {"a pipe, which must not block", fifo(), 0, 1, RTE_ERR_PANEL_FILE},
        {"malformed", panelFile("panel 1 200 100 T\ncontrol 2 progress x\n"), 0, 1, RTE_ERR_MALFORMED},
        {"no resource 1", panelFile("panel 3 200 100 T\ncontrol 2 progress x\nend\n"), 0, 1, RTE_ERR_NO_RESOURCE},
        {"no control 2", panelFile("panel 1 200 100 T\ncontrol 3 progress x\nend\n"), 0, 1, RTE_ERR_NO_CONTROL},
        {"control 2 a label", panelFile("panel 1 200 100 T\ncontrol 2 label x\nend\n"), 0, 1, RTE_ERR_NO_CONTROL},
        {"parent panel", panelFile(good), 5, 1, RTE_ERR_BAD_ARGUMENT},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(registry.load(row.parent, row.path.c_str(), row.resource), row.expected) << row.name;
    }
    EXPECT_EQ(registry.load(0, nullptr, 1), RTE_ERR_BAD_ARGUMENT);
    EXPECT_EQ(registry.loadedPanels(), 0u);
    const std::string valid = panelFile(good);
    EXPECT_GT(registry.load(0, valid.c_str(), 1), 0);
}

TEST_F(PanelRegistryTest, HandlesAreDistinctAndDiscardedOnce) {
    ASSERT_EQ(registry.init(), 0);
    const std::string path = panelFile("panel 1 200 100 T\ncontrol 2 progress x\nend\n");
    const int a = registry.load(0, path.c_str(), 1);
    const int b = registry.load(0, path.c_str(), 1);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(registry.setValue(a, 2, 50.0), 0);
    EXPECT_EQ(registry.discard(a), 0);
    EXPECT_EQ(registry.discard(a), RTE_ERR_BAD_HANDLE);
    EXPECT_EQ(registry.setValue(a, 2, 50.0), RTE_ERR_BAD_HANDLE);
    EXPECT_EQ(registry.display(-1), RTE_ERR_BAD_HANDLE);
    EXPECT_EQ(registry.display(b), 0);
}

TEST_F(PanelRegistryTest, TheLastCloseDiscardsWhatIsLeft) {
    ASSERT_EQ(registry.init(), 0);
    ASSERT_EQ(registry.init(), 0);
    const std::string path = panelFile("panel 1 200 100 T\ncontrol 2 progress x\nend\n");
    ASSERT_GT(registry.load(0, path.c_str(), 1), 0);
    EXPECT_EQ(registry.close(), 0);
    EXPECT_EQ(registry.loadedPanels(), 1u);  // one initialisation still holds
    EXPECT_EQ(registry.close(), 0);
    EXPECT_EQ(registry.loadedPanels(), 0u);
    EXPECT_EQ(registry.load(0, path.c_str(), 1), RTE_ERR_NOT_INITIALISED);
}

// Each thread draws the panels it loaded; initialisations of all threads are
// counted together.
TEST_F(PanelRegistryTest, ARedrawDrawsTheCallingThreadsPanels) {
    ASSERT_EQ(registry.init(), 0);
    const std::string path = panelFile("panel 1 300 100 P\ncontrol 2 progress x\nend\n");
    const int mine = registry.load(0, path.c_str(), 1);
    ASSERT_GT(mine, 0);
    int draws = 0;
    std::thread other([&] {
        EXPECT_EQ(registry.init(), 0);
        const int theirs = registry.load(0, path.c_str(), 1);
        EXPECT_GT(theirs, 0);
        const int before = log.draws;
        EXPECT_EQ(registry.drawAll(), 0);
        draws = log.draws - before;
        EXPECT_EQ(registry.discard(theirs), 0);
        EXPECT_EQ(registry.close(), 0);
    });
    other.join();
    EXPECT_EQ(draws, 1);  // its own panel only
    EXPECT_EQ(registry.loadedPanels(), 1u);
    const int before = log.draws;
    EXPECT_EQ(registry.drawAll(), 0);
    EXPECT_EQ(log.draws - before, 1);
    EXPECT_EQ(registry.setValue(mine, 2, 10.0), 0);
    EXPECT_EQ(registry.close(), 0);
    EXPECT_EQ(registry.loadedPanels(), 0u);
}

// --- the terminal line ---

class Pipe {
public:
    Pipe() { EXPECT_EQ(::pipe(fds_), 0); }
    ~Pipe() {
        ::close(fds_[0]);
        if (fds_[1] >= 0) ::close(fds_[1]);
    }
    int writeEnd() const { return fds_[1]; }
    std::string drain() {
        ::close(fds_[1]);
        fds_[1] = -1;
        std::string bytes;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fds_[0], buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(n));
        return bytes;
    }

private:
    int fds_[2] = {-1, -1};
};

TEST(TerminalProgressTest, RewritesOneLineAndEndsIt) {
    Pipe pipe;
    {
        Panel panel(progressPanel(), std::make_unique<TerminalProgress>(pipe.writeEnd()));
        panel.setText(2, RTE_ATTR_LABEL_TEXT, "Converting BB to IF...");  // before display: not yet printed
        panel.display();
        panel.setValue(2, 42.5);
        panel.setText(2, RTE_ATTR_LABEL_TEXT, "Writing data...");
        panel.setValue(2, 100.0);
    }
    EXPECT_EQ(pipe.drain(),
              "\rConverting BB to IF...   0%"
              "\rConverting BB to IF...  42%"
              "\rWriting data...  42%       "  // blanks over the longer line before
              "\rWriting data... 100%"
              "\n");
}

TEST(TerminalProgressTest, PrintsNothingForAPanelNeverShown) {
    Pipe pipe;
    {
        Panel panel(progressPanel(), std::make_unique<TerminalProgress>(pipe.writeEnd()));
        panel.setValue(2, 50.0);
    }
    EXPECT_EQ(pipe.drain(), "");
}

// Two conversions at once would overwrite each other's line: only one panel
// holds it at a time.
TEST(TerminalProgressTest, OneClaimedLineAtATime) {
    Pipe pipe;
    auto first = TerminalProgress::claim(pipe.writeEnd());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TerminalProgress::claim(pipe.writeEnd()), nullptr);
    first.reset();
    EXPECT_NE(TerminalProgress::claim(pipe.writeEnd()), nullptr);
}

TEST(TerminalProgressTest, ControlBytesCannotSteerTheTerminal) {
    EXPECT_EQ(progressLine("a\x1b[2Jb\rc\n", 7), "a [2Jb c    7%");
    EXPECT_EQ(progressLine("", 100), "100%");
    EXPECT_EQ(progressLine(std::string(500, 'x'), 1).size(), 60u + 5u);
}

}  // namespace
}  // namespace halvik::rte
