#include "platform/web/HtmlMarks.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// The marks are the indexes of items, and a page shows a bounded number of them; a mark past
// this is not one the web page wrote.
constexpr long kMaxMark = 1'000'000;

Rect rectOf(const litehtml::position& position) {
    return Rect{{double(position.x), double(position.y)},
                {double(position.width), double(position.height)}};
}

// The boxes of an item as they are gathered, in the order the engine placed them: their
// union, and, when asked for, the union of each line's (boxes that stand side by side, their
// rows overlapping, are on one line).
struct ItemBoxes {
    Rect frame;
    std::vector<Rect>* lines = nullptr;

    void add(const Rect& box) {
        if (box.isEmpty()) {
            return;
        }
        frame = frame.isEmpty() ? box : frame.unionWith(box);
        if (!lines) {
            return;
        }
        if (!lines->empty() && box.minY() < lines->back().maxY() &&
            box.maxY() > lines->back().minY()) {
            lines->back() = lines->back().unionWith(box);
        } else {
            lines->push_back(box);
        }
    }
};

// The boxes of what an element shows: its own for a block, its content's line by line for
// an inline element (whose own box the engine leaves empty).
void collectBoxes(const litehtml::element::ptr& element, ItemBoxes& boxes) {
    if (!element || element->get_display() == litehtml::display_none) {
        return;
    }
    const std::size_t children = element->get_children_count();
    const bool inlineBox = element->get_display() == litehtml::display_inline;
    if (!inlineBox || children == 0) {
        boxes.add(rectOf(element->get_placement()));
        if (!inlineBox) {
            return;
        }
    }
    for (std::size_t i = 0; i < children; ++i) {
        collectBoxes(element->get_child(int(i)), boxes);
    }
}

bool shown(const litehtml::element::ptr& element) {
    for (auto at = element; at; at = at->parent()) {
        if (at->get_display() == litehtml::display_none) {
            return false;
        }
    }
    return true;
}

const std::vector<litehtml::element::ptr>& noElements() {
    static const std::vector<litehtml::element::ptr> none;
    return none;
}

}  // namespace

bool holdsPositioned(const litehtml::element::ptr& element) {
    if (!element) {
        return false;
    }
    if (element->is_positioned()) {
        return true;
    }
    const std::size_t children = element->get_children_count();
    for (std::size_t i = 0; i < children; ++i) {
        if (holdsPositioned(element->get_child(int(i)))) {
            return true;
        }
    }
    return false;
}

namespace {

// Each element of the document in document order, until `visit` answers true; without
// recursion: a page may nest deeper than a stack would like.
template <typename Visit>
void walk(const litehtml::element::ptr& root, Visit visit) {
    std::vector<litehtml::element::ptr> next{root};
    while (!next.empty()) {
        const litehtml::element::ptr element = std::move(next.back());
        next.pop_back();
        if (!element || element->get_display() == litehtml::display_none) {
            continue;
        }
        if (visit(element)) {
            return;
        }
        for (std::size_t i = element->get_children_count(); i > 0; --i) {
            next.push_back(element->get_child(int(i - 1)));
        }
    }
}

}  // namespace

std::optional<Point> namedPlace(const litehtml::document::ptr& document, std::string_view name) {
    if (!document || name.empty()) {
        return std::nullopt;
    }
    auto named = [&](const litehtml::element::ptr& element, const char* attribute) {
        const char* value = element->get_attr(attribute);
        return value && name == value;
    };
    litehtml::element::ptr found;
    litehtml::element::ptr byName;
    walk(document->root(), [&](const litehtml::element::ptr& element) {
        if (element->get_display() == litehtml::display_inline_text) {
            return false;
        }
        if (named(element, "id")) {
            found = element;
            return true;
        }
        const char* tag = element->get_tagName();
        if (!byName && tag && std::strcmp(tag, "a") == 0 && named(element, "name")) {
            byName = element;
        }
        return false;
    });
    if (!found) {
        found = byName;
    }
    if (!found || !shown(found)) {
        return std::nullopt;
    }
    ItemBoxes boxes;
    collectBoxes(found, boxes);
    if (!boxes.frame.isEmpty()) {
        return boxes.frame.origin;
    }
    // An empty anchor (<a name="x"></a>) has no box of its own: it stands where what follows
    // it does, on its line or in the next block.
    std::optional<Point> place;
    bool past = false;
    walk(document->root(), [&](const litehtml::element::ptr& element) {
        if (element == found) {
            past = true;
        } else if (past && element->get_children_count() == 0) {
            const Rect box = rectOf(element->get_placement());
            if (!box.isEmpty()) {
                place = box.origin;
                return true;
            }
        }
        return false;
    });
    if (!place) {
        const litehtml::position own = found->get_placement();
        place = Point{double(own.x), double(own.y)};
    }
    return place;
}

