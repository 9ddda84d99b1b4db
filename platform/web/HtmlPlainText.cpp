#include "platform/web/HtmlPlainText.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/web/HtmlCutNotice.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlParse.h"
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

// Appends the text, escaped (or as it stands, where it is markup's text already), while the page stays within `limit` bytes; false where it is
// cut (at a character's start). `blank` counts the blank characters the text appended so far
// ends with: past kLongestBlank in a row they show nothing more and are left out, for each
// costs the engine as much as a word.
bool appendText(std::string& out, std::string_view text, std::size_t limit, std::size_t& blank,
                bool escape = true) {
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
        if (escape) {
            web::escapeInto(out, text.substr(at, length), false);
        } else {
            out.append(text.substr(at, length));
        }
        at += length;
    }
    return true;
}

// Just past the end tag `</name ...>` at or after `from`, in any case; the end if none.
std::size_t pastEndTag(std::string_view html, std::size_t from, std::string_view name) {
    for (std::size_t at = html.find("</", from); at != std::string_view::npos;
         at = html.find("</", at + 2)) {
        const std::string_view written = html.substr(at + 2, name.size());
        const bool same =
            written.size() == name.size() &&
            std::equal(written.begin(), written.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            });
        if (same) {
            const std::size_t end = html.find('>', at);
            return end == std::string_view::npos ? html.size() : end + 1;
        }
    }
    return html.size();
}

// The plain text's start: on a canvas of its own (it may be painted over what a paint cut
// short left), under the line that says the page is shown as plain text.
std::string plainTextStart() {
    return "<html style=\"background-color:white\"><body>" + notice(web::kPlainTextNotice) +
           "<div style=\"white-space:pre-wrap\">";
}

// The plain text's end, with the line that says the rest is not shown where it was cut.
void endPlainText(PlainTextPage& page) {
    page.html += "</div>";
    if (page.cut) {
        // Spans the cut left open end with the text's block.
        page.html += notice(web::kCutNotice);
    }
    page.html += "</body></html>";
}

}  // namespace

PlainTextPage plainTextPage(const std::string& html, std::size_t maxBytes) {
    // No parse errors are kept: each holds a copy of the open elements.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    // Within the run going on, or a budget of its own; past it, the text read without the
    // parser.
    HtmlEngineBudget own;
    HtmlEngineBudget* budget = HtmlEngineBudget::current();
    std::optional<HtmlParse> parse;
    try {
        parse.emplace(budget ? *budget : own, options, html);
    } catch (const HtmlBudgetSpent&) {
        return textOnlyPage(html, maxBytes);
    }
    const GumboOutput* output = &parse->output();
    PlainTextPage page;
    std::string& out = page.html;
    out = plainTextStart();
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
    parse.reset();
    endPlainText(page);
    return page;
}

PlainTextPage textOnlyPage(std::string_view html, std::size_t maxBytes) {
    PlainTextPage page;
    std::string& out = page.html;
    out = plainTextStart();
    const std::size_t limit = out.size() + maxBytes;
    std::size_t blank = 0;
    const std::size_t n = html.size();
    std::size_t i = 0;
    while (i < n && !page.cut) {
        const std::size_t lt = html.find('<', i);
        page.cut = !appendText(out, html.substr(i, std::min(lt, n) - i), limit, blank, false);
        if (lt == std::string_view::npos || page.cut) {
            break;
        }
        const char next = lt + 1 < n ? html[lt + 1] : '\0';
        const bool letter = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
        if (!letter && next != '/' && next != '!' && next != '?') {
            page.cut = !appendText(out, "<", limit, blank);
            i = lt + 1;
            continue;
        }
        if (html.compare(lt, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", lt + 4);
            i = end == std::string_view::npos ? n : end + 3;
            continue;
        }
        std::size_t end = html.find('>', lt);
        end = end == std::string_view::npos ? n : end + 1;
        // The tag's name, for the line of a block and the text of what is left out.
        std::size_t nameEnd = lt + (next == '/' ? 2 : 1);
        std::string name;
        while (nameEnd < n && name.size() < 16 &&
               std::isalnum(static_cast<unsigned char>(html[nameEnd]))) {
            name += char(std::tolower(static_cast<unsigned char>(html[nameEnd++])));
        }
        const GumboTag tag = gumbo_tag_enum(name.c_str());
        if (next != '/' && isLeftOut(tag) && tag != GUMBO_TAG_HEAD) {
            i = pastEndTag(html, end, name);
            continue;
        }
        if (isBlockTag(tag)) {
            page.cut = !appendText(out, "\n", limit, blank);
        }
        i = end;
    }
    endPlainText(page);
    return page;
}

}  // namespace platform
