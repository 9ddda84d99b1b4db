#include "platform/foundation/UserDefaults.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "platform/foundation/Files.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/PropertyList.h"

namespace platform {

namespace {

std::filesystem::path standardFile(const std::filesystem::path& dataDirectory) {
    return dataDirectory / "Library" / "Preferences" / "defaults.plist";
}

struct StandardStore {
    std::mutex mutex;
    std::unique_ptr<UserDefaults> current;
    std::filesystem::path dataDirectory;
    // Stores that were current once; kept so that references callers still hold stay valid.
    std::vector<std::unique_ptr<UserDefaults>> retired;
};

StandardStore& standardStore() {
    static StandardStore* store = new StandardStore();  // lives for the process
    return *store;
}

std::string_view skipSpaceAndSign(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    return text.substr(i);
}

// The leading number of a text, as the phone's integerValue/doubleValue read it: leading
// spaces skipped, then as many characters as form a number; none gives 0.
double leadingDouble(std::string_view text) {
    text = skipSpaceAndSign(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;
    return value;
}

long leadingInteger(std::string_view text) {
    text = skipSpaceAndSign(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return text.starts_with('-') ? std::numeric_limits<long>::min()
                                     : std::numeric_limits<long>::max();
    return result.ec == std::errc() ? value : 0;
}

bool textBool(std::string_view text) {
    text = skipSpaceAndSign(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    while (!text.empty() && text.front() == '0') text.remove_prefix(1);
    if (text.empty())
        return false;
    char c = text.front();
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long doubleToLong(double value) {
    if (!std::isfinite(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<long>::max()))
        return std::numeric_limits<long>::max();
    if (value <= static_cast<double>(std::numeric_limits<long>::min()))
        return std::numeric_limits<long>::min();
    return static_cast<long>(value);
}

std::string numberText(const Json& value) {
    if (value.is_number_float()) {
        char buffer[64];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value.get<double>());
        return ec == std::errc() ? std::string(buffer, end) : std::string("0");
    }
    return value.dump();
}

}  // namespace

UserDefaults& UserDefaults::standard() {
    auto& store = standardStore();
    std::lock_guard lock(store.mutex);
    std::filesystem::path directory = paths::dataDirectoryLocation();
    if (store.current && store.dataDirectory != directory) {
        store.retired.push_back(std::move(store.current));
    }
    if (!store.current) {
        // Loading the store is the client's start: the data directory is made (or made again)
        // private before anything is read from it.
        paths::dataDirectory();
        store.current = std::make_unique<UserDefaults>(standardFile(directory));
        store.dataDirectory = directory;
    }
    return *store.current;
}

void UserDefaults::resetStandard() {
    auto& store = standardStore();
    std::lock_guard lock(store.mutex);
    if (store.current)
        store.retired.push_back(std::move(store.current));
}

UserDefaults::UserDefaults(std::filesystem::path file, MoveAside moveAside)
    : m_file(std::move(file)) {
    load(moveAside ? moveAside : MoveAside(moveAsideDamagedFile));
}

void UserDefaults::load(const MoveAside& moveAside) {
    std::error_code ec;
    if (!std::filesystem::exists(m_file, ec))
        return;
    // It holds personal data; a file left readable by others (or made so since) is tightened.
    if (std::filesystem::is_regular_file(m_file, ec) &&
        (std::filesystem::status(m_file, ec).permissions() & std::filesystem::perms::all) !=
            kOwnerOnlyFile)
        std::filesystem::permissions(m_file, kOwnerOnlyFile, ec);
    std::string error;
    auto contents = readFile(m_file, &error);
    std::optional<Json> loaded;
    if (contents) {
        loaded = parsePropertyList(*contents, &error);
        if (loaded && !loaded->is_object()) {
            error = "does not hold a dictionary";
            loaded.reset();
        }
    }
    if (loaded) {
        m_values = std::move(*loaded);
        return;
    }
    if (auto aside = moveAside(m_file)) {
        log("user defaults %@ damaged (%@); moved to %@, starting empty", m_file.string(), error,
            aside->string());
    } else {
        m_mustNotOverwrite = true;
        log("user defaults %@ damaged (%@) and could not be moved aside; not writing over it",
            m_file.string(), error);
    }
}

const Json* UserDefaults::find(const std::string& key) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? nullptr : &*it;
}

std::optional<Json> UserDefaults::objectForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    if (const Json* value = find(key))
        return *value;
    return std::nullopt;
}

void UserDefaults::setObject(const Json& value, const std::string& key) {
    std::lock_guard lock(m_mutex);
    if (value.is_null() || value.is_discarded()) {
        m_values.erase(key);
        return;
    }
    // The stored dictionary adds one level of its own.
    if (nestsDeeperThan(value, kMaxNestingDepth - 1)) {
        log("user defaults: value for %@ not stored: nested too deeply", key);
        return;
    }
    m_values[key] = value;
}

void UserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(m_mutex);
    m_values.erase(key);
}

bool UserDefaults::boolForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value)
        return false;
    if (value->is_boolean())
        return value->get<bool>();
    if (value->is_number_float())
        return value->get<double>() != 0;
    if (value->is_number())
        return value->get<std::int64_t>() != 0;
    if (value->is_string())
        return textBool(value->get_ref<const std::string&>());
    return false;
}

