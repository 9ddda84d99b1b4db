#include "platform/webkit/PageOutline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/foundation/JsonParse.h"

// The outline comes from our own script, but it reads a page that may be anything, so every
// member is taken only when it has the shape it should; any other is treated as missing and
// keeps its default (which is also what the script leaves out to keep messages small).

namespace platform {

namespace {

const Json* member(const Json& object, std::string_view key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

void readText(const Json& object, std::string_view key, std::string& into) {
    if (const Json* value = member(object, key); value && value->is_string())
        into = value->get<std::string>();
}

void readBool(const Json& object, std::string_view key, bool& into) {
    if (const Json* value = member(object, key); value && value->is_boolean())
        into = value->get<bool>();
}

void readNumber(const Json& object, std::string_view key, double& into) {
    if (const Json* value = member(object, key); value && value->is_number()) {
        const double number = value->get<double>();
        if (std::isfinite(number))
            into = number;
    }
}

// Whole numbers only, within int's range; anything else is missing.
void readInt(const Json& object, std::string_view key, int& into) {
    const Json* value = member(object, key);
    if (!value || !value->is_number())
        return;
    const double number = value->get<double>();
    if (number != std::floor(number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        return;
    into = static_cast<int>(number);
}

std::optional<PageItem::Kind> kindNamed(const std::string& name) {
    using Kind = PageItem::Kind;
    static const std::pair<const char*, Kind> kKinds[] = {
        {"text", Kind::Text},       {"link", Kind::Link},   {"button", Kind::Button},
        {"element", Kind::Element}, {"field", Kind::Field}, {"label", Kind::Label},
    };
    for (const auto& [text, kind] : kKinds) {
        if (name == text)
            return kind;
    }
    return std::nullopt;
}

// An item of a kind we do not know is left out rather than guessed at: the web view would
// otherwise put a view over it that acts on something it does not understand.
std::optional<PageItem> readItem(const Json& object) {
    if (!object.is_object())
        return std::nullopt;
    PageItem item;
    if (const Json* kind = member(object, "kind")) {
        if (!kind->is_string())
            return std::nullopt;
        auto known = kindNamed(kind->get<std::string>());
        if (!known)
            return std::nullopt;
        item.kind = *known;
    }
    readInt(object, "node", item.node);
    readText(object, "text", item.text);
    readText(object, "href", item.href);
    readText(object, "id", item.id);
    readText(object, "control", item.control);
    readText(object, "name", item.name);
    readText(object, "placeholder", item.placeholder);
    readBool(object, "checked", item.checked);
    readBool(object, "disabled", item.disabled);
    readBool(object, "readOnly", item.readOnly);
    readInt(object, "maxLength", item.maxLength);
    if (const Json* options = member(object, "options"); options && options->is_array()) {
        item.options.reserve(options->size());
        for (const auto& option : *options)
            item.options.push_back(option.is_string() ? option.get<std::string>() : "");
    }
    readInt(object, "selected", item.selected);
    readBool(object, "editing", item.editing);
    readNumber(object, "x", item.x);
    readNumber(object, "y", item.y);
    readNumber(object, "width", item.width);
    readNumber(object, "height", item.height);
    if (const Json* boxes = member(object, "boxes"); boxes && boxes->is_array()) {
        for (const Json& box : *boxes) {
            if (!box.is_array() || box.size() != 4 ||
                !std::all_of(box.begin(), box.end(), [](const Json& n) { return n.is_number(); }))
                continue;
            item.boxes.push_back({box[0].get<double>(), box[1].get<double>(), box[2].get<double>(),
                                  box[3].get<double>()});
        }
    }
    return item;
}

}  // namespace

std::optional<PageOutline> parseOutline(std::string_view json) {
    auto document = parseJson(json);
    if (!document || !document->is_object())
        return std::nullopt;
    const Json& object = *document;
    // Posted outlines say what they are; campus.outline()'s answer does not. Any other message
    // of the client world (a scroll) is not an outline.
    if (const Json* type = member(object, "type")) {
        if (!type->is_string() || type->get<std::string>() != "outline")
            return std::nullopt;
    }
    const Json* items = member(object, "items");
    if (!items || !items->is_array())
        return std::nullopt;

    PageOutline outline;
    if (const Json* sequence = member(object, "sequence")) {
        if (sequence->is_number_unsigned()) {
            outline.sequence = sequence->get<std::uint64_t>();
        } else if (sequence->is_number_integer()) {
            outline.sequence = static_cast<std::uint64_t>(
                std::max<std::int64_t>(0, sequence->get<std::int64_t>()));
        } else if (sequence->is_number_float()) {
            const double number = sequence->get<double>();
            if (number >= 0 && number < 18446744073709551616.0)
                outline.sequence = static_cast<std::uint64_t>(number);
        }
    }
    readText(object, "url", outline.url);
    readText(object, "title", outline.title);
    if (const Json* viewport = member(object, "viewport"); viewport && viewport->is_string())
        outline.viewport = viewport->get<std::string>();
    if (const Json* known = member(object, "viewportKnown"); known && known->is_boolean())
        outline.viewportKnown = known->get<bool>();
    readNumber(object, "scrollX", outline.scrollX);
    readNumber(object, "scrollY", outline.scrollY);
    readNumber(object, "documentWidth", outline.documentWidth);
    readNumber(object, "documentHeight", outline.documentHeight);
    readNumber(object, "viewWidth", outline.viewWidth);
    readNumber(object, "viewHeight", outline.viewHeight);
    readInt(object, "focus", outline.focus);
    readInt(object, "frames", outline.frames);
    outline.items.reserve(items->size());
    for (const auto& element : *items) {
        if (auto item = readItem(element))
            outline.items.push_back(std::move(*item));
    }
    return outline;
}

}  // namespace platform
