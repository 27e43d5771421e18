#include "engine/rte/panel_file.h"

#include <algorithm>
#include <charconv>

namespace halvik::rte {

namespace {

constexpr std::string_view kMagic = "orvenda-uir";
constexpr std::string_view kVersion = "1";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Takes the next blank-delimited word off the front of `rest`.
std::string_view takeWord(std::string_view& rest) {
    rest = trim(rest);
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    std::string_view word = rest.substr(0, end);
    rest = trim(rest.substr(end));
    return word;
}

// Decimal digits only, no sign, within [low, high].
std::optional<int> parseNumber(std::string_view word, int low, int high) {
    if (word.empty() || word.size() > 9) return std::nullopt;
    if (!std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
    return value;
}

bool hasControlByte(std::string_view line) {
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x20 && c != '\t') || u == 0x7F;
    });
}

std::optional<ControlKind> parseKind(std::string_view word) {
    if (word == "label") return ControlKind::Label;
    if (word == "progress") return ControlKind::Progress;
    return std::nullopt;
}

class Parser {
public:
    PanelFileResult run(std::string_view bytes) {
        if (bytes.size() > kMaxPanelFileBytes)
            return fail("file larger than " + std::to_string(kMaxPanelFileBytes) + " bytes");
        std::size_t start = 0;
        while (start <= bytes.size() && error_.empty()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string_view::npos) end = bytes.size();
            ++lineNumber_;
            statement(bytes.substr(start, end - start));
            start = end + 1;
        }
        if (error_.empty() && !sawMagic_) return fail("no \"orvenda-uir 1\" line");
        if (error_.empty() && open_) return fail("panel " + std::to_string(open_->id) + " has no \"end\"");
        if (!error_.empty()) return {std::nullopt, error_};
        return {std::move(file_), {}};
    }

private:
    PanelFileResult fail(std::string message) {
        error_ = std::move(message);
        return {std::nullopt, error_};
    }
    void lineError(const std::string& message) { error_ = "line " + std::to_string(lineNumber_) + ": " + message; }

    void statement(std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // files saved with CR LF
        if (hasControlByte(line)) return lineError("control character");
        line = trim(line);
        if (line.empty() || line.front() == '#') return;
        std::string_view rest = line;
        const std::string_view keyword = takeWord(rest);
        if (!sawMagic_) return magic(keyword, rest);
        if (keyword == "panel") return panel(rest);
        if (keyword == "control") return control(rest);
        if (keyword == "end") return endPanel(rest);
        lineError("unknown statement \"" + std::string(keyword.substr(0, 40)) + "\"");
    }

    void magic(std::string_view keyword, std::string_view rest) {
        if (keyword != kMagic) return lineError("the first statement must be \"orvenda-uir 1\"");
        if (rest != kVersion) return lineError("unsupported format version");
        sawMagic_ = true;
    }

    void panel(std::string_view rest) {
        if (open_) return lineError("panel inside panel " + std::to_string(open_->id));
        const auto id = parseNumber(takeWord(rest), 1, kMaxResourceId);
        const auto width = parseNumber(takeWord(rest), kMinPanelSide, kMaxPanelSide);
        const auto height = parseNumber(takeWord(rest), kMinPanelSide, kMaxPanelSide);
        if (!id) return lineError("panel id must be 1.." + std::to_string(kMaxResourceId));
        if (!width || !height)
            return lineError("panel size must be " + std::to_string(kMinPanelSide) + ".." +
                             std::to_string(kMaxPanelSide));
        if (rest.size() > kMaxTextBytes) return lineError("title too long");
        if (file_.findPanel(*id)) return lineError("panel " + std::to_string(*id) + " defined twice");
        open_ = PanelDefinition{*id, *width, *height, std::string(rest), {}};
    }

    void control(std::string_view rest) {
        if (!open_) return lineError("control outside a panel");
        const auto id = parseNumber(takeWord(rest), 1, kMaxResourceId);
        const auto kind = parseKind(takeWord(rest));
        if (!id) return lineError("control id must be 1.." + std::to_string(kMaxResourceId));
        if (!kind) return lineError("control kind must be label or progress");
        if (rest.size() > kMaxTextBytes) return lineError("control text too long");
        if (open_->findControl(*id)) return lineError("control " + std::to_string(*id) + " defined twice");
        open_->controls.push_back(ControlDefinition{*id, *kind, std::string(rest)});
    }

    void endPanel(std::string_view rest) {
        if (!open_) return lineError("\"end\" outside a panel");
        if (!rest.empty()) return lineError("text after \"end\"");
        file_.panels.push_back(std::move(*open_));
        open_.reset();
    }

    PanelFile file_;
    std::optional<PanelDefinition> open_;
    bool sawMagic_ = false;
    int lineNumber_ = 0;
    std::string error_;
};

}  // namespace

const ControlDefinition* PanelDefinition::findControl(int controlId) const {
    auto it =
        std::find_if(controls.begin(), controls.end(), [&](const ControlDefinition& c) { return c.id == controlId; });
    return it == controls.end() ? nullptr : &*it;
}

const PanelDefinition* PanelFile::findPanel(int panelId) const {
    auto it = std::find_if(panels.begin(), panels.end(), [&](const PanelDefinition& p) { return p.id == panelId; });
    return it == panels.end() ? nullptr : &*it;
}

PanelFileResult parsePanelFile(std::string_view bytes) { return Parser().run(bytes); }

}  // namespace halvik::rte
