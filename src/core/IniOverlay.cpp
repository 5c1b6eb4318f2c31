#include "core/IniOverlay.h"

#include <mutex>
#include <unordered_map>

namespace ostiva {

namespace {

std::mutex overlaysMutex;
std::unordered_map<std::string, std::string> overlays;

} // namespace

void SetIniOverlay(const std::string& path, const std::string& overlayPath) {
    const std::lock_guard lock(overlaysMutex);
    if (overlayPath.empty() || overlayPath == path)
        overlays.erase(path);
    else
        overlays.insert_or_assign(path, overlayPath);
}

std::string IniOverlayOf(const std::string& path) {
    const std::lock_guard lock(overlaysMutex);
    const auto it = overlays.find(path);
    return it == overlays.end() ? std::string() : it->second;
}

} // namespace ostiva
