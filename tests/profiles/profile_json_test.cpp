// The profile file: written and read back unchanged, and every kind of bad
// content refused with a message naming the key.
#include <gtest/gtest.h>

#include <clocale>
#include <nlohmann/json.hpp>
#include <random>

#include "core/profiles/profile_checks.h"
#include "core/profiles/profile_json.h"
#include "tests/profiles/profile_test_support.h"

namespace orvenda::profiles {
namespace {

using Json = nlohmann::ordered_json;

SettingsProfile readBack(const std::string& text) {
    auto read = profileFromJsonText(text);
    if (const auto* error = std::get_if<ProfileError>(&read)) ADD_FAILURE() << error->message << "\n" << text;
    return std::get_if<SettingsProfile>(&read) ? std::get<SettingsProfile>(read) : SettingsProfile{};
}

TEST(ProfileJson, RandomProfilesComeBackUnchanged) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 300; ++round) {
        const SettingsProfile profile = testing::randomProfile(random);
        ASSERT_FALSE(checkProfile(profile)) << checkProfile(profile)->message;
        const std::string text = profileJsonText(profile);
        ASSERT_EQ(readBack(text), profile) << text;
        ASSERT_EQ(profileJsonText(readBack(text)), text);
    }
}

TEST(ProfileJson, StartUpProfileIsReadable) {
    const std::string text = profileJsonText(SettingsProfile{});
    EXPECT_EQ(readBack(text), SettingsProfile{});
    EXPECT_NE(text.find("\"version\": 1"), std::string::npos);
    EXPECT_NE(text.find("\"samplingFrequencyMHz\": 200.0"), std::string::npos) << text;
}

TEST(ProfileJson, NumbersDoNotFollowTheLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is not installed";
    SettingsProfile profile;
    profile.samplingFrequencyMHz = 61.44;
    profile.carrierMHz = -2.5;
    const std::string text = profileJsonText(profile);
    const SettingsProfile back = readBack(text);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_NE(text.find("61.44"), std::string::npos) << text;
    EXPECT_EQ(back.samplingFrequencyMHz, 61.44);
    EXPECT_EQ(back.carrierMHz, -2.5);
}

struct RefusedCase {
    const char* name;
    void (*change)(Json&);
    const char* expected;  // part of the message
};

