// Running the layout engine over a page: reading it, laying it out and painting it, with what
// the engine throws caught, so that no page can take the client with it.

#include <gumbo.h>

#include <cmath>
#include <cstring>
#include <exception>
#include <string_view>

#include "platform/foundation/Log.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlLayoutContainer.h"
#include "platform/web/HtmlParse.h"
#include "platform/web/HtmlPlainText.h"
#include "platform/web/HtmlVisiblePaint.h"

namespace platform {

namespace {

void logFailure(const char* what, const std::exception& error) {
    log("web page: could not be %@ (%@); shown as plain text", what, error.what());
}

// Where the engine's parse of the page being read is kept (HtmlLayout::Container::m_parse).
thread_local GumboOutput** t_parse = nullptr;

}  // namespace

}  // namespace platform

// The parser's own gumbo_parse, taken in place of the library's so that the page's parse is
// known: the engine destroys it only after it has made the page's elements, and a throw
// while it makes them (a budget spent) would leave it behind. The parse itself is drawn from
// the engine's budget (HtmlParse), and keeps no parse errors (each holds a copy of the open
// elements, and the engine reads none).
extern "C" GumboOutput* gumbo_parse(const char* buffer) {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output =
        platform::HtmlParse::parseToFree(options, std::string_view(buffer, std::strlen(buffer)));
    if (platform::t_parse) {
        *platform::t_parse = output;
    }
    return output;
}

namespace platform {

void HtmlLayout::Container::load(const std::string& html, std::chrono::nanoseconds readingTime) {
    m_source = html;
    // Made once for every page, outside any page's budget.
    html::engineContext();
    m_budget.reset();
    m_budget.charge(readingTime);
    m_painted = false;
    if (!tryLoad(html)) {
        loadAsText();
    }
}

void HtmlLayout::Container::layOut(double width, double viewportHeight) {
    setViewport(width, viewportHeight);
    if (!m_document || tryRender(width)) {
        return;
    }
    fallBack(width);
}

void HtmlLayout::Container::paint(BitmapContext& context, const Rect& clip) {
    if (!m_document) {
        return;
    }
    // Painted as what a page that fails to lay out shows, where the page stood; a plain text
    // past the budget as its shorter one.
    while (!tryPaint(context, clip) && m_budget.spent() && fallBack(laidOutWidth)) {
    }
    m_painted = true;
}

HtmlEngineBudget& HtmlLayout::Container::budget() {
    if (m_painted) {
        m_painted = false;
        m_budget.reset();
    }
    return m_budget;
}

bool HtmlLayout::Container::tryPaint(BitmapContext& context, const Rect& clip) {
    const litehtml::position area(int(std::floor(clip.minX())), int(std::floor(clip.minY())),
                                  int(std::ceil(clip.width())) + 1,
                                  int(std::ceil(clip.height())) + 1);
    setTarget(&context, clip);
    bool painted = true;
    try {
        HtmlEngineBudget::Run run(budget());
        paintVisible(*m_document, reinterpret_cast<litehtml::uint_ptr>(&context), area,
                     m_marks.hasPositioned(), m_guard->mayReachPastBox(), m_overflow);
    } catch (const std::exception& error) {
        logFailure("painted", error);
        painted = false;
    }
    // A paint cut short leaves its clips set.
    while (m_clips > 0) {
        del_clip();
    }
    setTarget(nullptr);
    return painted;
}

bool HtmlLayout::Container::tryLoad(const std::string& html) {
    m_overflow.invalidate();
    m_styleSheets = std::make_shared<StyleSheetBounder>();
    m_parse = nullptr;
    t_parse = &m_parse;
    try {
        HtmlEngineBudget::Run run(budget());
        m_document = litehtml::document::createFromUTF8(html.c_str(), this, &html::engineContext());
        t_parse = nullptr;
        m_marks.index(m_document);
        return true;
    } catch (const std::exception& error) {
        t_parse = nullptr;
        if (m_parse) {
            gumbo_destroy_output(&kGumboDefaultOptions, m_parse);
            m_parse = nullptr;
        }
        m_marks.clear();
        m_document.reset();
        logFailure("read", error);
        return false;
    }
}

bool HtmlLayout::Container::tryRender(double width) {
    try {
        HtmlEngineBudget::Run run(budget());
        m_document->media_changed();
        beginLayoutPass();
        m_document->render(std::max(1, int(width)));
        return true;
    } catch (const std::exception& error) {
        logFailure("laid out", error);
        return false;
    }
}

bool HtmlLayout::Container::loadAsText() {
    m_marks.clear();
    m_replaced.clear();
    m_document.reset();
    // The failed document's work counts nowhere else.
    m_guard = std::make_shared<HtmlElementGuard>();
    while (m_textShown < std::size(kTextBytes)) {
        const std::size_t bytes = kTextBytes[m_textShown++];
        // Each plain text has a budget of its own.
        m_budget.reset();
        m_painted = false;
        const PlainTextPage page = plainTextPage(m_source, bytes);
        if (page.cut) {
            log("web page: its plain text is longer than %@ bytes; cut there", bytes);
        }
        if (tryLoad(page.html)) {
            return true;
        }
    }
    return false;
}

std::vector<HtmlLayout::Notice> HtmlLayout::Container::notices() const {
    std::vector<HtmlLayout::Notice> notices;
    if (!m_document || m_textShown == 0) {
        return notices;
    }
    for (const auto& element : m_document->root()->select_all("[data-campus-notice]")) {
        const char* text = element->get_attr("data-campus-notice");
        notices.push_back({text ? text : "", html::rectOf(element->get_placement())});
    }
    return notices;
}

bool HtmlLayout::Container::fallBack(double width) {
    while (loadAsText()) {
        if (tryRender(width)) {
            return true;
        }
    }
    m_marks.clear();
    m_document.reset();
    return false;
}

}  // namespace platform
