#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "components/diskcache/DiskCache.h"
#include "platform/foundation/Json.h"

// The share SDK's stores between launches: archived objects in the SDK's disk cache under
// fixed keys (entries live seven days), and a few plain strings (the application key, the
// user name) in the Library plist ".SHSocialData.plist".
class SHSCacheManager {
public:
    static constexpr const char* kLibraryPlistName = ".SHSocialData.plist";

    // Made on first use, which also merges the plist older versions kept in Documents.
    static SHSCacheManager& shareInstance() { return SHSSharedInstance<SHSCacheManager>::get(); }
    static void resetSharedInstance() { SHSSharedInstance<SHSCacheManager>::reset(); }

    // "SHSBarEntity" joined with the subject's identifier by "-" (the current subject's when
    // none is given); any other class name is itself the key.
    static std::string getKeyNameFromVariable(const std::string& className,
                                              const std::optional<std::string>& identifier = {});

    // Archives the object and stores it under the key.
    void setCacheData(const platform::Json& object, const std::string& key);
    // The object stored under the key; nothing when absent, expired or damaged.
    std::optional<platform::Json> cachedObject(const std::string& key) const;
    bool hasCacheForKey(const std::string& key) const;

    // The variable takes the new value (a first store included), and a value that is set is
    // archived under the class name's key. T has toArchive() and static fromArchive().
    template <class T>
    void setCacheToVariable(std::shared_ptr<T>& variable, std::shared_ptr<T> source,
                            const std::string& className,
                            const std::optional<std::string>& identifier = {}) {
        if (variable != source)
            variable = std::move(source);
        if (variable)
            setCacheData(variable->toArchive(), getKeyNameFromVariable(className, identifier));
    }
    // Only an empty variable is filled, from the class name's entry when it holds an object.
    template <class T>
    void changeVariableFromCache(std::shared_ptr<T>& variable, const std::string& className,
                                 const std::optional<std::string>& identifier = {}) const {
        if (variable)
            return;
        if (auto stored = cachedObject(getKeyNameFromVariable(className, identifier)))
            variable = T::fromArchive(*stored);
    }

    // The string under the key in the Library plist; nothing when the plist or the key is
    // missing.
    std::optional<std::string> getValueFromDocument(const std::string& key) const;
    // Sets the key in the Library plist, written atomically.
    void setValueInDocument(const std::string& value, const std::string& key);
    // Merges the plists older versions kept in Documents into the Library plist (keys the
    // Library plist already has win) and removes each once merged; a file that cannot be
    // read or merged is left where it is.
    void transterDataAtDocumentToLibrary();

    components::DiskCache& cache() { return *m_cache; }
    static std::filesystem::path libraryPlistPath();

private:
    friend class SHSSharedInstance<SHSCacheManager>;
    SHSCacheManager();

    std::unique_ptr<components::DiskCache> m_cache;
};
