#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Bytes.h"
#include "platform/foundation/Json.h"

namespace platform {

// The phone's user defaults: a key-value store kept in memory and written to one XML property
// list by synchronize(). Values read as the phone reads them (a number stored as text reads
// as a number, and so on). Thread-safe.
//
// Only what synchronize() wrote survives a restart: a change that was never synchronized is
// lost, as when the app is killed.
class UserDefaults {
public:
    // The app's store, libraryDirectory()/Preferences/defaults.plist, loaded on first use. When
    // the data directory has moved (CAMPUS_HOME changed) it is loaded anew from the new place.
    static UserDefaults& standard();
    // Forgets the loaded standard store (unsynchronized changes included), so the next
    // standard() reads the file again: an app restart, for tests. References handed out before
    // stay valid but no longer belong to the standard store.
    static void resetStandard();

    // Moves a damaged file aside, giving its new path, or nothing when it could not be moved.
    using MoveAside =
        std::function<std::optional<std::filesystem::path>(const std::filesystem::path&)>;

    // Loads the file now. A file refused for any reason (not a property list holding a
    // dictionary, nested too deeply, too large, not a regular file) is moved aside
    // ("<name>.damaged-<time>", see moveAsideDamagedFile) and logged; the store then starts
    // empty. When it cannot be moved, the store never writes over it.
    explicit UserDefaults(std::filesystem::path file, MoveAside moveAside = {});
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    const std::filesystem::path& file() const { return m_file; }

    std::optional<Json> objectForKey(const std::string& key) const;
    // Storing null removes the key, as the phone's setObject:nil does. A value nested so deeply
    // that the stored file could not be read back is refused, with a log line.
    void setObject(const Json& value, const std::string& key);
    void removeObjectForKey(const std::string& key);

    // Missing -> NO; numbers -> non-zero; text -> "YES", "true", "1" and the like (the first
    // significant character is Y, y, T, t or 1-9).
    bool boolForKey(const std::string& key) const;
    void setBool(bool value, const std::string& key);
    // Numbers, booleans and numeric text; anything else reads 0.
    long integerForKey(const std::string& key) const;
    void setInteger(long value, const std::string& key);
    double doubleForKey(const std::string& key) const;
    void setDouble(double value, const std::string& key);
    // Text, or a number (booleans included, as 1 and 0) as its decimal text.
    std::optional<std::string> stringForKey(const std::string& key) const;
    void setString(const std::string& value, const std::string& key);
    std::optional<Json> dictionaryForKey(const std::string& key) const;
    std::optional<Json> arrayForKey(const std::string& key) const;
    std::optional<Bytes> dataForKey(const std::string& key) const;
    void setData(const Bytes& value, const std::string& key);

    Json dictionaryRepresentation() const;

    // Writes the whole store to the file atomically (write, fsync, rename). False, with a log
    // line, when it could not be written; the store in memory is kept either way.
    bool synchronize();

private:
    void load(const MoveAside& moveAside);
    const Json* find(const std::string& key) const;

    std::filesystem::path m_file;
    mutable std::mutex m_mutex;
    Json m_values = Json::object();
    // Set when a damaged file could not be moved aside: writing would destroy it.
    bool m_mustNotOverwrite{false};
};

}  // namespace platform
