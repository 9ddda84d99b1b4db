#include "SocialSDK/service/SHSCacheManager.h"

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"

namespace {

// The SDK's disk cache keeps entries seven times the cache's own default of one day.
constexpr double kTimeoutFactor = 7;

// The Library plist's dictionary; an empty one when the file is missing. A damaged file is
// moved aside (kept, never written over) and the store starts empty.
platform::Json loadLibraryPlist() {
    const auto path = SHSCacheManager::libraryPlistPath();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return platform::Json::object();
    std::string error;
    auto stored = platform::readPropertyList(path, &error);
    if (stored && stored->is_object())
        return *stored;
    platform::log("data transter error: %@", error.empty() ? "not a dictionary" : error);
    platform::moveAsideDamagedFile(path);
    return platform::Json::object();
}

}  // namespace

SHSCacheManager::SHSCacheManager()
    : m_cache(std::make_unique<components::DiskCache>(
          platform::paths::cachesDirectory() / "SHSocialCache",
          [] { return SHSocialProtocolData::now(); })) {
    m_cache->setDefaultTimeoutInterval(m_cache->defaultTimeoutInterval() * kTimeoutFactor);
    transterDataAtDocumentToLibrary();
}

std::filesystem::path SHSCacheManager::libraryPlistPath() {
    return platform::paths::libraryDirectory() / kLibraryPlistName;
}

std::string SHSCacheManager::getKeyNameFromVariable(const std::string& className,
                                                    const std::optional<std::string>& identifier) {
    if (className != "SHSBarEntity")
        return className;
    return className + "-" +
           (identifier ? *identifier : SHSDataManager::currentDataManager()->identifier);
}

void SHSCacheManager::setCacheData(const platform::Json& object, const std::string& key) {
    const platform::Bytes archive = platform::archiveRootObject(object);
    if (!m_cache->setData(
            key, std::string_view(reinterpret_cast<const char*>(archive.data()), archive.size())))
        platform::log("SocialSDK cache: cannot store %@", key);
}

std::optional<platform::Json> SHSCacheManager::cachedObject(const std::string& key) const {
    const auto data = m_cache->dataForKey(key);
    if (!data)
        return std::nullopt;
    auto object = platform::unarchiveObject(platform::toBytes(*data));
    if (!object || object->is_null())
        return std::nullopt;
    return object;
}

bool SHSCacheManager::hasCacheForKey(const std::string& key) const {
    return m_cache->hasCacheForKey(key);
}

std::optional<std::string> SHSCacheManager::getValueFromDocument(const std::string& key) const {
    std::error_code ec;
    if (!std::filesystem::exists(libraryPlistPath(), ec))
        return std::nullopt;
    const platform::Json stored = loadLibraryPlist();
    const auto it = stored.find(key);
    if (it == stored.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

void SHSCacheManager::setValueInDocument(const std::string& value, const std::string& key) {
    transterDataAtDocumentToLibrary();
    platform::Json stored = loadLibraryPlist();
    stored[key] = value;
    if (!platform::writePropertyList(libraryPlistPath(), stored))
        platform::log("SocialSDK: cannot write %@", libraryPlistPath().string());
}

void SHSCacheManager::transterDataAtDocumentToLibrary() {
    const auto documents = platform::paths::documentsDirectory();
    for (const char* name : {".SHSocialData.plist", "SHSocialData.plist"}) {
        const auto legacy = documents / name;
        std::error_code ec;
        if (!std::filesystem::exists(legacy, ec))
            continue;
        std::string error;
        const auto old = platform::readPropertyList(legacy, &error);
        if (!old || !old->is_object()) {
            platform::log("data transter error: %@", error.empty() ? "not a dictionary" : error);
            continue;
        }
        platform::Json merged = loadLibraryPlist();
        for (const auto& [key, value] : old->items()) {
            if (!merged.contains(key))
                merged[key] = value;
        }
        if (!platform::writePropertyList(libraryPlistPath(), merged)) {
            platform::log("data transter error: %@", "cannot write " + libraryPlistPath().string());
            continue;
        }
        std::filesystem::remove(legacy, ec);
    }
}
