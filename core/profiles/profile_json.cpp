#include "core/profiles/profile_json.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "core/profiles/profile_checks.h"

namespace orvenda::profiles {
namespace {

using Json = nlohmann::ordered_json;

// The choice words of the file, in the order of the panel's options.
const std::vector<std::string> kFilters = {"2.5M", "50M", "through"};
const std::vector<std::string> kOutputPaths = {"fix", "var"};
const std::vector<std::string> kSequences = {"continuous", "single", "gated"};
const std::vector<std::string> kGates = {"edge", "level"};
const std::vector<std::string> kTriggers = {"internal", "link"};
const std::vector<std::string> kPolarities = {"positive", "negative"};
const std::vector<std::string> kMarkerEdits = {"auto", "manual"};
const std::vector<std::string> kIfModes = {"real", "offset"};

Json pointsJson(const std::vector<MarkerPoint>& points) {
    Json list = Json::array();
    for (const MarkerPoint& p : points) list.push_back(Json::array({p.Pos, p.Value}));
    return list;
}

struct Refused {
    std::string message;
};

[[noreturn]] void refuse(const std::string& key, const std::string& why) { throw Refused{key + ": " + why}; }

std::string typeName(const Json& value) {
    if (value.is_number_integer() || value.is_number_unsigned()) return "a whole number";
    if (value.is_number_float()) return "a number";
    return std::string(value.is_string() ? "a text" : value.type_name());
}

// One JSON object whose keys are taken one by one; a key it does not know
// is refused.
class ObjectReader {
public:
    // Unknown keys are refused first: a misspelt key is named as it stands.
    ObjectReader(const Json& object, std::string path, std::initializer_list<const char*> keys)
        : object_(object), path_(std::move(path)) {
        if (!object_.is_object())
            refuse(path_.empty() ? std::string("the file") : path_,
                   "must be an object {...}, not " + typeName(object_));
        for (const auto& item : object_.items())
            if (std::find_if(keys.begin(), keys.end(), [&item](const char* key) { return item.key() == key; }) ==
                keys.end())
                refuse(keyPath(item.key()), "unknown key");
    }

    const Json& take(const std::string& key) {
        const auto found = object_.find(key);
        if (found == object_.end()) refuse(keyPath(key), "is missing");
        return *found;
    }

    std::string keyPath(const std::string& key) const { return path_.empty() ? key : path_ + "." + key; }

    bool boolean(const std::string& key) {
        const Json& value = take(key);
        if (!value.is_boolean()) refuse(keyPath(key), "must be true or false, not " + typeName(value));
        return value.get<bool>();
    }

    double number(const std::string& key) {
        const Json& value = take(key);
        if (!value.is_number()) refuse(keyPath(key), "must be a number, not " + typeName(value));
        return value.get<double>() + 0.0;  // no negative zero
    }

    int32_t whole(const std::string& key) { return wholeOf(take(key), keyPath(key)); }

    int choice(const std::string& key, const std::vector<std::string>& words) {
        const Json& value = take(key);
        std::string list;
        for (const std::string& word : words) list += (list.empty() ? "\"" : ", \"") + word + "\"";
        if (!value.is_string()) refuse(keyPath(key), "must be one of " + list + ", not " + typeName(value));
        const std::string text = value.get<std::string>();
        for (std::size_t k = 0; k < words.size(); ++k)
            if (words[k] == text) return static_cast<int>(k);
        refuse(keyPath(key), "\"" + text + "\" is not one of " + list);
    }

    ObjectReader object(const std::string& key, std::initializer_list<const char*> keys) {
        return ObjectReader(take(key), keyPath(key), keys);
    }

    std::vector<MarkerPoint> points(const std::string& key) {
        const Json& value = take(key);
        const std::string path = keyPath(key);
        if (!value.is_array()) refuse(path, "must be a list of [pos, value] pairs, not " + typeName(value));
        std::vector<MarkerPoint> points;
        for (std::size_t k = 0; k < value.size(); ++k) {
            const Json& pair = value[k];
            const std::string at = path + "[" + std::to_string(k) + "]";
            if (!pair.is_array() || pair.size() != 2) refuse(at, "must be a [pos, value] pair");
            points.push_back({wholeOf(pair[0], at + "[0]"), wholeOf(pair[1], at + "[1]")});
        }
        return points;
    }

private:
    static int32_t wholeOf(const Json& value, const std::string& path) {
        if (!value.is_number()) refuse(path, "must be a whole number, not " + typeName(value));
        const double number = value.get<double>();
        if (number != std::trunc(number)) refuse(path, value.dump() + " is not a whole number");
        if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
            refuse(path, value.dump() + " is beyond the range of a 32-bit integer");
        return static_cast<int32_t>(number);
    }

