// Profiles and the panel's snapshot, the marker store, and settings files on
// disk: told apart by their bytes, refused with the file's name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/profiles/profile_json.h"
#include "core/profiles/profile_snapshot.h"
#include "core/profiles/settings_file.h"
#include "tests/profiles/profile_test_support.h"

namespace orvenda::profiles {
namespace {

namespace fs = std::filesystem;

TEST(ProfileSnapshot, RandomProfilesGoThroughThePanelsValuesUnchanged) {
    std::mt19937 random(77);
    for (int round = 0; round < 300; ++round) {
        const SettingsProfile profile = testing::randomProfile(random);
        markers::MarkerStore store;
        storeProfilePoints(store, 1, profile.marker1Points);
        storeProfilePoints(store, 2, profile.marker2Points);
        auto back = profileOf(snapshotOf(profile), store);
        ASSERT_TRUE(std::holds_alternative<SettingsProfile>(back)) << std::get<ProfileError>(back).message;
        ASSERT_EQ(std::get<SettingsProfile>(back), profile) << profileJsonText(profile);
    }
}

TEST(ProfileSnapshot, FieldsTheUserDidNotEnterAreRefusedByName) {
    const struct {
        void (*change)(settings::PanelSnapshot&);
        const char* expected;
    } rows[] = {
        {[](settings::PanelSnapshot& s) { s.awgGainText = "abc"; }, "Data Full Scale: \"abc\" is not a number"},
        {[](settings::PanelSnapshot& s) { s.loopNumText = "2.5"; }, "Loop Num: \"2.5\" is not a whole number"},
        {[](settings::PanelSnapshot& s) { s.iOffsetText = s.qOffsetText = "900"; },
         "iqOffset.i: 900 mVp-p is outside the panel's limits -750 to 750 mVp-p (press Enter"},
        {[](settings::PanelSnapshot& s) {
             s.fsText = "61.44";
             s.qOutputText = "1000";
         },
         "iqOutput.interlock: the I/Q value interlock is on"},
        {[](settings::PanelSnapshot& s) { s.markOption = -1; }, "Marker: no option is selected"},
    };
    for (const auto& row : rows) {
        settings::PanelSnapshot snapshot;
        row.change(snapshot);
        auto result = profileOf(snapshot, markers::MarkerStore{});
        ASSERT_TRUE(std::holds_alternative<ProfileError>(result)) << row.expected;
        EXPECT_NE(std::get<ProfileError>(result).message.find(row.expected), std::string::npos)
            << std::get<ProfileError>(result).message;
    }
    // The start-up texts, "1.0" among them, are values the panel keeps.
    EXPECT_TRUE(std::holds_alternative<SettingsProfile>(profileOf(settings::PanelSnapshot{}, markers::MarkerStore{})));
}

TEST(ProfileSnapshot, StoringAListReplacesTheWholeMarker) {
    markers::MarkerStore store;
    storeProfilePoints(store, 2, {{0, 1}, {10, 0}, {30, 1}});
    EXPECT_EQ(store.Marker2Count, 3);
    EXPECT_EQ(store.Marker2Length, 31);
    EXPECT_EQ(store.MarkerLength, 31);
    EXPECT_EQ(storedPoints(store, 2).size(), 3u);
    storeProfilePoints(store, 2, {{4, 1}});
    EXPECT_EQ(store.Marker2Points[1].Pos, 0);
    EXPECT_EQ(store.Marker2Points[2].Value, 0);
    EXPECT_EQ(store.Marker2Length, 5);
    storeProfilePoints(store, 2, {});
    EXPECT_EQ(store.Marker2Count, 0);
    EXPECT_EQ(store.Marker2Length, 0);
    EXPECT_EQ(store.MarkerLength, 0);
    EXPECT_EQ(store.Marker2Points[0].Pos, 0);
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("orvenda-settings-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path folder;
};

TEST_F(SettingsFileTest, ProfilesAndWaveformsAreToldByTheirBytes) {
    SettingsProfile profile;
    profile.iqFilterOn = true;
    profile.samplingFrequencyMHz = 100;
    const std::string saved = (folder / "a.orvenda").string();
    ASSERT_FALSE(writeProfileFile(saved, profile));
    auto read = readSettingsFile(saved, SettingsProfile{});
    ASSERT_TRUE(std::holds_alternative<LoadedSettings>(read)) << std::get<ProfileError>(read).message;
    EXPECT_EQ(std::get<LoadedSettings>(read).kind, SettingsFileKind::Profile);
    EXPECT_EQ(std::get<LoadedSettings>(read).profile, profile);

    // Any name: a waveform file called .orvenda is still a waveform file.
    const std::string wave = write("w.orvenda",
                                   "{DATE:2026/12/09;10:00:00}\n{IQFILTER:FLT50M}\n"
                                   "{SAMPLINGFREQ:61440000.000000}\n{WAVEDATA:0;}");
    read = readSettingsFile(wave, SettingsProfile{});
    ASSERT_TRUE(std::holds_alternative<LoadedSettings>(read)) << std::get<ProfileError>(read).message;
    EXPECT_EQ(std::get<LoadedSettings>(read).kind, SettingsFileKind::Waveform);
    EXPECT_EQ(std::get<LoadedSettings>(read).profile.filter, 1);
    EXPECT_FALSE(std::get<LoadedSettings>(read).untold.empty());
}

TEST_F(SettingsFileTest, RefusedFilesAreNamed) {
    const std::string text = write("notes.txt", "I,Q\n1,2\n");
    const std::string broken = write("broken.awv", "{IQFILTER:FLT50M}\n{SAMPLINGFREQ:abc}\n{WAVEDATA:0;}");
    const std::string badProfile = write("bad.orvenda", "{\"version\": 3}");
    const std::string missing = (folder / "missing.orvenda").string();
    const struct {
        std::string path;
        std::string expected;
    } rows[] = {
        {text, "\"" + text + "\": is neither a settings profile (JSON) nor a waveform file (.awv)"},
        {broken, "\"" + broken + "\": byte 32: SAMPLINGFREQ value \"abc\" is not a number"},
        {badProfile, "\"" + badProfile + "\": version: 3 is newer"},
        {missing, "\"" + missing + "\": cannot be opened for reading"},
    };
    for (const auto& row : rows) {
        auto read = readSettingsFile(row.path, SettingsProfile{});
        ASSERT_TRUE(std::holds_alternative<ProfileError>(read)) << row.path;
        EXPECT_EQ(std::get<ProfileError>(read).message.rfind(row.expected, 0), 0u)
            << std::get<ProfileError>(read).message;
    }
    auto asWaveform = readWaveformSettings(badProfile, SettingsProfile{});
    ASSERT_TRUE(std::holds_alternative<ProfileError>(asWaveform));
    EXPECT_NE(std::get<ProfileError>(asWaveform).message.find("is not a waveform file"), std::string::npos);
}

TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const fs::path taken = folder / "taken.orvenda";
    fs::create_directories(taken / "inside");
    const auto error = writeProfileFile(taken.string(), SettingsProfile{});
    ASSERT_TRUE(error);
    EXPECT_NE(error->message.find("left as it was"), std::string::npos) << error->message;
    EXPECT_TRUE(fs::is_directory(taken / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    const auto nowhere = writeProfileFile((folder / "no" / "such.orvenda").string(), SettingsProfile{});
    ASSERT_TRUE(nowhere);
    EXPECT_NE(nowhere->message.find("such.orvenda\": cannot be written"), std::string::npos) << nowhere->message;
}

}  // namespace
}  // namespace orvenda::profiles
