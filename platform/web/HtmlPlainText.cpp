#include "platform/web/HtmlPlainText.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

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

}  // namespace

std::string plainTextPage(const std::string& html) {
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
        return textOnlyPage(html);
    }
    const GumboOutput* output = &parse->output();
    std::string out = "<html><body><div style=\"white-space:pre-wrap\">";
    // Walked with a stack of its own: what to visit next, and the closing text owed when an
    // element's content is done.
    std::vector<std::pair<const GumboNode*, std::string>> stack;
    stack.emplace_back(output->root, std::string());
    while (!stack.empty()) {
        auto [node, closing] = std::move(stack.back());
        stack.pop_back();
        if (!node) {
            out += closing;
            continue;
        }
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
            node->type == GUMBO_NODE_CDATA) {
            web::escapeInto(out, node->v.text.text, false);
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
    return out + "</div></body></html>";
}

std::string textOnlyPage(std::string_view html) {
    std::string out = "<html><body><div style=\"white-space:pre-wrap\">";
    const std::size_t n = html.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t lt = html.find('<', i);
        if (lt == std::string_view::npos) {
            out.append(html, i);
            break;
        }
        out.append(html, i, lt - i);
        const char next = lt + 1 < n ? html[lt + 1] : '\0';
        const bool letter = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
        if (!letter && next != '/' && next != '!' && next != '?') {
            out += "&lt;";
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
            out += '\n';
        }
        i = end;
    }
    return out + "</div></body></html>";
}

}  // namespace platform
