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
    // "<name>.<ext>" (just "<name>" for an empty ext) in the overlay directory when one is
    // set, then in resourcePath(), then in its images/.
    std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                         const std::string& ext) const;

    // Resources the program supplies at start, in place of files a phone app would carry in
    // its bundle (such as a vendor SDK's configuration pointing at the demo services): a
    // resource there hides one of the same name in resourcePath(). Empty clears it.
    // Thread-safe.
    void setOverlayDirectory(std::filesystem::path directory);
    std::filesystem::path overlayDirectory() const;

private:
    Bundle() = default;

    mutable std::once_flag m_infoLoaded;
    mutable Json m_info = Json::object();
    mutable std::mutex m_overlayMutex;
    std::filesystem::path m_overlay;
};

}  // namespace platform
