#include "platform/foundation/PropertyList.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <pugixml.hpp>

#include "platform/foundation/Bytes.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/JsonParse.h"

namespace platform {

namespace {

struct ParseFailure {
    std::string message;
};

// Text of an element whose content may be split into several text and CDATA sections.
std::string textOf(const pugi::xml_node& node) {
    std::string text;
    for (const auto& child : node.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    return text;
}

std::string_view trimmed(std::string_view text) {
    const char* space = " \t\r\n";
    size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

Json parseInteger(const pugi::xml_node& node) {
    std::string text(trimmed(textOf(node)));
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    const char* end = digits.data() + digits.size();
    if (!digits.empty() && digits.front() != '-') {
        std::uint64_t value = 0;
        auto [ptr, ec] = std::from_chars(digits.data(), end, value);
        if (ec == std::errc() && ptr == end) {
            if (value <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                return static_cast<std::int64_t>(value);
            return value;
        }
    } else {
        std::int64_t value = 0;
        auto [ptr, ec] = std::from_chars(digits.data(), end, value);
        if (ec == std::errc() && ptr == end && !digits.empty())
            return value;
    }
    throw ParseFailure{"bad <integer> \"" + text + "\""};
}

Json parseReal(const pugi::xml_node& node) {
    std::string text(trimmed(textOf(node)));
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    double value = 0;
    const char* end = digits.data() + digits.size();
    auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || ec != std::errc() || ptr != end)
        throw ParseFailure{"bad <real> \"" + text + "\""};
    return value;
}

Json parseValue(const pugi::xml_node& node, int depth);

// depth is the nesting of the dictionary or array being read: the reader recurses once per
// level, so a document nested deeper than any real one is refused before it can exhaust the
// stack (pugixml itself parses without recursion).
void enterContainer(int depth) {
    if (depth > kMaxNestingDepth)
        throw ParseFailure{"nested deeper than " + std::to_string(kMaxNestingDepth) + " levels"};
}

Json parseDict(const pugi::xml_node& node, int depth) {
    enterContainer(depth);
    Json dict = Json::object();
    for (auto child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        if (std::strcmp(child.name(), "key") != 0)
            throw ParseFailure{std::string("<dict> expected <key>, found <") + child.name() + ">"};
        std::string key = textOf(child);
        auto value = child.next_sibling();
        while (value && value.type() != pugi::node_element) value = value.next_sibling();
        if (!value)
            throw ParseFailure{"<key>" + key + "</key> has no value"};
        dict[key] = parseValue(value, depth);
        child = value;
    }
    return dict;
}

Json parseValue(const pugi::xml_node& node, int depth) {
    std::string_view name = node.name();
    if (name == "dict")
        return parseDict(node, depth + 1);
    if (name == "array") {
        enterContainer(depth + 1);
        Json array = Json::array();
        for (const auto& child : node.children())
            if (child.type() == pugi::node_element)
                array.push_back(parseValue(child, depth + 1));
        return array;
    }
    if (name == "string")
        return textOf(node);
    if (name == "integer")
        return parseInteger(node);
    if (name == "real")
        return parseReal(node);
    if (name == "true")
        return true;
    if (name == "false")
        return false;
    if (name == "date")
        return std::string(trimmed(textOf(node)));
    if (name == "data") {
        auto bytes = base64Decode(textOf(node));
        if (!bytes)
            throw ParseFailure{"bad Base64 in <data>"};
        return Json::binary(toBytes(*bytes));
    }
    throw ParseFailure{"unknown element <" + std::string(name) + ">"};
}

std::string formatReal(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return "0";
    std::string text(buffer, end);
    // Keep it recognisably a real, so the phone reads it back as a floating-point number.
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

void appendValue(pugi::xml_node parent, const Json& value) {
    switch (value.type()) {
        case Json::value_t::object: {
            auto dict = parent.append_child("dict");
            for (const auto& [key, member] : value.items()) {
                if (member.is_null())
                    continue;
                dict.append_child("key").text().set(key.c_str());
                appendValue(dict, member);
            }
            break;
        }
        case Json::value_t::array: {
            auto array = parent.append_child("array");
            for (const auto& element : value)
                if (!element.is_null())
                    appendValue(array, element);
            break;
        }
        case Json::value_t::string:
            parent.append_child("string").text().set(value.get_ref<const std::string&>().c_str());
            break;
        case Json::value_t::boolean:
            parent.append_child(value.get<bool>() ? "true" : "false");
            break;
        case Json::value_t::number_integer:
            parent.append_child("integer").text().set(
                std::to_string(value.get<std::int64_t>()).c_str());
            break;
        case Json::value_t::number_unsigned:
            parent.append_child("integer").text().set(
                std::to_string(value.get<std::uint64_t>()).c_str());
            break;
        case Json::value_t::number_float:
            parent.append_child("real").text().set(formatReal(value.get<double>()).c_str());
            break;
        case Json::value_t::binary: {
            const auto& bytes = value.get_binary();
            std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            parent.append_child("data").text().set(base64Encode(raw).c_str());
            break;
        }
        case Json::value_t::null:
        case Json::value_t::discarded:
            break;
    }
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

void setError(std::string* error, std::string text) {
    if (error)
        *error = std::move(text);
}

}  // namespace

std::optional<Json> parsePropertyList(std::string_view xml, std::string* error) {
    pugi::xml_document document;
    // A <string> holding only spaces keeps them; whitespace between elements is dropped.
    auto result = document.load_buffer(xml.data(), xml.size(),
                                       pugi::parse_default | pugi::parse_ws_pcdata_single,
                                       pugi::encoding_utf8);
    if (!result) {
        setError(error, std::string("not XML: ") + result.description() + " at offset " +
                            std::to_string(result.offset));
        return std::nullopt;
    }
    pugi::xml_node root = document.document_element();
    if (!root) {
        setError(error, "no root element");
        return std::nullopt;
    }
    pugi::xml_node value = root;
    if (std::strcmp(root.name(), "plist") == 0) {
        value = root.first_child();
        while (value && value.type() != pugi::node_element) value = value.next_sibling();
        if (!value)
            return Json(nullptr);
    }
    try {
        return parseValue(value, 0);
    } catch (const ParseFailure& failure) {
        setError(error, failure.message);
    } catch (const std::exception& e) {
        setError(error, e.what());
    }
    return std::nullopt;
}

std::optional<Json> readPropertyList(const std::filesystem::path& path, std::string* error) {
    std::string why;
    auto contents = readFile(path, &why);
    if (!contents) {
        setError(error, "cannot read " + path.string() + ": " + why);
        return std::nullopt;
    }
    return parsePropertyList(*contents, error);
}

std::string serializePropertyList(const Json& value) {
    pugi::xml_document document;
    auto declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    // No DOCTYPE: the format is our own and validated by the reader, not by a DTD (the reader
    // still takes files that carry one).
    auto plist = document.append_child("plist");
    plist.append_attribute("version") = "1.0";
    appendValue(plist, value);
    StringWriter writer;
    document.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    // A raw carriage return would read back as a line feed (XML normalises line ends); as a
    // character reference it survives. Layout never writes one, so every one is text.
    std::string out;
    out.reserve(writer.out.size());
    for (char c : writer.out) {
        if (c == '\r') {
            out += "&#13;";
        } else {
            out += c;
        }
    }
    return out;
}

bool writePropertyList(const std::filesystem::path& path, const Json& value) {
    return writeFileAtomically(path, serializePropertyList(value));
}

}  // namespace platform
