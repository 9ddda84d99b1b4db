#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Json.h"

namespace platform {

// The app bundle: the resources directory with Info.plist and the images.
class Bundle {
public:
    static Bundle& main();

    // $CAMPUS_RESOURCES when set, else the resources directory of the source tree.
    std::filesystem::path resourcePath() const;
    // Info.plist, read once; an empty dictionary (and a log line) when it is missing or damaged.
    const Json& infoDictionary() const;
    std::optional<Json> objectForInfoDictionaryKey(const std::string& key) const;
    // "CFBundleShortVersionString", or "" when absent.
    std::string shortVersionString() const;
    // "<name>.<ext>" (just "<name>" for an empty ext) in resourcePath(), then in its images/.
    std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                         const std::string& ext) const;

private:
    Bundle() = default;

    mutable std::once_flag m_infoLoaded;
    mutable Json m_info = Json::object();
};

}  // namespace platform
