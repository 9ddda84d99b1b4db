#include "platform/foundation/Bundle.h"

#include <cstdlib>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

#ifndef CAMPUS_RESOURCE_DIR
#define CAMPUS_RESOURCE_DIR "resources"
#endif

namespace platform {

Bundle& Bundle::main() {
    static Bundle bundle;
    return bundle;
}

std::filesystem::path Bundle::resourcePath() const {
    const char* overridden = std::getenv("CAMPUS_RESOURCES");
    if (overridden && *overridden)
        return overridden;
    return CAMPUS_RESOURCE_DIR;
}

const Json& Bundle::infoDictionary() const {
    std::call_once(m_infoLoaded, [this] {
        auto file = resourcePath() / "Info.plist";
        std::string error;
        auto info = readPropertyList(file, &error);
        if (info && info->is_object()) {
            m_info = std::move(*info);
        } else {
            log("bundle Info.plist %@ unusable: %@", file.string(),
                info ? std::string("not a dictionary") : error);
        }
    });
    return m_info;
}

std::optional<Json> Bundle::objectForInfoDictionaryKey(const std::string& key) const {
    const Json& info = infoDictionary();
    auto it = info.find(key);
    if (it == info.end())
        return std::nullopt;
    return *it;
}

std::string Bundle::shortVersionString() const {
    auto version = objectForInfoDictionaryKey("CFBundleShortVersionString");
    return version && version->is_string() ? version->get<std::string>() : std::string();
}

std::optional<std::filesystem::path> Bundle::pathForResource(const std::string& name,
                                                             const std::string& ext) const {
    if (name.empty())
        return std::nullopt;
    std::string fileName = name;
    if (!ext.empty())
        fileName += ext.front() == '.' ? ext : "." + ext;
    auto root = resourcePath();
    std::vector<std::filesystem::path> candidates;
    if (auto overlay = overlayDirectory(); !overlay.empty())
        candidates.push_back(overlay / fileName);
    candidates.push_back(root / fileName);
    candidates.push_back(root / "images" / fileName);
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

void Bundle::setOverlayDirectory(std::filesystem::path directory) {
    std::lock_guard lock(m_overlayMutex);
    m_overlay = std::move(directory);
}

std::filesystem::path Bundle::overlayDirectory() const {
    std::lock_guard lock(m_overlayMutex);
    return m_overlay;
}

}  // namespace platform
