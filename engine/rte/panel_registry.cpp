#include "engine/rte/panel_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <thread>
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

struct PanelRegistry::LoadedPanel {
    LoadedPanel(const PanelDefinition& definition, std::unique_ptr<PanelView> view)
        : panel(definition, std::move(view)), owner(std::this_thread::get_id()) {}

    // Recursive: a window redraw runs the application's event processing,
    // which may start a nested conversion on this thread that redraws again.
    std::recursive_mutex mutex;
    Panel panel;
    const std::thread::id owner;  // the thread that loaded it draws it
};

int PanelRegistry::init() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (initCount_ == INT_MAX) return RTE_ERR_INTERNAL;
    ++initCount_;
    return 0;
}

int PanelRegistry::close() {
    PanelTable left;  // destroyed after the lock is released
    std::lock_guard<std::mutex> lock(mutex_);
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    if (--initCount_ == 0) left.swap(panels_);
    return 0;
}

int PanelRegistry::load(int parent, const char* panelFile, int resourceId) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    }
    if (parent != 0 || panelFile == nullptr) return RTE_ERR_BAD_ARGUMENT;
    // Reading, parsing and making the view happen without the lock, so
    // conversions on other threads go on meanwhile.
    const std::optional<std::string> bytes = readPanelFileBytes(panelFile);
    if (!bytes) return RTE_ERR_PANEL_FILE;
    PanelFileResult parsed = parsePanelFile(*bytes);
    if (!parsed.file) return RTE_ERR_MALFORMED;
    const PanelDefinition* definition = parsed.file->findPanel(resourceId);
    if (!definition) return RTE_ERR_NO_RESOURCE;
    const ControlDefinition* control = definition->findControl(kProgressControlId);
    if (!control || control->kind != ControlKind::Progress) return RTE_ERR_NO_CONTROL;
    auto loaded = std::make_shared<LoadedPanel>(*definition, factory_(*definition));

    std::lock_guard<std::mutex> lock(mutex_);
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;  // closed meanwhile
    const int handle = nextFreeHandle();
    if (handle < 0) return RTE_ERR_INTERNAL;
    panels_[handle] = std::move(loaded);
    return handle;
}

int PanelRegistry::nextFreeHandle() {
    for (std::size_t tries = 0; tries <= panels_.size(); ++tries) {
        lastHandle_ = lastHandle_ == INT_MAX ? 1 : lastHandle_ + 1;
        if (!panels_.count(lastHandle_)) return lastHandle_;
    }
    return -1;
}

std::size_t PanelRegistry::loadedPanels() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return panels_.size();
}

int PanelRegistry::withPanel(int handle, const std::function<int(Panel&)>& operation) {
    std::shared_ptr<LoadedPanel> loaded;  // keeps the panel alive should it be discarded meanwhile
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
        auto it = panels_.find(handle);
        if (it == panels_.end()) return RTE_ERR_BAD_HANDLE;
        loaded = it->second;
    }
    std::lock_guard<std::recursive_mutex> panelLock(loaded->mutex);
    return operation(loaded->panel);
}

int PanelRegistry::display(int handle) {
    return withPanel(handle, [](Panel& panel) { return panel.display(); });
}

int PanelRegistry::setAttribute(int handle, int control, int attribute, const char* text) {
    return withPanel(handle, [&](Panel& panel) { return panel.setText(control, attribute, text); });
}

int PanelRegistry::setValue(int handle, int control, double value) {
    return withPanel(handle, [&](Panel& panel) { return panel.setValue(control, value); });
}

int PanelRegistry::drawAll() {
    std::vector<std::shared_ptr<LoadedPanel>> own;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
        for (const auto& entry : panels_) {
            if (entry.second->owner == std::this_thread::get_id()) own.push_back(entry.second);
        }
    }
    // A redraw runs event processing, which may come back and discard a
    // panel: each is kept alive until its draw is over.
    for (const std::shared_ptr<LoadedPanel>& loaded : own) {
        std::lock_guard<std::recursive_mutex> panelLock(loaded->mutex);
        loaded->panel.draw();
    }
    return 0;
}

int PanelRegistry::discard(int handle) {
    std::shared_ptr<LoadedPanel> discarded;  // destroyed after the lock is released
    std::lock_guard<std::mutex> lock(mutex_);
    if (initCount_ == 0) return RTE_ERR_NOT_INITIALISED;
    auto it = panels_.find(handle);
    if (it == panels_.end()) return RTE_ERR_BAD_HANDLE;
    discarded = std::move(it->second);
    panels_.erase(it);
    return 0;
}

}  // namespace halvik::rte
