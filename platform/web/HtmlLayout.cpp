#include "platform/web/HtmlLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <utility>

#include "platform/foundation/Log.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/web/HtmlLayoutContainer.h"
#include "platform/web/HtmlVisiblePaint.h"

namespace platform {

// --- Pictures ------------------------------------------------------------------------------

const std::string& HtmlPictures::resolved(std::string_view src) {
    auto found = m_resolved.find(std::string(src));
    if (found == m_resolved.end()) {
        found = m_resolved.emplace(std::string(src), m_resolve ? m_resolve(src) : std::string(src))
                    .first;
    }
    return found->second;
}

std::string HtmlPictures::ask(std::string_view src) {
    const std::string& url = resolved(src);
    if (!url.empty() && m_asked.size() < kMaxPictures && m_asked.count(url) == 0) {
        // Asked for and wanted both, or neither: the engine's budget may end a run at any
        // allocation, and the pictures outlive the run.
        m_wanted.push_back(url);
        try {
            m_asked.insert(url);
        } catch (...) {
            m_wanted.pop_back();
            throw;
        }
    }
    return url;
}

void HtmlPictures::noteSizesBox(std::string_view src) {
    const std::string& url = resolved(src);
    if (m_asked.count(url) != 0) {
        m_sizing.insert(url);
    }
}

const Image* HtmlPictures::picture(const std::string& url) const {
    auto found = m_pictures.find(url);
    return found == m_pictures.end() || found->second.isNull() ? nullptr : &found->second;
}

void HtmlPictures::setPicture(const std::string& url, Image picture) {
    if (m_asked.count(url) != 0) {
        m_pictures[url] = std::move(picture);
    }
}

std::vector<std::string> HtmlPictures::takeWanted() {
    return std::exchange(m_wanted, {});
}

// --- The layout ----------------------------------------------------------------------------

HtmlLayout::HtmlLayout(const std::string& html, std::shared_ptr<HtmlPictures> pictures,
                       std::chrono::nanoseconds readingTime)
    : m_container(std::make_unique<Container>(pictures ? std::move(pictures)
                                                       : std::make_shared<HtmlPictures>(nullptr))) {
    m_container->load(html, readingTime);
}

HtmlLayout::~HtmlLayout() = default;

void HtmlLayout::layOut(double width, double viewportHeight) {
    auto& document = m_container->document();
    auto replaced = std::exchange(m_container->replaced(), {});
    if (!document) {
        return;
    }
    const bool sameSize =
        width == m_container->laidOutWidth && viewportHeight == m_container->laidOutHeight;
    m_container->overflow().invalidate();
    if (sameSize && !replaced.empty()) {
        // A script's change of a few elements: where their blocks come out as large as they
        // were, nothing else moves.
        bool inPlace = true;
        try {
            HtmlEngineBudget::Run run(m_container->budget());
            m_container->beginLayoutPass();
            for (const auto& [element, before] : replaced) {
                inPlace =
                    inPlace && relayOutInPlace(element, before, m_container->marks().hasFloats());
            }
        } catch (const std::exception&) {
            // Laid out whole below, with the engine's failures caught there (a spent budget
            // stays spent).
            inPlace = false;
        }
        if (inPlace) {
            return;
        }
    }
    m_container->laidOutWidth = width;
    m_container->laidOutHeight = viewportHeight;
    m_container->layOut(width, viewportHeight);
}

bool HtmlLayout::replaceItem(std::size_t index, const std::string& markup) {
    auto& document = m_container->document();
    if (!document) {
        return false;
    }
    auto& marks = m_container->marks();
    const auto& elements = marks.elementsOf(index);
    if (elements.empty()) {
        return true;  // not laid out: nothing shows it
    }
    if (elements.size() != 1) {
        return false;
    }
    const litehtml::element::ptr old = elements.front();
    const HtmlBoxPlace before = HtmlBoxPlace::of(*old);
    litehtml::element::ptr now;
    try {
        HtmlEngineBudget::Run run(m_container->budget());
        now = replaceElement(*document, old, markup, Container::masterStyles(), marks.pageStyles());
        if (!now) {
            return false;
        }
        marks.replace(index, old, now);
        if (holdsPositioned(now)) {
            marks.notePositioned();
        }
    } catch (const HtmlBudgetSpent& spent) {
        // The change is the page's too: it shows as plain text from now on.
        log("web page: could not be changed (%@); shown as plain text", spent.what());
        m_container->dropForPlainText();
        return true;
    } catch (const std::exception&) {
        return false;  // the page is made anew instead
    }
    m_container->replaced().emplace_back(now, before);
    return true;
}

Size HtmlLayout::size() const {
    const auto& document = m_container->document();
    if (!document) {
        return {};
    }
    return Size{double(document->width()), double(document->height())};
}

void HtmlLayout::paint(BitmapContext& context, const Rect& clip) const {
    m_container->paint(context, clip);
}

std::vector<Rect> HtmlLayout::itemFrames(std::size_t count,
                                         std::vector<std::vector<Rect>>* lines) const {
    return m_container->marks().frames(count, lines);
}

std::vector<HtmlLayout::Notice> HtmlLayout::notices() const {
    return m_container->notices();
}

std::optional<Point> HtmlLayout::namedPlace(std::string_view name) const {
    return platform::namedPlace(m_container->document(), name);
}

std::size_t HtmlLayout::engineBytes() const {
    return m_container->account().peakBytes();
}

std::optional<HtmlLayout::TextLook> HtmlLayout::itemTextLook(std::size_t item) const {
    const auto& elements = m_container->marks().elementsOf(item);
    if (elements.empty() || !elements.front()) {
        return std::nullopt;
    }
    const auto* font = reinterpret_cast<const html::FontEntry*>(elements.front()->get_font());
    if (!font) {
        return std::nullopt;
    }
    const litehtml::web_color color =
        elements.front()->get_color("color", true, litehtml::web_color(0, 0, 0));
    return TextLook{font->font, Color::rgba(color.red / 255.0f, color.green / 255.0f,
                                            color.blue / 255.0f, color.alpha / 255.0f)};
}

}  // namespace platform
