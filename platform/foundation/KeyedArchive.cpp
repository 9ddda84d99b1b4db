#include "platform/foundation/KeyedArchive.h"

#include <cstring>

#include "platform/foundation/Crypto.h"
#include "platform/foundation/JsonParse.h"

namespace platform {

namespace {

constexpr std::string_view kMagic = "CAMPARCH";
constexpr std::uint32_t kVersion = 1;
constexpr size_t kDigestSize = 16;
constexpr size_t kHeaderSize = 8 + 4 + 8 + kDigestSize;
constexpr std::string_view kDataKey = "$data";

struct Malformed {};

// Whether the value holds anything written otherwise than as it stands: binary data, or a key
// that begins with "$" (escaped on the way in and out). Most archives hold neither, and are
// then written and read without a second copy of the whole document.
bool needsEscaping(const Json& value) {
    if (value.is_binary())
        return true;
    if (value.is_object()) {
        for (const auto& [key, member] : value.items())
            if (key.starts_with('$') || needsEscaping(member))
                return true;
    } else if (value.is_array()) {
        for (const auto& element : value)
            if (needsEscaping(element))
                return true;
    }
    return false;
}

Json encode(const Json& value) {
    if (value.is_binary()) {
        const auto& bytes = value.get_binary();
        std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        Json wrapped = Json::object();
        wrapped[std::string(kDataKey)] = base64Encode(raw);
        return wrapped;
    }
    if (value.is_object()) {
        Json out = Json::object();
        for (const auto& [key, member] : value.items())
            out[key.starts_with('$') ? "$" + key : key] = encode(member);
        return out;
    }
    if (value.is_array()) {
        Json out = Json::array();
        for (const auto& element : value) out.push_back(encode(element));
        return out;
    }
    return value;
}

Json decode(const Json& value) {
    if (value.is_object()) {
        if (value.size() == 1 && value.begin().key() == kDataKey) {
            if (!value.begin()->is_string())
                throw Malformed{};
            auto bytes = base64Decode(value.begin()->get_ref<const std::string&>());
            if (!bytes)
                throw Malformed{};
            return Json::binary(toBytes(*bytes));
        }
        Json out = Json::object();
        for (const auto& [key, member] : value.items()) {
            // Every "$" key of ours was escaped; an unescaped one is not our writing.
            if (!key.starts_with('$')) {
                out[key] = decode(member);
            } else if (key.starts_with("$$")) {
                out[key.substr(1)] = decode(member);
            } else {
                throw Malformed{};
            }
        }
        return out;
    }
    if (value.is_array()) {
        Json out = Json::array();
        for (const auto& element : value) out.push_back(decode(element));
        return out;
    }
    return value;
}

void putBigEndian(Bytes& out, std::uint64_t value, int size) {
    for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint64_t getBigEndian(const Bytes& in, size_t offset, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) value = (value << 8) | in[offset + static_cast<size_t>(i)];
    return value;
}

}  // namespace

Bytes archiveRootObject(const Json& root) {
    // Invalid UTF-8 in a string is replaced rather than thrown on: an archive is always made.
    const auto write = [](const Json& value) {
        return value.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    const std::string payload = needsEscaping(root) ? write(encode(root)) : write(root);
    Bytes out(kMagic.begin(), kMagic.end());
    putBigEndian(out, kVersion, 4);
    putBigEndian(out, payload.size(), 8);
    std::string digest = md5Digest(payload);
    out.insert(out.end(), digest.begin(), digest.end());
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

std::optional<Json> unarchiveObject(const Bytes& data) {
    if (data.size() < kHeaderSize)
        return std::nullopt;
    if (std::memcmp(data.data(), kMagic.data(), kMagic.size()) != 0)
        return std::nullopt;
    if (getBigEndian(data, 8, 4) != kVersion)
        return std::nullopt;
    if (getBigEndian(data, 12, 8) != data.size() - kHeaderSize)
        return std::nullopt;
    std::string_view payload(reinterpret_cast<const char*>(data.data()) + kHeaderSize,
                             data.size() - kHeaderSize);
    std::string_view digest(reinterpret_cast<const char*>(data.data()) + 20, kDigestSize);
    if (md5Digest(payload) != digest)
        return std::nullopt;
    try {
        // A payload nested too deeply is refused like a damaged one, before decode recurses.
        auto parsed = parseJson(payload);
        if (!parsed)
            return std::nullopt;
        if (!needsEscaping(*parsed))
            return parsed;
        return decode(*parsed);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace platform
