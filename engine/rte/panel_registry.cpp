#include "engine/rte/panel_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "engine/rte/rte_api.h"

namespace halvik::rte {

std::optional<std::string> readPanelFileBytes(const char* path) {
    // Non-blocking open and a regular-file check: a pipe or a device in the
    // panel file's place must fail the load, not hang it.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes(kMaxPanelFileBytes + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(filled);
    return bytes;
}

int PanelRegistry::init() {
    if (initCount_ == INT_MAX) return RTE_ERR_INTERNAL;
    ++initCount_;
    return 0;
}

int PanelRegistry::close() {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    if (--initCount_ == 0) panels_.clear();
    return 0;
}

int PanelRegistry::load(int parent, const char* panelFile, int resourceId) {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    if (parent != 0 || panelFile == nullptr) return RTE_ERR_BAD_ARGUMENT;
    const std::optional<std::string> bytes = readPanelFileBytes(panelFile);
    if (!bytes) return RTE_ERR_PANEL_FILE;
    PanelFileResult parsed = parsePanelFile(*bytes);
    if (!parsed.file) return RTE_ERR_MALFORMED;
    const PanelDefinition* definition = parsed.file->findPanel(resourceId);
    if (!definition) return RTE_ERR_NO_RESOURCE;
    const ControlDefinition* control = definition->findControl(kProgressControlId);
    if (!control || control->kind != ControlKind::Progress) return RTE_ERR_NO_CONTROL;
    const int handle = nextFreeHandle();
    if (handle < 0) return RTE_ERR_INTERNAL;
    panels_[handle] = std::make_unique<Panel>(*definition, factory_(*definition));
    return handle;
}

int PanelRegistry::nextFreeHandle() {
    for (std::size_t tries = 0; tries <= panels_.size(); ++tries) {
        lastHandle_ = lastHandle_ == INT_MAX ? 1 : lastHandle_ + 1;
        if (!panels_.count(lastHandle_)) return lastHandle_;
    }
    return -1;
}

Panel* PanelRegistry::find(int handle) {
    auto it = panels_.find(handle);
    return it == panels_.end() ? nullptr : it->second.get();
}

int PanelRegistry::display(int handle) {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    Panel* panel = find(handle);
    return panel ? panel->display() : RTE_ERR_BAD_HANDLE;
}

int PanelRegistry::setAttribute(int handle, int control, int attribute, const char* text) {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    Panel* panel = find(handle);
    return panel ? panel->setText(control, attribute, text) : RTE_ERR_BAD_HANDLE;
}

int PanelRegistry::setValue(int handle, int control, double value) {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    Panel* panel = find(handle);
    return panel ? panel->setValue(control, value) : RTE_ERR_BAD_HANDLE;
}

int PanelRegistry::drawAll() {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    // By handle, not by iterator: a redraw runs event processing, which may
    // come back and discard a panel.
    std::vector<int> handles;
    for (const auto& entry : panels_) handles.push_back(entry.first);
    for (int handle : handles) {
        if (Panel* panel = find(handle)) panel->draw();
    }
    return 0;
}

int PanelRegistry::discard(int handle) {
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    return panels_.erase(handle) ? 0 : RTE_ERR_BAD_HANDLE;
}

}  // namespace halvik::rte
