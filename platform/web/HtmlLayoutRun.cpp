// Running the layout engine over a page: reading it, laying it out and painting it, with what
// the engine throws caught, so that no page can take the client with it.

#include <cmath>
#include <exception>

#include "platform/foundation/Log.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/web/HtmlLayoutContainer.h"
#include "platform/web/HtmlPlainText.h"
#include "platform/web/HtmlVisiblePaint.h"

namespace platform {

namespace {

void logFailure(const char* what, const std::exception& error) {
    log("web page: could not be %@ (%@); shown as plain text", what, error.what());
}

}  // namespace

void HtmlLayout::Container::load(const std::string& html) {
    m_source = html;
    if (!tryLoad(html)) {
        showAsText();
    }
}

void HtmlLayout::Container::layOut(double width, double viewportHeight) {
    setViewport(width, viewportHeight);
    if (!m_document || tryRender(width)) {
        return;
    }
    showAsText();
    if (m_document && !tryRender(width)) {
        m_marks.clear();
        m_document.reset();
    }
}

void HtmlLayout::Container::paint(BitmapContext& context, const Rect& clip) {
    if (!m_document) {
        return;
    }
    const litehtml::position area(int(std::floor(clip.minX())), int(std::floor(clip.minY())),
                                  int(std::ceil(clip.width())) + 1,
                                  int(std::ceil(clip.height())) + 1);
    setTarget(&context, clip);
    try {
        paintVisible(*m_document, reinterpret_cast<litehtml::uint_ptr>(&context), area,
                     m_marks.hasPositioned(), m_guard->mayReachPastBox(), m_overflow);
    } catch (const std::exception& error) {
        logFailure("painted", error);
    }
    // A paint cut short leaves its clips set.
    while (m_clips > 0) {
        del_clip();
    }
    setTarget(nullptr);
}

bool HtmlLayout::Container::tryLoad(const std::string& html) {
    m_overflow.invalidate();
    m_styleSheets = std::make_shared<StyleSheetBounder>();
    try {
        m_document = litehtml::document::createFromUTF8(html.c_str(), this, &html::engineContext());
        m_marks.index(m_document);
        return true;
    } catch (const std::exception& error) {
        m_marks.clear();
        m_document.reset();
        logFailure("read", error);
        return false;
    }
}

bool HtmlLayout::Container::tryRender(double width) {
    try {
        m_document->media_changed();
        m_document->render(std::max(1, int(width)));
        return true;
    } catch (const std::exception& error) {
        logFailure("laid out", error);
        return false;
    }
}

void HtmlLayout::Container::showAsText() {
    m_marks.clear();
    m_replaced.clear();
    m_document.reset();
    // The failed document's work counts nowhere else.
    m_guard = std::make_shared<HtmlElementGuard>();
    if (!m_plain) {
        m_plain = true;
        tryLoad(plainTextPage(m_source));
    }
}

}  // namespace platform
