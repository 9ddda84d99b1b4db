#include "platform/web/HtmlHeldText.h"

#include <el_before_after.h>
#include <el_space.h>
#include <el_text.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace platform {

namespace {

// The words (and spaces between them) that the engine would have put on one line, in one
// run: as wide as they were together, and each drawn where the engine would have drawn it.
class LineRun final : public litehtml::el_text {
public:
    struct Part {
        std::size_t start = 0;
        std::size_t length = 0;
        int offset = 0;
        int width = 0;
        bool space = false;
    };

    LineRun(const std::string& text, std::vector<Part> parts, int width,
            const std::shared_ptr<litehtml::document>& doc)
        : el_text(text.c_str(), doc), m_parts(std::move(parts)), m_width(width) {}

    void parse_styles(bool /*isReparse*/) override {
        m_text_transform = litehtml::text_transform_none;
        m_use_transformed = false;
        litehtml::font_metrics metrics;
        if (const auto block = parent()) {
            block->get_font(&metrics);
        }
        m_size.height = metrics.height;
        m_size.width = m_width;
        m_draw_spaces = metrics.draw_spaces;
    }

    void draw(litehtml::uint_ptr hdc, int x, int y, const litehtml::position* clip) override {
        litehtml::position at = m_pos;
        at.x += x;
        at.y += y;
        const auto block = parent();
        const auto doc = get_document();
        if (!block || !doc || !at.does_intersect(clip)) {
            return;
        }
        const litehtml::uint_ptr font = block->get_font();
        const litehtml::web_color color = block->get_color("color", true, doc->get_def_color());
        for (const Part& part : m_parts) {
            if (part.space && !m_draw_spaces) {
                continue;
            }
            litehtml::position word = at;
            word.x += part.offset;
            word.width = part.width;
            if (!word.does_intersect(clip)) {
                continue;
            }
            // As the engine draws a space between words: one space, whatever the page had.
            const std::string text = part.space ? " " : m_text.substr(part.start, part.length);
            doc->container()->draw_text(hdc, text.c_str(), font, color, word);
        }
    }

private:
    std::vector<Part> m_parts;
    int m_width = 0;
};

// A line run as it is gathered.
struct Gathered {
    std::string text;
    std::vector<LineRun::Part> parts;
    int width = 0;

    void add(std::string_view piece, int pieceWidth, bool space) {
        parts.push_back({text.size(), space ? 1 : piece.size(), width, pieceWidth, space});
        if (space) {
            text += ' ';
        } else {
            text += piece;
        }
        width += pieceWidth;
    }
};

bool isBefore(const litehtml::element::ptr& child) {
    return dynamic_cast<const litehtml::el_before*>(child.get()) != nullptr;
}

HtmlWords* containerOf(const litehtml::element& block) {
    const auto doc = block.get_document();
    return doc ? dynamic_cast<HtmlWords*>(doc->container()) : nullptr;
}

}  // namespace

bool HtmlHeldText::measure(litehtml::element& block) {
    if (m_measured) {
        return m_measurable;
    }
    m_measured = true;
    auto* container = containerOf(block);
    const char* transform = block.get_style_property("text-transform", true, "none");
    if (!container || !transform || std::strcmp(transform, "none") != 0) {
        return m_measurable = false;
    }
    const litehtml::uint_ptr font = block.get_font();
    // Measured as the engine measures a space it lays out: as one space.
    const int space = container->textWidth(" ", font);
    const std::string_view text = m_text;
    bool words = false;
    container->splitWords(text, [&](std::size_t start, std::size_t length, bool isSpace) {
        const int width = isSpace ? space : container->textWidth(text.substr(start, length), font);
        m_pieces.push_back({start, length, width, isSpace});
        words = words || !isSpace;
    });
    return m_measurable = words;
}

void HtmlHeldText::remove(litehtml::elements_vector& children) {
    if (m_runs.empty()) {
        return;
    }
    std::sort(m_runs.begin(), m_runs.end());
    std::erase_if(children, [&](const litehtml::element::ptr& child) {
        if (!std::binary_search(m_runs.begin(), m_runs.end(), child.get())) {
            return false;
        }
        child->parent(nullptr);
        return true;
    });
    m_runs.clear();
}