const RefusedCase kRefused[] = {
    {"unknown_top_key", [](Json& j) { j["colour"] = "red"; }, "colour: unknown key"},
    {"unknown_nested_key", [](Json& j) { j["iqOffset"]["z"] = 1; }, "iqOffset.z: unknown key"},
    {"missing_key", [](Json& j) { j["iqOutput"].erase("path"); }, "iqOutput.path: is missing"},
    {"missing_group", [](Json& j) { j.erase("marker"); }, "marker: is missing"},
    {"group_not_object", [](Json& j) { j["iqFilter"] = true; }, "iqFilter: must be an object"},
    {"text_for_number", [](Json& j) { j["samplingFrequencyMHz"] = "61.44"; },
     "samplingFrequencyMHz: must be a number, not a text"},
    {"number_for_switch", [](Json& j) { j["iqFilter"]["on"] = 1; }, "iqFilter.on: must be true or false"},
    {"fraction_for_whole", [](Json& j) { j["iqOffset"]["i"] = 12.5; }, "iqOffset.i: 12.5 is not a whole number"},
    {"unknown_choice", [](Json& j) { j["iqFilter"]["filter"] = "25M"; }, "iqFilter.filter: \"25M\" is not one of"},
    {"offset_outside",
     [](Json& j) {
         j["iqOffset"]["i"] = 800;
         j["iqOffset"]["q"] = 800;
     },
     "iqOffset.i: 800 mVp-p is outside the panel's limits -750 to 750"},
    {"offset_off_step",
     [](Json& j) {
         j["iqOffset"]["interlock"] = false;
         j["iqOffset"]["q"] = 12;
     },
     "iqOffset.q: 12 mVp-p is not a multiple of 5"},
    {"output_below",
     [](Json& j) {
         j["iqOutput"]["i"] = 150;
         j["iqOutput"]["q"] = 150;
     },
     "iqOutput.i: 150 mVp-p is outside"},
    {"loops_outside", [](Json& j) { j["outputSequence"]["loops"] = 65537; }, "outputSequence.loops: 65537 is outside"},
    {"gain_outside", [](Json& j) { j["dataFullScale"]["value"] = 1.5; }, "dataFullScale.value: 1.5 is outside"},
    {"gain_digits", [](Json& j) { j["dataFullScale"]["value"] = 0.1234567890123456; },
     "dataFullScale.value: 0.123456789012346 has more digits"},
    {"fs_outside", [](Json& j) { j["samplingFrequencyMHz"] = 250; }, "samplingFrequencyMHz: 250 MHz is outside"},
    {"fs_off_step", [](Json& j) { j["samplingFrequencyMHz"] = 61.440000000001; },
     "samplingFrequencyMHz: 61.440000000001 has more digits"},
    {"interlock_unequal", [](Json& j) { j["iqOutput"]["q"] = 1000; },
     "iqOutput.interlock: the I/Q value interlock is on but I (2000) and Q (1000) differ"},
    {"gated_internal", [](Json& j) { j["outputSequence"]["mode"] = "gated"; }, "outputSequence.mode: \"gated\" needs"},
    {"switches_apart", [](Json& j) { j["startTrigger"]["on"] = true; }, "startTrigger.on: differs"},
    {"point_not_pair",
     [](Json& j) {
         j["marker"]["marker1Points"] = Json::array({Json::array({0, 1, 2})});
     },
     "marker.marker1Points[0]: must be a [pos, value] pair"},
    {"point_not_whole",
     [](Json& j) {
         j["marker"]["marker2Points"] = Json::array({Json::array({0, "1"})});
     },
     "marker.marker2Points[0][1]: must be a whole number, not a text"},
    {"point_beyond_int32",
     [](Json& j) {
         j["marker"]["marker2Points"] = Json::array({Json::array({3e9, 1})});
     },
     "marker.marker2Points[0][0]: 3000000000.0 is beyond the range"},
    {"too_many_points",
     [](Json& j) {
         Json list = Json::array();
         for (int k = 0; k < 1002; ++k) list.push_back(Json::array({2 * k, k % 2}));
         j["marker"]["marker1Points"] = list;
     },
     "marker.marker1Points: 1002 change points; a marker holds at most 1001"},
    {"newer_version", [](Json& j) { j["version"] = 2; }, "version: 2 is newer than this program reads (up to 1)"},
    {"version_text", [](Json& j) { j["version"] = "1"; }, "version: must be a whole number"},
    {"version_missing", [](Json& j) { j.erase("version"); }, "version: is missing"},
    {"not_an_object", [](Json& j) { j = Json::array({1}); }, "the file: must be an object"},
};

TEST(ProfileJson, RefusesBadContentNamingTheKey) {
    for (const RefusedCase& row : kRefused) {
        SCOPED_TRACE(row.name);
        Json document = Json::parse(profileJsonText(SettingsProfile{}));
        row.change(document);
        auto read = profileFromJsonText(document.dump());
        ASSERT_TRUE(std::holds_alternative<ProfileError>(read));
        EXPECT_NE(std::get<ProfileError>(read).message.find(row.expected), std::string::npos)
            << std::get<ProfileError>(read).message;
    }
}

TEST(ProfileJson, RefusesTextThatIsNotJson) {
    for (const char* text : {"", "{", "{\"version\": 1,}", "version = 1", "{\"version\": 1} x"}) {
        auto read = profileFromJsonText(text);
        ASSERT_TRUE(std::holds_alternative<ProfileError>(read)) << text;
        EXPECT_EQ(std::get<ProfileError>(read).message.rfind("not valid JSON at byte ", 0), 0u)
            << std::get<ProfileError>(read).message;
    }
}

}  // namespace
}  // namespace orvenda::profiles
