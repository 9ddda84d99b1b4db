#include "platform/ui/HtmlLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/HtmlLayoutContainer.h"

namespace platform {

// --- Pictures ------------------------------------------------------------------------------

std::string HtmlPictures::ask(std::string_view src) {
    std::string url = m_resolve ? m_resolve(src) : std::string(src);
    if (!url.empty() && m_asked.size() < kMaxPictures && m_asked.insert(url).second) {
        m_wanted.push_back(url);
    }
    return url;
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

HtmlLayout::HtmlLayout(const std::string& html, std::shared_ptr<HtmlPictures> pictures)
    : m_container(std::make_unique<Container>(pictures ? std::move(pictures)
                                                       : std::make_shared<HtmlPictures>(nullptr))) {
    m_container->load(html);
}

HtmlLayout::~HtmlLayout() = default;

void HtmlLayout::layOut(double width, double viewportHeight) {
    m_container->setViewport(width, viewportHeight);
    if (auto& document = m_container->document()) {
        document->media_changed();
        document->render(std::max(1, int(width)));
    }
}

Size HtmlLayout::size() const {
    const auto& document = m_container->document();
    if (!document) {
        return {};
    }
    return Size{double(document->width()), double(document->height())};
}

void HtmlLayout::paint(BitmapContext& context, const Rect& clip) const {
    const auto& document = m_container->document();
    if (!document) {
        return;
    }
    const litehtml::position area(int(std::floor(clip.minX())), int(std::floor(clip.minY())),
                                  int(std::ceil(clip.width())) + 1,
                                  int(std::ceil(clip.height())) + 1);
    m_container->setTarget(&context);
    document->draw(reinterpret_cast<litehtml::uint_ptr>(&context), 0, 0, &area);
    m_container->setTarget(nullptr);
}

using html::rectOf;

namespace {

// The boxes of what an element shows: its own for a block, its content's line by line for
// an inline element (whose own box the engine leaves empty).
void collectBoxes(const litehtml::element::ptr& element, Rect& frame) {
    if (!element || element->get_display() == litehtml::display_none) {
        return;
    }
    const std::size_t children = element->get_children_count();
    const bool inlineBox = element->get_display() == litehtml::display_inline;
    if (!inlineBox || children == 0) {
        Rect box = rectOf(element->get_placement());
        if (!box.isEmpty()) {
            frame = frame.isEmpty() ? box : frame.unionWith(box);
        }
        if (!inlineBox) {
            return;
        }
    }
    for (std::size_t i = 0; i < children; ++i) {
        collectBoxes(element->get_child(int(i)), frame);
    }
}

void collectItems(const litehtml::element::ptr& element, std::vector<Rect>& frames) {
    if (!element || element->get_display() == litehtml::display_none) {
        return;
    }
    if (const char* mark = element->get_attr("data-campus-item")) {
        char* end = nullptr;
        long index = std::strtol(mark, &end, 10);
        if (end != mark && index >= 0 && std::size_t(index) < frames.size()) {
            Rect frame;
            collectBoxes(element, frame);
            Rect& shown = frames[std::size_t(index)];
            if (!frame.isEmpty()) {
                shown = shown.isEmpty() ? frame : shown.unionWith(frame);
            }
        }
    }
    const std::size_t children = element->get_children_count();
    for (std::size_t i = 0; i < children; ++i) {
        collectItems(element->get_child(int(i)), frames);
    }
}

}  // namespace

std::vector<Rect> HtmlLayout::itemFrames(std::size_t count) const {
    std::vector<Rect> frames(count);
    if (const auto& document = m_container->document()) {
        collectItems(document->root(), frames);
    }
    return frames;
}

}  // namespace platform