void UserDefaults::setBool(bool value, const std::string& key) {
    setObject(Json(value), key);
}

long UserDefaults::integerForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value)
        return 0;
    if (value->is_boolean())
        return value->get<bool>() ? 1 : 0;
    if (value->is_number_float())
        return doubleToLong(value->get<double>());
    if (value->is_number_unsigned()) {
        auto v = value->get<std::uint64_t>();
        return v > static_cast<std::uint64_t>(std::numeric_limits<long>::max())
                   ? std::numeric_limits<long>::max()
                   : static_cast<long>(v);
    }
    if (value->is_number())
        return static_cast<long>(value->get<std::int64_t>());
    if (value->is_string())
        return leadingInteger(value->get_ref<const std::string&>());
    return 0;
}

void UserDefaults::setInteger(long value, const std::string& key) {
    setObject(Json(static_cast<std::int64_t>(value)), key);
}

double UserDefaults::doubleForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value)
        return 0;
    if (value->is_boolean())
        return value->get<bool>() ? 1 : 0;
    if (value->is_number())
        return value->get<double>();
    if (value->is_string())
        return leadingDouble(value->get_ref<const std::string&>());
    return 0;
}

void UserDefaults::setDouble(double value, const std::string& key) {
    setObject(Json(value), key);
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value)
        return std::nullopt;
    if (value->is_string())
        return value->get<std::string>();
    // The phone's booleans are numbers too, and read back as "1" and "0".
    if (value->is_boolean())
        return std::string(value->get<bool>() ? "1" : "0");
    if (value->is_number())
        return numberText(*value);
    return std::nullopt;
}

void UserDefaults::setString(const std::string& value, const std::string& key) {
    setObject(Json(value), key);
}

std::optional<Json> UserDefaults::dictionaryForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value || !value->is_object())
        return std::nullopt;
    return *value;
}

std::optional<Json> UserDefaults::arrayForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value || !value->is_array())
        return std::nullopt;
    return *value;
}

std::optional<Bytes> UserDefaults::dataForKey(const std::string& key) const {
    std::lock_guard lock(m_mutex);
    const Json* value = find(key);
    if (!value || !value->is_binary())
        return std::nullopt;
    const auto& bytes = value->get_binary();
    return Bytes(bytes.begin(), bytes.end());
}

void UserDefaults::setData(const Bytes& value, const std::string& key) {
    setObject(Json::binary(value), key);
}

Json UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(m_mutex);
    return m_values;
}

bool UserDefaults::synchronize() {
    std::lock_guard lock(m_mutex);
    if (m_mustNotOverwrite) {
        log("user defaults %@ not written: the damaged file there could not be moved aside",
            m_file.string());
        return false;
    }
    if (!writePropertyList(m_file, m_values)) {
        log("user defaults %@ could not be written", m_file.string());
        return false;
    }
    return true;
}

}  // namespace platform