void HtmlHeldText::insert(litehtml::element& block, litehtml::elements_vector& children,
                          std::vector<litehtml::element::ptr> runs) {
    // After the block's ::before content and ahead of its ::after, where the text stood.
    auto at = children.begin();
    while (at != children.end() && isBefore(*at)) {
        ++at;
    }
    const auto self = block.shared_from_this();
    for (const auto& run : runs) {
        run->parent(self);
        m_runs.push_back(run.get());
    }
    children.insert(at, runs.begin(), runs.end());
    for (const auto& run : runs) {
        run->parse_styles(false);
    }
}

bool HtmlHeldText::placeWords(litehtml::element& block, litehtml::elements_vector& children) {
    if (m_mode == Mode::Words) {
        return false;
    }
    remove(children);
    m_mode = Mode::Words;
    const auto doc = block.get_document();
    if (!doc) {
        return true;
    }
    std::vector<litehtml::element::ptr> runs;
    if (auto* container = containerOf(block)) {
        const std::string_view text = m_text;
        container->splitWords(text, [&](std::size_t start, std::size_t length, bool space) {
            const std::string piece(text.substr(start, length));
            if (space) {
                runs.push_back(std::make_shared<litehtml::el_space>(piece.c_str(), doc));
            } else {
                runs.push_back(std::make_shared<litehtml::el_text>(piece.c_str(), doc));
            }
        });
    }
    insert(block, children, std::move(runs));
    // Words stay: neither the pieces nor which children were given are asked for again.
    std::vector<Piece>().swap(m_pieces);
    std::vector<litehtml::element*>().swap(m_runs);
    return true;
}

bool HtmlHeldText::placeLines(litehtml::element& block, litehtml::elements_vector& children,
                              int width, int indent) {
    if (m_mode == Mode::Words) {
        return false;
    }
    if (m_mode == Mode::Lines && width == m_linesWidth && indent == m_linesIndent) {
        return false;
    }
    // Other content beside the text (a style's ::before) is laid out with it by the engine.
    const bool alone = children.size() == m_runs.size();
    if (!alone || !measure(block)) {
        return placeWords(block, children);
    }
    const auto doc = block.get_document();

    // The engine's rule, item by item: an item goes on the line when the line's width with
    // it is at most the line's, else it starts the next line; a space that starts a line, or
    // follows a space, takes no room; a line's last spaces are left out of its width when the
    // line is finished.
    std::vector<litehtml::element::ptr> runs;
    std::optional<Gathered> run;
    const Piece* pendingSpace = nullptr;
    auto endRun = [&] {
        if (run) {
            runs.push_back(
                std::make_shared<LineRun>(run->text, std::move(run->parts), run->width, doc));
            run.reset();
        }
    };
    const std::string_view text = m_text;
    auto spaceRun = [&](const Piece& space) {
        const std::string piece(text.substr(space.start, space.length));
        runs.push_back(std::make_shared<litehtml::el_space>(piece.c_str(), doc));
    };
    // The first line starts at the indent and ends where the others do.
    int lineWidth = indent;
    bool lineOpen = false;  // the engine has made the first line
    bool lineEmpty = true;  // nothing stands on the current line yet
    bool afterSpace = false;
    for (const Piece& piece : m_pieces) {
        if (piece.width > width - std::max(indent, 0)) {
            return placeWords(block, children);
        }
        if (piece.space) {
            if (afterSpace) {
                continue;  // the engine skips it, and places nothing
            }
            afterSpace = true;
            if (lineOpen && lineWidth + piece.width > width) {
                endRun();
                lineWidth = 0;
                lineEmpty = true;
            }
            lineOpen = true;
            if (lineEmpty) {
                spaceRun(piece);  // the start of a line: the engine skips it
                lineEmpty = false;
                continue;
            }
            pendingSpace = &piece;
            lineWidth += piece.width;
            continue;
        }
        afterSpace = false;
        if (lineOpen && lineWidth + piece.width > width) {
            endRun();
            if (pendingSpace) {
                spaceRun(*pendingSpace);  // the line's last: left out of its width
                pendingSpace = nullptr;
            }
            lineWidth = 0;
        }
        lineOpen = true;
        lineEmpty = false;
        if (!run) {
            run.emplace();
        }
        if (pendingSpace) {
            run->add({}, pendingSpace->width, true);
            pendingSpace = nullptr;
        }
        run->add(text.substr(piece.start, piece.length), piece.width, false);
        lineWidth += piece.width;
    }
    endRun();
    if (pendingSpace) {
        spaceRun(*pendingSpace);
    }
    remove(children);
    insert(block, children, std::move(runs));
    m_mode = Mode::Lines;
    m_linesWidth = width;
    m_linesIndent = indent;
    return true;
}

}  // namespace platform
