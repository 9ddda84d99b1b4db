#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One thing a page shows, read from the live document by the client's own script world
// (ClientWorld): what outlines list, taps aim at and the form views stand over.
struct PageItem {
    enum class Kind {
        Text,     // a run of visible text
        Link,     // <a href>: following it navigates
        Button,   // a button, or something the page made clickable (onclick, role=button)
        Element,  // an element with an id, showing its current text
        Field,    // a form control a user fills in: text, textarea, checkbox, radio, select, file
        Label,    // a <label> of a field: a tap on its words acts on the field
    };
    Kind kind = Kind::Text;
    // Names the element for the client world's actions, stable for the element's life in
    // this document; -1 for text.
    int node = -1;
    std::string text;
    // A link's address as resolved by the page (the href property).
    std::string href;
    // The element's id attribute; "" without one.
    std::string id;
    // For a field: an input's type ("text", "password", "search", "email", "number", "tel",
    // "url", "checkbox", "radio", "file"...), or "textarea", "select". Its text is its value,
    // a select's chosen text, or a box's own value. For a label: the field's kind.
    std::string control;
    std::string name;
    std::string placeholder;
    bool checked = false;
    bool disabled = false;
    bool readOnly = false;
    // In UTF-16 code units; -1 for no limit.
    int maxLength = -1;
    std::vector<std::string> options;
    int selected = -1;
    // The field has the page's focus.
    bool editing = false;
    // Where it stands in the document, in CSS pixels from the document's top left (the union
    // of its boxes; a text run's lines).
    double x = 0, y = 0, width = 0, height = 0;
    // A link or button whose words run over several lines: each line's box, in the same
    // coordinates (empty when it shows in one box).
    struct Box {
        double x = 0, y = 0, width = 0, height = 0;
        bool operator==(const Box&) const = default;
    };
    std::vector<Box> boxes;

    bool operator==(const PageItem&) const = default;
};

// The page as the client world last read it.
struct PageOutline {
    // Grows with every outline the page posts, so that an older one is never taken for newer.
    std::uint64_t sequence = 0;
    std::string url;
    std::string title;
    // The content of the page's <meta name="viewport">, if it has one; known once the page's
    // head has been read (a viewport is declared there).
    std::optional<std::string> viewport;
    bool viewportKnown = false;
    // The page's scroll position, its document's size and its visible area, in CSS pixels.
    double scrollX = 0, scrollY = 0;
    double documentWidth = 0, documentHeight = 0;
    double viewWidth = 0, viewHeight = 0;
    // The node of the field with the focus; -1 for none.
    int focus = -1;
    // The frames the page holds (iframes and the like, as window.frames counts them).
    int frames = 0;
    std::vector<PageItem> items;
};

// Reads an outline the client world posted or returned; nothing for a text that is not one
// (a page cannot post to the client world, but a broken outline must not take the client down).
std::optional<PageOutline> parseOutline(std::string_view json);

}  // namespace platform
