// The progress layer's panel file parser. Any bytes give a panel set or an
// error, never both; an accepted file keeps to the format's limits, and
// writing it back out and parsing again gives the same panels.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "engine/rte/panel_file.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;
namespace rte = halvik::rte;

namespace {

bool cleanText(const std::string& text) {
    if (text.size() > rte::kMaxTextBytes) return false;
    if (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t'))
        return false;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f) return false;
    }
    return true;
}

std::string written(const rte::PanelFile& file) {
    std::string out = "orvenda-uir 1\n";
    for (const rte::PanelDefinition& panel : file.panels) {
        out += "panel " + std::to_string(panel.id) + " " + std::to_string(panel.width) + " " +
               std::to_string(panel.height) + " " + panel.title + "\n";
        for (const rte::ControlDefinition& control : panel.controls)
            out += "control " + std::to_string(control.id) +
                   (control.kind == rte::ControlKind::Label ? " label " : " progress ") + control.text + "\n";
        out += "end\n";
    }
    return out;
}

bool samePanels(const rte::PanelFile& a, const rte::PanelFile& b) {
    if (a.panels.size() != b.panels.size()) return false;
    for (std::size_t p = 0; p < a.panels.size(); ++p) {
        const rte::PanelDefinition& x = a.panels[p];
        const rte::PanelDefinition& y = b.panels[p];
        if (x.id != y.id || x.width != y.width || x.height != y.height || x.title != y.title ||
            x.controls.size() != y.controls.size())
            return false;
        for (std::size_t c = 0; c < x.controls.size(); ++c)
            if (x.controls[c].id != y.controls[c].id || x.controls[c].kind != y.controls[c].kind ||
                x.controls[c].text != y.controls[c].text)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const rte::PanelFileResult result = rte::parsePanelFile(bytes);
    FUZZ_CHECK(result.file.has_value() != !result.error.empty(), "file and error: %d, \"%s\"", result.file.has_value(),
               result.error.c_str());
    if (!result.file) return 0;
    FUZZ_CHECK(size <= rte::kMaxPanelFileBytes, "a file of %zu bytes accepted", size);

    std::set<int> panelIds;
    for (const rte::PanelDefinition& panel : result.file->panels) {
        FUZZ_CHECK(panel.id >= 1 && panel.id <= rte::kMaxResourceId && panelIds.insert(panel.id).second, "panel id %d",
                   panel.id);
        FUZZ_CHECK(panel.width >= rte::kMinPanelSide && panel.width <= rte::kMaxPanelSide &&
                       panel.height >= rte::kMinPanelSide && panel.height <= rte::kMaxPanelSide,
                   "panel %d size %dx%d", panel.id, panel.width, panel.height);
        FUZZ_CHECK(cleanText(panel.title), "panel %d title \"%s\"", panel.id, printable(panel.title).c_str());
        FUZZ_CHECK(result.file->findPanel(panel.id) == &panel, "findPanel(%d)", panel.id);
        std::set<int> controlIds;
        for (const rte::ControlDefinition& control : panel.controls) {
            FUZZ_CHECK(control.id >= 1 && control.id <= rte::kMaxResourceId && controlIds.insert(control.id).second,
                       "control id %d", control.id);
            FUZZ_CHECK(cleanText(control.text), "control %d text \"%s\"", control.id, printable(control.text).c_str());
            FUZZ_CHECK(panel.findControl(control.id) == &control, "findControl(%d)", control.id);
        }
    }

    const std::string canonical = written(*result.file);
    if (canonical.size() > rte::kMaxPanelFileBytes) return 0;  // only the final line feed can make it longer
    const rte::PanelFileResult again = rte::parsePanelFile(canonical);
    FUZZ_CHECK(again.file.has_value(), "the written-out file is rejected: %s", again.error.c_str());
    FUZZ_CHECK(samePanels(*result.file, *again.file), "the written-out file parses differently");
    return 0;
}
