#include "platform/foundation/JsonParse.h"

#include <simdjson.h>

#include <cstring>
#include <vector>

namespace platform {

namespace {

// What a value of the tree takes, as the standard library lays it out (a heap block also costs
// its allocator's header and rounding to 16 bytes). Used only to bound a tree from above.
constexpr std::size_t kHeapBlock = 24;
constexpr std::size_t kValueBytes = sizeof(Json);
constexpr std::size_t kObjectBytes = sizeof(Json::object_t) + kHeapBlock;
constexpr std::size_t kArrayBytes = sizeof(Json::array_t) + kHeapBlock;
// A member besides its value: the name's string object.
constexpr std::size_t kMemberBytes = sizeof(Json::object_t::value_type) - sizeof(Json);
constexpr std::size_t kStringValueBytes = sizeof(Json::string_t) + kHeapBlock;
// A string this long or shorter lives inside its string object.
constexpr std::size_t kInlineString = 15;
// An object of this many members or more gets an index of at least twice as many 8-byte slots,
// a power of two.
constexpr std::size_t kIndexedFrom = 8;

std::size_t indexBytes(std::size_t members) {
    if (members < kIndexedFrom)
        return 0;
    std::size_t slots = 16;
    while (slots < members * 2) slots *= 2;
    return slots * 8 + kHeapBlock;
}

// What one linear pass over the text finds before anything is built: whether its brackets
// nest deeper than the limit, whether it holds an integer written "-0", and for valid JSON at
// least how many values and how many bytes its tree holds. The pass skips string contents; for
// valid JSON it counts exactly what the parser would build (a string's length in the text is
// never less than what it decodes to), and anything else the parser refuses whatever this
// says. Replies are mostly text, so the ends of strings are found with memchr (a quote is
// escaped when an odd run of backslashes stands before it).
struct Survey {
    bool tooDeep = false;
    bool negativeZero = false;
    bool overBudget = false;
    std::size_t values = 1;
    std::size_t bytes = 0;
};

// Stops as soon as the document is known to pass the depth limit or the budget: what has been
// counted so far only grows.
Survey survey(std::string_view text, int limit, const JsonBudget& budget) {
    Survey found;
    // Per open object: its members so far (an array's entry is unused).
    std::vector<std::size_t> members;
    // Every string is counted as a value when it ends; the colon after a name takes back what a
    // name does not hold.
    std::size_t names = 0;
    std::size_t commas = 0;
    std::size_t filled = 0;  // containers with at least one value
    std::size_t bytes = kValueBytes;
    int depth = 0;
    char last = 0;  // the last character outside strings that is not space
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char c = *p++;
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        const char before = last;
        last = c;
        if (c == '"') {
            const char* const start = p;
            for (;;) {
                const auto* quote =
                    static_cast<const char*>(std::memchr(p, '"', static_cast<size_t>(end - p)));
                if (!quote)
                    return found;
                const char* back = quote;
                while (back > start && back[-1] == '\\') --back;
                p = quote + 1;
                if ((quote - back) % 2 == 0)
                    break;
            }
            const auto length = static_cast<std::size_t>(p - 1 - start);
            bytes += kStringValueBytes + (length > kInlineString ? length + 1 + kHeapBlock : 0);
            if (bytes > budget.maxBytes + names * kStringValueBytes) {
                found.overBudget = true;
                return found;
            }
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                found.tooDeep = true;
                return found;
            }
            bytes += c == '{' ? kObjectBytes : kArrayBytes;
            members.push_back(0);
        } else if (c == ']' || c == '}') {
            --depth;
            if (before != '[' && before != '{') {
                ++filled;
                bytes += kHeapBlock;  // the block its values lie in
            }
            if (!members.empty()) {
                bytes += indexBytes(members.back());
                members.pop_back();
            }
        } else if (c == ':') {
            ++names;
            if (!members.empty())
                ++members.back();
        } else if (c == ',') {
            if (++commas >= budget.maxValues) {
                found.overBudget = true;
                return found;
            }
        } else if (c == '-' && p < end && *p == '0') {
            const char after = p + 1 < end ? p[1] : ' ';
            if (after != '.' && after != 'e' && after != 'E')
                found.negativeZero = true;
        }
    }
    // A container holds one value more than the commas between them, or none: so the values
    // are the root, the commas and the containers that hold any.
    found.values = 1 + commas + filled;
    bytes += (found.values - 1) * kValueBytes + names * kMemberBytes;
    found.bytes = bytes > names * kStringValueBytes ? bytes - names * kStringValueBytes : 0;
    return found;
}

