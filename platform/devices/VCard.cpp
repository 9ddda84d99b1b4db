#include "platform/devices/VCard.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

namespace platform {

namespace {

constexpr size_t kFoldWidth = 75;

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return out;
}

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

// Text values escape the backslash, the separators and line breaks.
std::string escape(std::string_view value) {
    std::string out;
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case ';':
                out += "\\;";
                break;
            case ',':
                out += "\\,";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string unescape(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            char next = value[++i];
            out += (next == 'n' || next == 'N') ? '\n' : next;
        } else {
            out += value[i];
        }
    }
    return out;
}

// Splits a structured value (N) at separators that are not escaped, then unescapes each part.
std::vector<std::string> splitComponents(std::string_view value) {
    std::vector<std::string> parts;
    std::string current;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            current += value[i];
            current += value[++i];
        } else if (value[i] == ';') {
            parts.push_back(unescape(current));
            current.clear();
        } else {
            current += value[i];
        }
    }
    parts.push_back(unescape(current));
    return parts;
}

// Folds a content line: at most 75 octets a line, continuation lines led by a space, never
// inside a UTF-8 sequence.
void appendFolded(std::string& out, const std::string& line) {
    size_t start = 0;
    size_t width = kFoldWidth;
    while (line.size() - start > width) {
        size_t cut = start + width;
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out.append(line, start, cut - start);
        out += "\r\n ";
        start = cut;
        width = kFoldWidth - 1;
    }
    out.append(line, start, std::string::npos);
    out += "\r\n";
}

const char* phoneType(const std::string& label) {
    if (label == kContactLabelMobile) {
        return "CELL";
    }
    if (label == kContactLabelWork) {
        return "WORK,VOICE";
    }
    if (label == kContactLabelHome) {
        return "HOME,VOICE";
    }
    return "VOICE";
}

const char* emailType(const std::string& label) {
    if (label == kContactLabelWork) {
        return "INTERNET,WORK";
    }
    if (label == kContactLabelHome) {
        return "INTERNET,HOME";
    }
    return "INTERNET";
}

bool isStandardLabel(const std::string& label) {
    return label == kContactLabelMobile || label == kContactLabelWork ||
           label == kContactLabelHome || label == kContactLabelOther;
}

void appendValues(std::string& out, const char* property, const std::vector<LabeledValue>& values,
                  const char* (*type)(const std::string&), int& group) {
    for (const auto& entry : values) {
        std::string line = std::string(property) + ";TYPE=" + type(entry.label) + ":";
        if (isStandardLabel(entry.label)) {
            appendFolded(out, line + escape(entry.value));
        } else {
            std::string prefix = "item" + std::to_string(++group) + ".";
            appendFolded(out, prefix + line + escape(entry.value));
            appendFolded(out, prefix + "X-LABEL:" + escape(entry.label));
        }
    }
}

struct ContentLine {
    std::string group;
    std::string name;             // upper case
    std::set<std::string> types;  // upper case, from TYPE=a,b, TYPE=a;TYPE=b or bare words
    std::string value;            // raw (still escaped)
};

// "[group.]name *(;param) : value"; a colon inside a quoted parameter value is no separator.
std::optional<ContentLine> parseContentLine(const std::string& line) {
    bool quoted = false;
    size_t colon = std::string::npos;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    ContentLine parsed;
    parsed.value = line.substr(colon + 1);
    std::vector<std::string> pieces;
    std::string current;
    quoted = false;
    for (size_t i = 0; i < colon; ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        }
        if (line[i] == ';' && !quoted) {
            pieces.push_back(current);
            current.clear();
        } else {
            current += line[i];
        }
    }
    pieces.push_back(current);
    std::string name = pieces.front();
    if (auto dot = name.find('.'); dot != std::string::npos) {
        parsed.group = upper(name.substr(0, dot));
        name = name.substr(dot + 1);
    }
    parsed.name = upper(name);
    for (size_t i = 1; i < pieces.size(); ++i) {
        std::string param = pieces[i];
        std::string values = param;
        if (auto eq = param.find('='); eq != std::string::npos) {
            if (upper(param.substr(0, eq)) != "TYPE") {
                continue;
            }
            values = param.substr(eq + 1);
        }
        size_t start = 0;
        while (start <= values.size()) {
            size_t comma = values.find(',', start);
            std::string type = values.substr(start, comma - start);
            type.erase(std::remove(type.begin(), type.end(), '"'), type.end());
            if (!type.empty()) {
                parsed.types.insert(upper(type));
            }
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
    }
    return parsed;
}

