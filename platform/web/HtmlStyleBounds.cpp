#include "platform/web/HtmlStyleBounds.h"

#include <litehtml.h>
// After the engine's main header, which its others need first.
#include <el_style.h>

#include <algorithm>

#include "platform/web/HtmlElement.h"

namespace platform {

namespace {

constexpr std::string_view kBlanks = " \n\r\t";
constexpr std::size_t npos = std::string_view::npos;

// Where the bracket opened at `open` closes, counting the brackets within as the engine does
// (whatever quotes they stand in); npos if it never does.
std::size_t closeOf(std::string_view text, std::size_t open, char opening, char closing) {
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        if (text[i] == opening) {
            ++depth;
        } else if (text[i] == closing && --depth == 0) {
            return i;
        }
    }
    return npos;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(kBlanks) == npos;
}

// How deep the selector's parentheses nest, how many steps (compound selectors) it has, and
// how many conditions.
void measureSelector(std::string_view selector, int& nesting, int& steps, int& conditions) {
    nesting = 0;
    steps = 0;
    conditions = 0;
    int depth = 0;
    int brackets = 0;
    bool inStep = false;
    for (std::size_t i = 0; i < selector.size(); ++i) {
        const char c = selector[i];
        if (c == '.' || c == '#' || c == '[' || (c == ':' && (i == 0 || selector[i - 1] != ':'))) {
            ++conditions;
        }
        if (c == '(') {
            nesting = std::max(nesting, ++depth);
        } else if (c == ')') {
            depth = std::max(0, depth - 1);
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            brackets = std::max(0, brackets - 1);
        }
        const bool between = depth == 0 && brackets == 0 &&
                             (kBlanks.find(c) != npos || c == '>' || c == '+' || c == '~');
        if (!between && !inStep) {
            ++steps;
        }
        inStep = !between;
    }
}

// The engine's <style> element reads its text when the document's attributes are read, in
// the order of the document, and hands it to the document whole.
class StyleElement final : public litehtml::el_style {
public:
    StyleElement(const std::shared_ptr<litehtml::document>& doc,
                 std::shared_ptr<StyleSheetBounder> sheets)
        : litehtml::el_style(doc), m_sheets(std::move(sheets)) {}

    bool appendChild(const litehtml::element::ptr& el) override {
        if (el) {
            el->get_text(m_sheet);
        }
        return litehtml::el_style::appendChild(el);
    }

    void parse_attributes() override {
        m_sheet = m_sheets->bound(m_sheet);
        get_document()->add_stylesheet(m_sheet.c_str(), nullptr, get_attr("media"));
    }

    void get_text(litehtml::tstring& text) override { text += m_sheet; }

private:
    std::shared_ptr<StyleSheetBounder> m_sheets;
    std::string m_sheet;
};

}  // namespace

std::shared_ptr<litehtml::element> makeStyleElement(const std::shared_ptr<litehtml::document>& doc,
                                                    std::shared_ptr<StyleSheetBounder> sheets) {
    return std::make_shared<StyleElement>(doc, std::move(sheets));
}

std::string withoutComments(std::string_view sheet) {
    // The engine erases the first "/*" it finds up to the "*/" after it, again and again from
    // the start: an erasure can join a '/' and a '*' into a new start, which this finds too.
    std::string out;
    out.reserve(sheet.size());
    std::size_t i = 0;
    while (i < sheet.size()) {
        out += sheet[i++];
        if (out.size() >= 2 && out[out.size() - 2] == '/' && out.back() == '*') {
            out.resize(out.size() - 2);
            const std::size_t end = sheet.find("*/", i);
            i = end == npos ? sheet.size() : end + 2;
        }
    }
    return out;
}

std::string StyleSheetBounder::bound(std::string_view sheet) {
    const std::string text = withoutComments(sheet);
    std::string out;
    out.reserve(text.size());
    if (!m_figures.cut) {
        boundBlock(text, 0, out);
    }
    return out;
}

bool StyleSheetBounder::takeRule() {
    if (m_figures.rules >= m_bounds.maxRules) {
        m_figures.cut = true;
        return false;
    }
    ++m_figures.rules;
    return true;
}