// The fast parser's document as our own. Objects get their member count up front, so they are
// built without moving members or rehashing. A key given twice keeps its first place and its
// last value, as the exact parser does. The depth was checked before, so the recursion is
// bounded.
Json fromElement(simdjson::dom::element element) {
    using Type = simdjson::dom::element_type;
    switch (element.type()) {
        case Type::OBJECT: {
            Json out(Json::value_t::object);
            auto& members = out.get_ref<Json::object_t&>();
            const simdjson::dom::object object = element.get_object().value_unsafe();
            members.reserve(object.size());
            for (const auto field : object) members[field.key] = fromElement(field.value);
            return out;
        }
        case Type::ARRAY: {
            Json out(Json::value_t::array);
            auto& elements = out.get_ref<Json::array_t&>();
            const simdjson::dom::array array = element.get_array().value_unsafe();
            elements.reserve(array.size());
            for (const auto value : array) elements.push_back(fromElement(value));
            return out;
        }
        case Type::INT64: {
            // The exact parser keeps every integer that is not negative as unsigned.
            const std::int64_t value = element.get_int64().value_unsafe();
            return value < 0 ? Json(value) : Json(static_cast<std::uint64_t>(value));
        }
        case Type::UINT64:
            return Json(element.get_uint64().value_unsafe());
        case Type::DOUBLE:
            return Json(element.get_double().value_unsafe());
        case Type::STRING:
            return Json(std::string(element.get_string().value_unsafe()));
        case Type::BOOL:
            return Json(element.get_bool().value_unsafe());
        case Type::NULL_VALUE:
            break;
    }
    return Json(nullptr);
}

void setError(std::string* error, const char* text) {
    if (error)
        *error = text;
}

bool deeperThan(const Json& value, int limit, int depth) {
    if (!value.is_structured())
        return false;
    if (depth + 1 > limit)
        return true;
    for (const auto& member : value)
        if (deeperThan(member, limit, depth + 1))
            return true;
    return false;
}

// Replies are decoded by a fast parser that builds the document in one pass. What it refuses
// (or would read differently: an integer "-0", integers past 64 bits, a byte order mark) goes
// to nlohmann's parser, which decides as it always has, so no document is read otherwise than
// before. With `owned` (the text is the caller's to give up, and `text` views it), the fast
// parser reads it in place instead of from a padded copy, and it is let go once read, before
// the document is built: a large reply is then never held as text while its document grows.
std::optional<Json> decode(std::string_view text, std::string* error, std::string* owned,
                           const JsonBudget& budget) {
    const Survey found = survey(text, kMaxNestingDepth, budget);
    if (found.tooDeep) {
        setError(error, "nested too deeply");
        return std::nullopt;
    }
    if (found.overBudget || found.values > budget.maxValues || found.bytes > budget.maxBytes) {
        setError(error, "larger than a decoded document may be");
        return std::nullopt;
    }
    if (!found.negativeZero) {
        // The document is kept apart from the parser, so that the parser's working memory
        // (an index of every bracket, comma and quote in the text) goes before the document is
        // built from it.
        simdjson::dom::document document;
        simdjson::dom::element root;
        bool parsed = false;
        {
            simdjson::dom::parser parser;
            if (owned) {
                // The parser reads a little past the end: room (with defined bytes) for that.
                const std::size_t length = owned->size();
                owned->resize(length + simdjson::SIMDJSON_PADDING, ' ');
                owned->resize(length);
                text = *owned;
                parsed =
                    parser.parse_into_document(document, owned->data(), length, false).get(root) ==
                    simdjson::SUCCESS;
            } else {
                parsed = parser.parse_into_document(document, text.data(), text.size()).get(root) ==
                         simdjson::SUCCESS;
            }
        }
        if (parsed) {
            // The document holds its own copy of every string and number.
            if (owned)
                std::string().swap(*owned);
            return fromElement(root);
        }
    }
    Json parsed = Json::parse(text, nullptr, false);
    if (parsed.is_discarded()) {
        setError(error, "not JSON");
        return std::nullopt;
    }
    return parsed;
}

}  // namespace

std::optional<Json> parseJson(std::string_view text, std::string* error, const JsonBudget& budget) {
    return decode(text, error, nullptr, budget);
}

std::optional<Json> parseJsonText(std::string&& text, std::string* error,
                                  const JsonBudget& budget) {
    auto decoded = decode(text, error, &text, budget);
    std::string().swap(text);
    return decoded;
}

bool nestsDeeperThan(const Json& value, int limit) {
    return deeperThan(value, limit, 0);
}

}  // namespace platform
