#pragma once

// A paragraph's text laid out a line to a run. The engine breaks lines only between the runs
// it is given, so the container hands it a run for every place a line may break: in Chinese,
// every character, and the engine makes, styles, places and frees an element for each. A
// text that is all its block holds (the usual paragraph of a notice or a news item) is kept
// whole instead and given to the engine when its block is laid out, at the block's width:
// the words that the engine would put on one line, by its own rule and the same widths, go
// as one run, drawn word by word where the engine would have drawn them. The spaces at the
// lines' ends stay runs of their own, so that the engine keeps each line as it was made.

#include <litehtml.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What the layout's container tells of text: where the lines of a text may break, and how
// wide a piece of it is in a font (the engine's own split_text and text_width, by view).
class HtmlWords {
public:
    using Piece = std::function<void(std::size_t start, std::size_t length, bool space)>;
    virtual ~HtmlWords() = default;
    // The words and the collapsible spaces (one a piece) of `text`, in order.
    virtual void splitWords(std::string_view text, const Piece& piece) = 0;
    virtual int textWidth(std::string_view text, litehtml::uint_ptr font) = 0;
};

class HtmlHeldText {
public:
    explicit HtmlHeldText(std::string text) : m_text(std::move(text)) {}

    const std::string& text() const { return m_text; }
    // Whether the block has been given none of the text yet.
    bool unplaced() const { return m_mode == Mode::Unplaced; }

    // `block` is the block holding the text and `children` its children (the engine keeps
    // them where only the block can reach them). Each returns whether the children changed.
    //
    // The text as the engine would have been given it, a run for each word and space. Once
    // given so, it stays so.
    bool placeWords(litehtml::element& block, litehtml::elements_vector& children);
    // The text a line to a run, for lines `width` wide, the first `indent` less. Where the engine's
    // lines could come out otherwise (a word wider than the line, other content beside the text),
    // the text is given as words instead.
    bool placeLines(litehtml::element& block, litehtml::elements_vector& children, int width,
                    int indent);

private:
    enum class Mode { Unplaced, Lines, Words };
    // A word or a space, where it stands in the text.
    struct Piece {
        std::size_t start = 0;
        std::size_t length = 0;
        int width = 0;
        bool space = false;
    };

    bool measure(litehtml::element& block);
    void remove(litehtml::elements_vector& children);
    void insert(litehtml::element& block, litehtml::elements_vector& children,
                std::vector<litehtml::element::ptr> runs);

    std::string m_text;
    Mode m_mode = Mode::Unplaced;
    int m_linesWidth = -1;
    int m_linesIndent = 0;
    bool m_measured = false;
    bool m_measurable = false;
    std::vector<Piece> m_pieces;
    std::vector<litehtml::element*> m_runs;
};

}  // namespace platform