// Reads the sheet (or the content of an @media block `depth` deep) as the engine reads it:
// at-rules up to their ';' or the end of their block, and each rule up to its first '}'.
void StyleSheetBounder::boundBlock(std::string_view text, int depth, std::string& out) {
    std::size_t copied = 0;
    std::size_t pos = text.find_first_not_of(kBlanks);
    // The next '{', kept while rules end at the '}'s before it: a sheet of many such '}'s
    // would otherwise be searched to its end for each.
    std::size_t nextOpen = npos;
    bool openFound = false;
    while (pos != npos) {
        while (pos != npos && text[pos] == '@') {
            const std::size_t start = pos;
            pos = text.find_first_of("{;", pos);
            if (pos != npos && text[pos] == '{') {
                pos = closeOf(text, pos, '{', '}');
            }
            const std::size_t end = pos == npos ? text.size() : pos + 1;
            out.append(text.substr(copied, start - copied));
            copied = end;
            boundAtRule(text.substr(start, end - start), depth, out);
            if (m_figures.cut) {
                return;
            }
            if (pos != npos) {
                pos = text.find_first_not_of(kBlanks, pos + 1);
            }
        }
        if (pos == npos) {
            break;
        }
        if (!openFound || (nextOpen != npos && nextOpen < pos)) {
            nextOpen = text.find('{', pos);
            openFound = true;
        }
        const std::size_t open = nextOpen;
        const std::size_t close = text.find('}', pos);
        if (open == npos || close == npos) {
            break;  // the engine reads no more of the sheet
        }
        out.append(text.substr(copied, pos - copied));
        copied = close + 1;
        // A '}' before the block's '{' closes nothing: the engine would read what stands
        // before it as selectors with the rest of the sheet for their block, once for each
        // such '}'. Browsers leave such a rule out, and so does this.
        if (close > open &&
            !boundRule(text.substr(pos, open - pos), text.substr(open, close + 1 - open), out)) {
            return;
        }
        pos = text.find_first_not_of(kBlanks, close + 1);
    }
    out.append(text.substr(copied));
}

void StyleSheetBounder::boundAtRule(std::string_view rule, int depth, std::string& out) {
    if (!takeRule()) {
        return;
    }
    const std::size_t open = rule.find('{');
    if (rule.substr(0, 6) != "@media" || open == npos) {
        out.append(rule);
        return;
    }
    if (depth + 1 > m_bounds.maxBlockNesting) {
        ++m_figures.blocksLeftOut;
        return;
    }
    // The block's content, as the engine takes it: up to the rule's last '}'.
    const std::size_t close = rule.rfind('}');
    const bool closed = close != npos && close > open;
    out.append(rule.substr(0, open + 1));
    boundBlock(rule.substr(open + 1, closed ? close - open - 1 : npos), depth + 1, out);
    if (closed) {
        out.append(rule.substr(close));
    }
}

// Appends the rule with the selectors that are kept (none: nothing); false once the page's
// rules are spent.
bool StyleSheetBounder::boundRule(std::string_view selectors, std::string_view block,
                                  std::string& out) {
    // The engine splits the list at every comma outside double quotes, a :not(a, b) too.
    std::string kept;
    std::size_t count = 0;
    bool changed = false;
    std::size_t start = 0;
    while (start <= selectors.size()) {
        std::size_t end = selectors.find_first_of(",\"", start);
        while (end != npos && selectors[end] == '"') {
            end = selectors.find('"', end + 1);
            if (end != npos) {
                end = selectors.find_first_of(",\"", end + 1);
            }
        }
        const std::string_view selector = selectors.substr(start, end == npos ? npos : end - start);
        start = end == npos ? selectors.size() + 1 : end + 1;
        if (isBlank(selector)) {
            changed = changed || !selector.empty();
            continue;  // the engine makes no rule of it
        }
        int nesting = 0;
        int steps = 0;
        int conditions = 0;
        measureSelector(selector, nesting, steps, conditions);
        // A selector of more steps than are ever tried (HtmlElementGuard) never matches; the
        // engine's reading of it copies what follows each step.
        if (nesting > m_bounds.maxFunctionNesting || conditions > m_bounds.maxConditions ||
            steps > HtmlElementGuard::kMaxCombinators + 1 ||
            count >= m_bounds.maxSelectorsPerRule || m_figures.cut) {
            ++m_figures.selectorsLeftOut;
            changed = true;
            continue;
        }
        if (!takeRule()) {
            changed = true;
            continue;
        }
        if (count++ > 0) {
            kept += ',';
        }
        kept.append(selector);
    }
    if (count > 0) {
        out.append(changed ? std::string_view(kept) : selectors);
        out.append(block);
    }
    return !m_figures.cut;
}

}  // namespace platform
