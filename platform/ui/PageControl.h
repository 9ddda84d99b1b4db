#pragma once

#include <optional>
#include <string>

#include "platform/ui/Control.h"

namespace platform {

// The phone's UIPageControl: a row of dots, one per page, the current one highlighted. A tap
// on the left half goes back a page, on the right half forward a page, and sends
// ValueChanged when the page changed. With hidesForSinglePage and at most one page it
// shows nothing and takes no touches.
class PageControl : public Control {
public:
    PageControl();
    explicit PageControl(const Rect& frame);

    int numberOfPages() const { return m_numberOfPages; }
    // Negative counts become 0; the current page stays within the pages.
    void setNumberOfPages(int count);
    int currentPage() const { return m_currentPage; }
    // Clamped to the pages; sends nothing (the phone sends ValueChanged only for taps).
    void setCurrentPage(int page);
    bool hidesForSinglePage() const { return m_hidesForSinglePage; }
    void setHidesForSinglePage(bool hides) { setDisplayed(m_hidesForSinglePage, hides); }
    std::optional<Color> pageIndicatorTintColor() const { return m_pageIndicatorTintColor; }
    void setPageIndicatorTintColor(std::optional<Color> color) {
        setDisplayed(m_pageIndicatorTintColor, color);
    }
    std::optional<Color> currentPageIndicatorTintColor() const {
        return m_currentPageIndicatorTintColor;
    }
    void setCurrentPageIndicatorTintColor(std::optional<Color> color) {
        setDisplayed(m_currentPageIndicatorTintColor, color);
    }
    // Whether anything shows (not hidden for a single page).
    bool showsDots() const;

    // The size the dots of `pages` pages need.
    static Size sizeForNumberOfPages(int pages);
    // Where dot `page` is drawn, in the control's own coordinates.
    Rect rectForDot(int page) const;

    bool pointInside(Point point) const override;
    void touchesEnded(const Touches& touches) override;
    Size sizeThatFits(Size size) const override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

    static constexpr double kDotDiameter = 7;
    static constexpr double kDotSpacing = 9;
    static constexpr double kHeight = 37;

private:
    int m_numberOfPages{0};
    int m_currentPage{0};
    bool m_hidesForSinglePage{false};
    std::optional<Color> m_pageIndicatorTintColor;
    std::optional<Color> m_currentPageIndicatorTintColor;
};

}  // namespace platform