void HtmlMarks::clear() {
    m_items.clear();
    m_textHolders.clear();
    m_pageStyles.clear();
    m_styleSheets = StyleSheetBounder();
    m_positioned = false;
    m_floats = false;
}

void HtmlMarks::index(const litehtml::document::ptr& document) {
    clear();
    if (document) {
        visit(document->root(), document);
    }
    m_pageStyles.sort_selectors();
}

void HtmlMarks::visit(const litehtml::element::ptr& element,
                      const litehtml::document::ptr& document) {
    // A run of text is neither marked nor a box of its own, and a page of Chinese has one
    // for each character.
    if (!element || element->get_display() == litehtml::display_inline_text) {
        return;
    }
    m_positioned = m_positioned || element->is_positioned();
    m_floats = m_floats || element->get_float() != litehtml::float_none;
    const char* tag = element->get_tagName();
    if (tag && std::strcmp(tag, "style") == 0) {
        // The engine keeps its parsed sheets to itself; the same text parsed again styles
        // the elements that scripts' changes bring.
        litehtml::tstring text;
        element->get_text(text);
        const char* media = element->get_attr("media");
        litehtml::media_query_list::ptr queries;
        if (media && *media) {
            queries = litehtml::media_query_list::create_from_string(media, document);
        }
        const std::string sheet = m_styleSheets.bound(text);
        m_pageStyles.parse_stylesheet(sheet.c_str(), nullptr, document, queries);
        return;
    }
    const char* text = nullptr;
    const char* mark = element->get_attr("data-campus-item");
    if (!mark) {
        mark = text = element->get_attr("data-campus-text");
    }
    if (mark) {
        char* end = nullptr;
        const long item = std::strtol(mark, &end, 10);
        if (end != mark && item >= 0 && item < kMaxMark) {
            if (std::size_t(item) >= m_items.size()) {
                m_items.resize(std::size_t(item) + 1);
            }
            m_items[std::size_t(item)].push_back(element);
            if (text) {
                m_textHolders.insert(element.get());
            }
        }
    }
    const std::size_t children = element->get_children_count();
    for (std::size_t i = 0; i < children; ++i) {
        visit(element->get_child(int(i)), document);
    }
}

const std::vector<litehtml::element::ptr>& HtmlMarks::elementsOf(std::size_t item) const {
    return item < m_items.size() ? m_items[item] : noElements();
}

void HtmlMarks::replace(std::size_t item, const litehtml::element::ptr& old,
                        const litehtml::element::ptr& now) {
    if (item >= m_items.size()) {
        return;
    }
    for (auto& element : m_items[item]) {
        if (element == old) {
            element = now;
        }
    }
}

std::vector<Rect> HtmlMarks::frames(std::size_t count,
                                    std::vector<std::vector<Rect>>* lines) const {
    std::vector<Rect> frames(count);
    if (lines) {
        lines->assign(count, {});
    }
    for (std::size_t item = 0; item < count && item < m_items.size(); ++item) {
        ItemBoxes boxes;
        boxes.lines = lines ? &(*lines)[item] : nullptr;
        for (const auto& element : m_items[item]) {
            if (!shown(element)) {
                continue;
            }
            if (m_textHolders.count(element.get()) == 0) {
                collectBoxes(element, boxes);
                continue;
            }
            // Its texts stand where the engine put them in it: its own place is found once,
            // not walked up to again for each of a paragraph's hundreds of characters.
            const litehtml::position origin = element->get_placement();
            const std::size_t children = element->get_children_count();
            for (std::size_t i = 0; i < children; ++i) {
                const litehtml::element::ptr child = element->get_child(int(i));
                if (!child || child->get_children_count() > 0 ||
                    child->get_display() == litehtml::display_none) {
                    collectBoxes(child, boxes);
                    continue;
                }
                Rect box = rectOf(child->get_position());
                box.origin.x += origin.x;
                box.origin.y += origin.y;
                boxes.add(box);
            }
        }
        frames[item] = boxes.frame;
        if (boxes.lines && boxes.lines->size() < 2) {
            boxes.lines->clear();  // on one line: its frame says it all
        }
    }
    return frames;
}

}  // namespace platform