std::string phoneLabel(const std::set<std::string>& types) {
    if (types.count("CELL")) {
        return kContactLabelMobile;
    }
    if (types.count("WORK")) {
        return kContactLabelWork;
    }
    if (types.count("HOME")) {
        return kContactLabelHome;
    }
    return kContactLabelOther;
}

std::string emailLabel(const std::set<std::string>& types) {
    if (types.count("WORK")) {
        return kContactLabelWork;
    }
    if (types.count("HOME")) {
        return kContactLabelHome;
    }
    return kContactLabelOther;
}

std::optional<Contact> fail(std::string* error, const char* reason) {
    if (error) {
        *error = reason;
    }
    return std::nullopt;
}

}  // namespace

std::string formatVCard(const Contact& contact) {
    std::string out;
    appendFolded(out, "BEGIN:VCARD");
    appendFolded(out, "VERSION:3.0");
    appendFolded(out, "N:" + escape(contact.lastName) + ";" + escape(contact.firstName) + ";;;");
    std::string full = contact.firstName;
    if (!full.empty() && !contact.lastName.empty()) {
        full += ' ';
    }
    full += contact.lastName;
    appendFolded(out, "FN:" + escape(full));
    if (!contact.organization.empty()) {
        appendFolded(out, "ORG:" + escape(contact.organization));
    }
    if (!contact.jobTitle.empty()) {
        appendFolded(out, "TITLE:" + escape(contact.jobTitle));
    }
    int group = 0;
    appendValues(out, "TEL", contact.phones, phoneType, group);
    appendValues(out, "EMAIL", contact.emails, emailType, group);
    appendFolded(out, "END:VCARD");
    return out;
}

std::optional<Contact> parseVCard(std::string_view text, std::string* error) {
    if (!isValidUtf8(text)) {
        return fail(error, "not UTF-8 text");
    }
    // Unfolds: a line led by a space or a tab continues the one before.
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string_view raw = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        if (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t') && !lines.empty()) {
            lines.back().append(raw.substr(1));
        } else {
            lines.emplace_back(raw);
        }
    }

    Contact contact;
    bool begun = false;
    bool ended = false;
    bool hasName = false;
    std::string fullName;
    // Grouped TEL/EMAIL values take the X-LABEL of their group, which may come before or after.
    struct GroupedValue {
        std::string group;
        bool phone = true;
        size_t index = 0;
    };
    std::vector<GroupedValue> grouped;
    std::vector<std::pair<std::string, std::string>> groupLabels;
    for (const auto& line : lines) {
        if (line.empty()) {
            continue;
        }
        auto parsed = parseContentLine(line);
        if (!parsed) {
            continue;  // not a content line; others' damage inside a card is passed over
        }
        if (!begun) {
            if (parsed->name == "BEGIN" && upper(parsed->value) == "VCARD") {
                begun = true;
            }
            continue;
        }
        const std::string& name = parsed->name;
        if (name == "END" && upper(parsed->value) == "VCARD") {
            ended = true;
            break;
        }
        if (name == "N") {
            auto parts = splitComponents(parsed->value);
            contact.lastName = parts.size() > 0 ? parts[0] : "";
            contact.firstName = parts.size() > 1 ? parts[1] : "";
            hasName = true;
        } else if (name == "FN") {
            fullName = unescape(parsed->value);
        } else if (name == "ORG") {
            // Organisation units follow the name after ";"; the name is what we keep.
            contact.organization = splitComponents(parsed->value).front();
        } else if (name == "TITLE") {
            contact.jobTitle = unescape(parsed->value);
        } else if (name == "TEL" || name == "EMAIL") {
            bool phone = name == "TEL";
            auto& list = phone ? contact.phones : contact.emails;
            list.push_back({phone ? phoneLabel(parsed->types) : emailLabel(parsed->types),
                            unescape(parsed->value)});
            if (!parsed->group.empty()) {
                grouped.push_back({parsed->group, phone, list.size() - 1});
            }
        } else if (name == "X-LABEL" && !parsed->group.empty()) {
            groupLabels.emplace_back(parsed->group, unescape(parsed->value));
        }
    }
    if (!begun || !ended) {
        return fail(error, "no BEGIN:VCARD ... END:VCARD");
    }
    for (const auto& value : grouped) {
        for (const auto& [group, label] : groupLabels) {
            if (group == value.group) {
                (value.phone ? contact.phones : contact.emails)[value.index].label = label;
            }
        }
    }
    if (!hasName) {
        contact.lastName = fullName;
    }
    return contact;
}

}  // namespace platform
