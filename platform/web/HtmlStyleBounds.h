#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace litehtml {
class document;
class element;
}  // namespace litehtml

namespace platform {

// What the layout engine may be given of a page's style sheets. The engine reads an @media
// block by copying its content and reading that again, and a :not() by copying what follows
// and reading that again, so its memory grows with the square of their nesting; and it tries
// every selector of a page at every element, so its time grows with their product. Each
// bound is far past what a page written for people needs.
struct StyleBounds {
    // @media blocks inside one another past this depth are left out whole.
    int maxBlockNesting = 16;
    // A selector whose parentheses nest deeper than this is left out (a rule left with no
    // selector is left out whole).
    int maxFunctionNesting = 16;
    // A selector of more conditions than this (classes, ids, attributes, pseudo-classes, in
    // parentheses too) is left out: each is tested at every element.
    int maxConditions = 32;
    // The selectors of one rule past this many are left out.
    std::size_t maxSelectorsPerRule = 256;
    // The engine makes a rule of each selector of a comma-separated list, and of each @media
    // and @import: past this many over all the page's sheets, what follows is left out.
    std::size_t maxRules = 4000;
};

// What bounding kept and left out, over all the sheets read so far.
struct StyleFigures {
    // Rules kept, as the engine counts them.
    std::size_t rules = 0;
    std::size_t blocksLeftOut = 0;
    std::size_t selectorsLeftOut = 0;
    // Set when the page's rules ran past maxRules.
    bool cut = false;
};

// Bounds the style sheets of one page, in the order the engine reads them: the page's bound
// on rules counts them all. A sheet is given back as the engine reads it (without its
// comments, which the engine's own removal takes time with the square of their number for),
// and, within the bounds, means what it meant.
class StyleSheetBounder {
public:
    explicit StyleSheetBounder(StyleBounds bounds = {}) : m_bounds(bounds) {}

    std::string bound(std::string_view sheet);
    const StyleFigures& figures() const { return m_figures; }

private:
    void boundBlock(std::string_view text, int depth, std::string& out);
    void boundAtRule(std::string_view rule, int depth, std::string& out);
    bool boundRule(std::string_view selectors, std::string_view block, std::string& out);
    bool takeRule();

    StyleBounds m_bounds;
    StyleFigures m_figures;
};

// The sheet without its comments, removed as the engine removes them (a comment's end is
// looked for after its start, whatever quotes it stands in; one never ended runs to the end).
std::string withoutComments(std::string_view sheet);

// A <style> element for the layout engine's document: it hands the engine its sheet bounded
// by `sheets` (the document's), and gives that bounded sheet as its text.
std::shared_ptr<litehtml::element> makeStyleElement(const std::shared_ptr<litehtml::document>& doc,
                                                    std::shared_ptr<StyleSheetBounder> sheets);

}  // namespace platform
