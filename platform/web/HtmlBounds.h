#pragma once

#include <cstddef>
#include <string>

namespace platform {

// What the HTML parser may be given of a page. The parser's time grows with the square of
// the nesting depth, and with the square of the attributes of one element (each is checked
// against all before it for a repeat), so both must be bounded before it sees the page, not
// after.
struct HtmlBounds {
    // Elements nested deeper than this are left out (their content stays, one level up).
    // Only elements that nest count: void elements, those whose end tag is implied by the
    // next one (p, li, td, tr, option...) and html, head and body do not.
    int maxDepth = 256;
    // The input is cut before the start tag past this many.
    std::size_t maxElements = 200'000;
    // Attributes of one start tag past this many are left out (the first ones stay, as the
    // parser keeps the first of a repeated name). No page of the school's needs more than a
    // few dozen.
    std::size_t maxAttributes = 64;
    // And past this many in the whole input: the parser holds each one twice over (its own
    // record and the page's), some sixty bytes or more whatever its length.
    std::size_t maxTotalAttributes = 200'000;
    // The input is cut at this many bytes (at a character's start).
    std::size_t maxBytes = 16u << 20;
    // The parser keeps a list of the formatting elements left open (b, i, font, a...) and
    // makes each again in every block that follows until its end tag: its work grows with the
    // product of the two, some sixty elements a byte for a page that leaves a few hundred
    // open. Formatting start tags past this many on the list are left out (with their end
    // tags), as the parser's own rule leaves out a fourth of the same tag and attributes...
    std::size_t maxOpenFormatting = 32;
    // ...and the input is cut where the elements the parser would make again pass this many
    // (a page of the school's makes a few).
    std::size_t maxRemade = 10'000;
};

struct BoundedHtml {
    std::string html;
    // Start tags (with their end tags) were left out for being nested too deep.
    bool flattened = false;
    // The input was cut for having too many elements or bytes.
    bool cut = false;
    // Attributes were left out of some tag for being past maxAttributes or
    // maxTotalAttributes.
    bool attributesDropped = false;
    // Start tags in what is kept.
    std::size_t elements = 0;
    // The input was cut (cut is set too) where the parser would make its open formatting
    // elements again past maxRemade.
    bool remadePastBound = false;
};

BoundedHtml boundHtml(std::string html, const HtmlBounds& bounds);

}  // namespace platform
