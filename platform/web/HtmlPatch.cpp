#include "platform/web/HtmlPatch.h"

#include <gumbo.h>
#include <litehtml/el_space.h>
#include <litehtml/el_text.h>
#include <litehtml/html_tag.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlParse.h"

namespace platform {

namespace {

bool isTablePart(const char* tag) {
    static constexpr const char* kParts[] = {"table", "tbody", "thead",   "tfoot",    "tr",
                                             "td",    "th",    "caption", "colgroup", "col"};
    return tag && std::any_of(std::begin(kParts), std::end(kParts),
                              [&](const char* part) { return std::string_view(tag) == part; });
}

std::string tagOf(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name(piece.data ? piece.data : "", piece.data ? piece.length : 0);
    for (char& c : name) {
        c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

// The engine's elements for a parsed node, made as the engine makes a document's: text split
// into words and spaces by the container, white space one space at a time. Null for what the
// engine would not keep, or for a table part (see replaceElement).
class Builder {
public:
    explicit Builder(litehtml::document& document) : m_document(document.shared_from_this()) {}

    bool failed() const { return m_failed; }

    void build(const GumboNode* node, litehtml::elements_vector& out) {
        switch (node->type) {
            case GUMBO_NODE_TEXT: {
                auto word = [&](const litehtml::tchar_t* text) {
                    out.push_back(std::make_shared<litehtml::el_text>(text, m_document));
                };
                auto space = [&](const litehtml::tchar_t* text) {
                    out.push_back(std::make_shared<litehtml::el_space>(text, m_document));
                };
                m_document->container()->split_text(node->v.text.text, word, space);
                break;
            }
            case GUMBO_NODE_WHITESPACE:
                for (const char* c = node->v.text.text; c && *c; ++c) {
                    const char space[2] = {*c, '\0'};
                    out.push_back(std::make_shared<litehtml::el_space>(space, m_document));
                }
                break;
            case GUMBO_NODE_ELEMENT: {
                const GumboElement& element = node->v.element;
                const std::string tag = tagOf(element);
                if (tag.empty() || isTablePart(tag.c_str()) || tag == "script" || tag == "style") {
                    m_failed = true;
                    return;
                }
                litehtml::string_map attributes;
                for (unsigned i = 0; i < element.attributes.length; ++i) {
                    auto* attribute =
                        static_cast<const GumboAttribute*>(element.attributes.data[i]);
                    attributes.emplace(attribute->name, attribute->value);
                }
                auto made = m_document->create_element(tag.c_str(), attributes);
                if (!made) {
                    m_failed = true;
                    return;
                }
                litehtml::elements_vector children;
                for (unsigned i = 0; i < element.children.length && !m_failed; ++i) {
                    build(static_cast<const GumboNode*>(element.children.data[i]), children);
                }
                for (const auto& child : children) {
                    made->appendChild(child);
                }
                out.push_back(made);
                break;
            }
            default:  // comments and the like: the layout's markup has none
                break;
        }
    }

private:
    litehtml::document::ptr m_document;
    bool m_failed = false;
};

}  // namespace

litehtml::element::ptr replaceElement(litehtml::document& document,
                                      const litehtml::element::ptr& old, std::string_view markup,
                                      const litehtml::css& masterStyles,
                                      const litehtml::css& pageStyles) {
    if (!old || isTablePart(old->get_tagName())) {
        return nullptr;
    }
    auto parent = std::dynamic_pointer_cast<litehtml::html_tag>(old->parent());
    if (!parent || parent->get_display() == litehtml::display_table ||
        isTablePart(parent->get_tagName())) {
        return nullptr;
    }
    auto& siblings = parent->children();
    auto place = std::find(siblings.begin(), siblings.end(), old);
    if (place == siblings.end()) {
        return nullptr;
    }

    // Parsed as content of the parent, as the page's parser saw it there.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    const GumboTag context = gumbo_tag_enum(parent->get_tagName());
    options.fragment_context = context == GUMBO_TAG_UNKNOWN ? GUMBO_TAG_DIV : context;
    options.fragment_namespace = GUMBO_NAMESPACE_HTML;
    // Within the run going on (the parse draws from its budget as the building does), and
    // freed however the building ends: the engine's budget may end it at any element.
    HtmlEngineBudget own;
    HtmlEngineBudget* running = HtmlEngineBudget::current();
    const HtmlParse parse(running ? *running : own, options, markup);
    const GumboOutput* output = &parse.output();
    Builder builder(document);
    litehtml::elements_vector made;
    if (output->root && output->root->type == GUMBO_NODE_ELEMENT) {
        const GumboVector& children = output->root->v.element.children;
        for (unsigned i = 0; i < children.length && !builder.failed(); ++i) {
            builder.build(static_cast<const GumboNode*>(children.data[i]), made);
        }
    }
    if (builder.failed() || made.size() != 1 || made.front()->is_white_space()) {
        return nullptr;
    }

    litehtml::element::ptr now = made.front();
    *place = now;
    now->parent(parent);
    old->parent(nullptr);
    now->apply_stylesheet(masterStyles);
    now->parse_attributes();
    now->apply_stylesheet(pageStyles);
    now->parse_styles();
    now->init();
    return now;
}

namespace {

bool flowBlock(const litehtml::element& element) {
    const auto display = element.get_display();
    return (display == litehtml::display_block || display == litehtml::display_list_item) &&
           element.get_float() == litehtml::float_none && !element.is_positioned();
}

bool inFlowOfBlocks(const litehtml::element::ptr& element) {
    for (auto at = element; at; at = at->parent()) {
        if (!flowBlock(*at)) {
            return false;
        }
    }
    return true;
}

bool holdsFloatsOrPositioned(const litehtml::element::ptr& element) {
    if (element->get_float() != litehtml::float_none || element->is_positioned()) {
        return true;
    }
    const std::size_t count = element->get_children_count();
    for (std::size_t i = 0; i < count; ++i) {
        if (holdsFloatsOrPositioned(element->get_child(int(i)))) {
            return true;
        }
    }
    return false;
}

}  // namespace

HtmlBoxPlace HtmlBoxPlace::of(const litehtml::element& element) {
    auto& self = const_cast<litehtml::element&>(element);
    return HtmlBoxPlace{element.left(), element.top(), element.width(), element.height(),
                        self.get_position()};
}

bool HtmlBoxPlace::operator==(const HtmlBoxPlace& other) const {
    return left == other.left && top == other.top && width == other.width &&
           height == other.height && content.x == other.content.x && content.y == other.content.y &&
           content.width == other.content.width && content.height == other.content.height;
}

bool relayOutInPlace(const litehtml::element::ptr& changed, const HtmlBoxPlace& before,
                     bool floatsInPage) {
    if (!changed || floatsInPage) {
        return false;
    }
    litehtml::element::ptr block = changed;
    while (block && !inFlowOfBlocks(block)) {
        block = block->parent();
    }
    auto parent = block ? block->parent() : nullptr;
    if (!parent || holdsFloatsOrPositioned(block)) {
        return false;
    }
    // The replaced element never stood anywhere itself: it takes the place the old one had.
    const HtmlBoxPlace was = block == changed ? before : HtmlBoxPlace::of(*block);
    block->render(was.left, was.top, parent->get_position().width);
    return HtmlBoxPlace::of(*block) == was;
}

}  // namespace platform
