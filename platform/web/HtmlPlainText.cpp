#include "platform/web/HtmlPlainText.h"

#include <gumbo.h>

#include <cstring>
#include <utility>
#include <vector>

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

}  // namespace

std::string plainTextPage(const std::string& html) {
    // No parse errors are kept: each holds a copy of the open elements.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, html.data(), html.size());
    // On a canvas of its own: it may be painted over what a paint cut short left.
    std::string out =
        "<html style=\"background-color:white\"><body><div style=\"white-space:pre-wrap\">";
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
    gumbo_destroy_output(&options, output);
    return out + "</div></body></html>";
}

}  // namespace platform
