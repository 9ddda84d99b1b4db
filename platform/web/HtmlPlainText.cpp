#include "platform/web/HtmlPlainText.h"

#include <gumbo.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/web/HtmlCutNotice.h"
#include "platform/web/WebPageNode.h"

namespace platform {

namespace {

bool isBlockTag(GumboTag tag) {
    switch (tag) {
        case GUMBO_TAG_ADDRESS:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_BR:
        case GUMBO_TAG_CAPTION:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_DL:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_FORM:
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_OL:
        case GUMBO_TAG_P:
        case GUMBO_TAG_PRE:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_TABLE:
        case GUMBO_TAG_TR:
        case GUMBO_TAG_UL:
            return true;
        default:
            return false;
    }
}

bool isLeftOut(GumboTag tag) {
    return tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE ||
           tag == GUMBO_TAG_TITLE || tag == GUMBO_TAG_TEMPLATE;
}

// A notice stands apart from the page's text, in the client's own look, and says what it
// says in its mark too (HtmlLayout::notices).
std::string notice(const char* text) {
    return std::string("<div data-campus-notice=\"") + text +
           "\" style=\"white-space:normal;color:#6b6b6b;background:#f0f0f0;font-size:14px;"
           "padding:6px 8px;margin:4px 0\">" +
           text + "</div>";
}

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\f';
}

// Appends the text, escaped, while the page stays within `limit` bytes; false where it is
// cut (at a character's start). `blank` counts the blank characters the text appended so far
// ends with: past kLongestBlank in a row they show nothing more and are left out, for each
// costs the engine as much as a word.
bool appendText(std::string& out, std::string_view text, std::size_t limit, std::size_t& blank) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
        length = std::min(length, text.size() - at);
        const bool space = isSpace(text[at]);
        blank = space ? blank + 1 : 0;
        if (blank > kLongestBlank) {
            at += length;
            continue;
        }
        if (out.size() + length > limit) {
            return false;
        }
        web::escapeInto(out, text.substr(at, length), false);
        at += length;
    }
    return true;
}

}  // namespace

PlainTextPage plainTextPage(const std::string& html, std::size_t maxBytes) {
    // No parse errors are kept: each holds a copy of the open elements.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
    PlainTextPage page;
    std::string& out = page.html;
    // On a canvas of its own: it may be painted over what a paint cut short left.
    out = "<html style=\"background-color:white\"><body>" + notice(web::kPlainTextNotice) +
          "<div style=\"white-space:pre-wrap\">";
    const std::size_t limit = out.size() + maxBytes;
    std::size_t blank = 0;
    // Walked with a stack of its own: what to visit next, and the closing text owed when an
    // element's content is done.
    std::vector<std::pair<const GumboNode*, std::string>> stack;
    stack.emplace_back(output->root, std::string());
    while (!stack.empty() && !page.cut) {
        auto [node, closing] = std::move(stack.back());
        stack.pop_back();
        if (!node) {
            out += closing;
            continue;
        }
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
            node->type == GUMBO_NODE_CDATA) {
            page.cut = !appendText(out, node->v.text.text, limit, blank);
            continue;
        }
        if (node->type != GUMBO_NODE_ELEMENT) {
            continue;
        }
        const GumboElement& element = node->v.element;
        if (isLeftOut(element.tag)) {
            continue;
        }
        std::string after = isBlockTag(element.tag) ? "\n" : "";
        const GumboAttribute* mark = gumbo_get_attribute(&element.attributes, "data-campus-item");
        if (!mark) {
            mark = gumbo_get_attribute(&element.attributes, "data-campus-text");
        }
        // The span's own markup is some 35 bytes.
        if (mark && out.size() + std::strlen(mark->value) + 40 > limit) {
            page.cut = true;
            continue;
        }
        if (mark) {
            out += "<span data-campus-item=\"";
            web::escapeInto(out, mark->value, true);
            out += "\">";
            after = "</span>" + after;
        }
        stack.emplace_back(nullptr, std::move(after));
        for (unsigned i = element.children.length; i-- > 0;) {
            stack.emplace_back(static_cast<const GumboNode*>(element.children.data[i]),
                               std::string());
        }
    }
    gumbo_destroy_output(&options, output);
    out += "</div>";
    if (page.cut) {
        // Spans the cut left open end with the text's block.
        out += notice(web::kCutNotice);
    }
    out += "</body></html>";
    return page;
}

}  // namespace platform
