#include "platform/graphics/TextMeasurer.h"

#include <mutex>
#include <vector>

#include "platform/graphics/PangoTextMeasurer.h"

namespace platform {

namespace {

struct Registry {
    std::mutex mutex;
    std::shared_ptr<TextMeasurer> current;
    // Measurers replaced by setCurrent stay alive, so a reference handed out by current()
    // never dangles. Only tests replace the measurer, a handful of times.
    std::vector<std::shared_ptr<TextMeasurer>> retired;
};

Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

const TextMeasurer& pangoMeasurer() {
    static const PangoTextMeasurer* instance = new PangoTextMeasurer;
    return *instance;
}

}  // namespace

double TextMeasurer::lineHeight(const Font& font) const {
    return boundingSize("X", font, Size{}).height;
}

const TextMeasurer& TextMeasurer::current() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.current ? *r.current : pangoMeasurer();
}

void TextMeasurer::setCurrent(std::shared_ptr<TextMeasurer> measurer) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (r.current) {
        r.retired.push_back(r.current);
    }
    r.current = std::move(measurer);
}

}  // namespace platform