    const Json& object_;
    std::string path_;
};

void readVersion(ObjectReader& top) {
    const Json& version = top.take("version");
    if (!version.is_number_integer() && !version.is_number_unsigned())
        refuse("version", "must be a whole number, not " + typeName(version));
    if (version.get<double>() > kProfileVersion)
        refuse("version", version.dump() + " is newer than this program reads (up to " +
                              std::to_string(kProfileVersion) + "); use a newer Orvenda");
    if (version.get<double>() < 1) refuse("version", version.dump() + " is not a profile version");
}

SettingsProfile readProfile(const Json& document) {
    ObjectReader top(document, "",
                     {"version", "iqFilter", "dataFullScale", "iqOffset", "iqOutput", "outputSequence", "startTrigger",
                      "samplingFrequencyMHz", "marker", "intermediateFrequency"});
    readVersion(top);
    SettingsProfile p;
    {
        ObjectReader g = top.object("iqFilter", {"on", "filter"});
        p.iqFilterOn = g.boolean("on");
        p.filter = g.choice("filter", kFilters);
    }
    {
        ObjectReader g = top.object("dataFullScale", {"value", "iqInverse"});
        p.dataFullScale = g.number("value");
        p.iqInverse = g.boolean("iqInverse");
    }
    {
        ObjectReader g = top.object("iqOffset", {"on", "interlock", "i", "q"});
        p.iqOffsetOn = g.boolean("on");
        p.iqOffsetInterlock = g.boolean("interlock");
        p.iOffset = g.whole("i");
        p.qOffset = g.whole("q");
    }
    {
        ObjectReader g = top.object("iqOutput", {"on", "path", "interlock", "i", "q"});
        p.iqOutputOn = g.boolean("on");
        p.iqOutputPath = g.choice("path", kOutputPaths);
        p.iqOutputInterlock = g.boolean("interlock");
        p.iOutput = g.whole("i");
        p.qOutput = g.whole("q");
    }
    {
        ObjectReader g = top.object("outputSequence", {"on", "mode", "loops", "gate"});
        p.outputSequenceOn = g.boolean("on");
        p.outputSequence = g.choice("mode", kSequences);
        p.loops = g.whole("loops");
        p.gate = g.choice("gate", kGates);
    }
    {
        ObjectReader g = top.object("startTrigger", {"on", "source", "polarity"});
        p.startTriggerOn = g.boolean("on");
        p.startTrigger = g.choice("source", kTriggers);
        p.linkPolarity = g.choice("polarity", kPolarities);
    }
    p.samplingFrequencyMHz = top.number("samplingFrequencyMHz");
    {
        ObjectReader g =
            top.object("marker", {"on", "edit", "marker1On", "marker2On", "marker1Points", "marker2Points"});
        p.markerOn = g.boolean("on");
        p.markerEdit = g.choice("edit", kMarkerEdits);
        p.marker1On = g.boolean("marker1On");
        p.marker2On = g.boolean("marker2On");
        p.marker1Points = g.points("marker1Points");
        p.marker2Points = g.points("marker2Points");
    }
    {
        ObjectReader g = top.object("intermediateFrequency", {"mode", "carrierMHz"});
        p.ifMode = g.choice("mode", kIfModes);
        p.carrierMHz = g.number("carrierMHz");
    }
    return p;
}

}  // namespace

std::string profileJsonText(const SettingsProfile& p) {
    const auto word = [](const std::vector<std::string>& words, int index) {
        return words.at(static_cast<std::size_t>(index));
    };
    Json document = {
        {"version", kProfileVersion},
        {"iqFilter", {{"on", p.iqFilterOn}, {"filter", word(kFilters, p.filter)}}},
        {"dataFullScale", {{"value", p.dataFullScale}, {"iqInverse", p.iqInverse}}},
        {"iqOffset", {{"on", p.iqOffsetOn}, {"interlock", p.iqOffsetInterlock}, {"i", p.iOffset}, {"q", p.qOffset}}},
        {"iqOutput",
         {{"on", p.iqOutputOn},
          {"path", word(kOutputPaths, p.iqOutputPath)},
          {"interlock", p.iqOutputInterlock},
          {"i", p.iOutput},
          {"q", p.qOutput}}},
        {"outputSequence",
         {{"on", p.outputSequenceOn},
          {"mode", word(kSequences, p.outputSequence)},
          {"loops", p.loops},
          {"gate", word(kGates, p.gate)}}},
        {"startTrigger",
         {{"on", p.startTriggerOn},
          {"source", word(kTriggers, p.startTrigger)},
          {"polarity", word(kPolarities, p.linkPolarity)}}},
        {"samplingFrequencyMHz", p.samplingFrequencyMHz},
        {"marker",
         {{"on", p.markerOn},
          {"edit", word(kMarkerEdits, p.markerEdit)},
          {"marker1On", p.marker1On},
          {"marker2On", p.marker2On},
          {"marker1Points", pointsJson(p.marker1Points)},
          {"marker2Points", pointsJson(p.marker2Points)}}},
        {"intermediateFrequency", {{"mode", word(kIfModes, p.ifMode)}, {"carrierMHz", p.carrierMHz}}},
    };
    return document.dump(2) + "\n";
}

std::variant<SettingsProfile, ProfileError> profileFromJsonText(std::string_view text) {
    Json document;
    try {
        document = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        // what() starts with "[json.exception.parse_error.101] parse error at line 1, column 2: ...".
        const std::string what = error.what();
        const std::size_t colon = what.find(": ");
        return ProfileError{"not valid JSON at byte " + std::to_string(error.byte) +
                            (colon == std::string::npos ? std::string() : ": " + what.substr(colon + 2))};
    }
    try {
        SettingsProfile profile = readProfile(document);
        if (auto problem = checkProfile(profile)) return *problem;
        return profile;
    } catch (const Refused& refused) {
        return ProfileError{refused.message};
    }
}

}  // namespace orvenda::profiles
