#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Animation.h"
#include "platform/ui/EnumFlags.h"
#include "platform/ui/Responder.h"

namespace platform {

class BitmapContext;
class GestureRecognizer;
class ViewController;
class Window;

enum class ContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// Which margins and sizes of a view follow its superview when the superview's size changes.
enum class AutoresizingMask : unsigned {
    None = 0,
    FlexibleLeftMargin = 1u << 0,
    FlexibleWidth = 1u << 1,
    FlexibleRightMargin = 1u << 2,
    FlexibleTopMargin = 1u << 3,
    FlexibleHeight = 1u << 4,
    FlexibleBottomMargin = 1u << 5,
};

template <>
struct EnableFlags<AutoresizingMask> : std::true_type {};

// The phone's UIView: a rectangle in a tree of views. Views live in std::shared_ptr (make
// them with View::make<T>(...)); a view owns its subviews and gesture recognisers. The
// superview link is a plain pointer that the superview keeps right (it clears it when it
// lets the subview go or dies), so subviews may be added from a constructor.
//
// Geometry follows the phone: the stored values are center, bounds and transform (applied
// about the center); frame is derived from them. bounds.origin is the point of the view's
// own coordinates shown at its top-left corner, which is how scroll views scroll.
class View : public Responder, public std::enable_shared_from_this<View> {
public:
    template <typename T = View, typename... Args>
    static std::shared_ptr<T> make(Args&&... args) {
        return std::make_shared<T>(std::forward<Args>(args)...);
    }

    View() = default;
    explicit View(const Rect& frame);
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // --- Geometry ---------------------------------------------------------------------
    Rect frame() const;
    virtual void setFrame(const Rect& frame);
    Rect bounds() const { return m_bounds; }
    virtual void setBounds(const Rect& bounds);
    Point center() const { return m_center; }
    void setCenter(Point center);
    const AffineTransform& transform() const { return m_transform; }
    void setTransform(const AffineTransform& transform);
    AutoresizingMask autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(AutoresizingMask mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool value) { m_autoresizesSubviews = value; }

    // --- Appearance -------------------------------------------------------------------
    const Color& backgroundColor() const { return m_backgroundColor; }
    virtual void setBackgroundColor(const Color& color) { setDisplayed(m_backgroundColor, color); }
    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);
    bool isHidden() const { return m_hidden; }
    virtual void setHidden(bool hidden);
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius) { setDisplayed(m_cornerRadius, radius); }
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width) { setDisplayed(m_borderWidth, width); }
    const Color& borderColor() const { return m_borderColor; }
    void setBorderColor(const Color& color) { setDisplayed(m_borderColor, color); }
    bool clipsToBounds() const { return m_clipsToBounds; }
    void setClipsToBounds(bool clips) { setDisplayed(m_clipsToBounds, clips); }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    ContentMode contentMode() const { return m_contentMode; }
    virtual void setContentMode(ContentMode mode) { setDisplayed(m_contentMode, mode); }
    // The view's own tint, else its superview's, else the system blue.
    Color tintColor() const;
    void setTintColor(std::optional<Color> color);
    // Called on the view and its subtree when the tint they inherit changes.
    virtual void tintColorDidChange() {}

    // --- Hierarchy --------------------------------------------------------------------
    std::shared_ptr<View> superview() const;
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    // Adding a view that has another superview moves it; adding it again brings it to the
    // front. A view cannot be added to itself or to one of its own subviews.
    void addSubview(std::shared_ptr<View> view);
    void insertSubview(std::shared_ptr<View> view, size_t index);
    void insertSubviewBelow(std::shared_ptr<View> view, const View* sibling);
    void insertSubviewAbove(std::shared_ptr<View> view, const View* sibling);
    void exchangeSubviews(size_t index1, size_t index2);
    void removeFromSuperview();
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    bool isDescendantOf(const View* view) const;
    // The window at the root of the tree, if the root is one.
    std::shared_ptr<Window> window() const;
    // This view or the first descendant (depth first, in subview order) with the tag.
    std::shared_ptr<View> viewWithTag(int tag);
    // The controller whose root view this is.
    std::shared_ptr<ViewController> viewController() const;

    virtual void willMoveToSuperview(View* /*newSuperview*/) {}
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(View& /*subview*/) {}
    virtual void willRemoveSubview(View& /*subview*/) {}

    // --- Layout -----------------------------------------------------------------------
    virtual void layoutSubviews() {}
    // Marks the view for layout; a window lays out what needs it on its next run-loop turn,
    // and layoutIfNeeded does it at once.
    void setNeedsLayout();
    // Lays out this view if it needs it, then its subviews.
    void layoutIfNeeded();
    bool needsLayout() const { return m_needsLayout; }
    virtual Size sizeThatFits(Size size) const;
    void sizeToFit();
    // What the view shows has changed. Drawing happens on demand (rendering), so this only
    // tells a front end that draws the screen to draw it again (see DisplayChanges.h), and
    // only while the view can be seen: in the shown key window (or a shown alert), with
    // nothing on the way up hidden or transparent. Subclasses call it when what draw() reads
    // changes; View's own setters and the view tree call it themselves.
    void setNeedsDisplay();
    // Whether the view and everything above it are shown, up to the shown key window or a
    // shown alert.
    bool isOnScreen() const;

    // --- Coordinates (a null view means the coordinates of the tree's root) -------------
    Point convertPointTo(Point point, const View* view) const;
    Point convertPointFrom(Point point, const View* view) const;
    Rect convertRectTo(const Rect& rect, const View* view) const;
    Rect convertRectFrom(const Rect& rect, const View* view) const;
    // One step: between this view's bounds coordinates and its superview's.
    Point pointToSuperview(Point point) const;
    Point pointFromSuperview(Point point) const;

    // --- Hit testing and events -------------------------------------------------------
    // The deepest visible, interactive view that contains the point (in this view's
    // coordinates). Hidden views, views with alpha below 0.01 and views with user
    // interaction off are never hit, nor is anything below them.
    virtual std::shared_ptr<View> hitTest(Point point);
    virtual bool pointInside(Point point) const;

    Responder* nextResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // Resigns the first responder if it is this view or below it. force: it resigns even if
    // it would refuse. Returns whether nothing below is first responder any more.
    bool endEditing(bool force);

    void addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer);
    void removeGestureRecognizer(const GestureRecognizer* recognizer);
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const {
        return m_gestureRecognizers;
    }

    // --- Drawing and description ------------------------------------------------------
    // The view's own content, in its bounds coordinates, drawn after its background and
    // before its subviews. `rect` is the bounds.
    virtual void draw(BitmapContext& /*context*/, const Rect& /*rect*/) {}
    // A short name that a driver or a test uses to refer to the view.
    const std::string& handle() const { return m_handle; }
    void setHandle(std::string handle) { m_handle = std::move(handle); }
    // One line saying what the view is and shows, for outlines.
    virtual std::string describe() const;
    // What the phone's screen reader says for a view that shows no text of its own (a photo,
    // a round shutter button); outlines name the view by it, so it can be found by that text.
    const std::string& accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::string label) { m_accessibilityLabel = std::move(label); }

protected:
    // Sets a value that draw() (or the renderer) reads, and marks the view for display only
    // when the value really changed: layout passes re-set the same values all the time, and
    // an idle screen must not look as if it were changing.
    template <typename T, typename U>
    void setDisplayed(T& member, U&& value) {
        if (member == value) {
            return;
        }
        member = std::forward<U>(value);
        setNeedsDisplay();
    }

public:
    // --- Animation ----------------------------------------------------------------------
    // Runs the changes at once and the completion (with true) after the duration on the
    // main run loop's clock. The completion keeps alive only what it captures.
    static void animate(double duration, const std::function<void()>& animations,
                        std::function<void(bool)> completion = {});
    static void animateWithDuration(double duration, double delay, AnimationOptions options,
                                    const std::function<void()>& animations,
                                    std::function<void(bool)> completion = {});

private:
    friend class ViewController;

    void insertSubviewAt(std::shared_ptr<View> view, size_t index);
    void detachFromSuperview();
    void boundsSizeChanged(Size oldSize);
    void resizeWithOldSuperviewSize(Size oldSize);
    void notifyWindowChange(Window* oldWindow, Window* newWindow);
    void notifyTintChange();
    Point pointToRoot(Point point) const;
    Point pointFromRoot(Point point) const;
    View* rootView() const;
    Window* windowPtr() const;
    bool containsFirstResponder() const;
    // Whether `view` and everything above it are shown, up to a root that front ends draw.
    static bool shownUpFrom(const View* view);
    // A change to this view's own hidden flag or alpha: seen when what is above it is shown.
    void visibilityChanged();

    View* m_superview{nullptr};
    ViewController* m_viewController{nullptr};
    std::vector<std::shared_ptr<View>> m_subviews;
    std::vector<std::shared_ptr<GestureRecognizer>> m_gestureRecognizers;

    Point m_center;
    Rect m_bounds;
    AffineTransform m_transform;
    AutoresizingMask m_autoresizingMask{AutoresizingMask::None};
    bool m_autoresizesSubviews{true};

    Color m_backgroundColor;
    double m_alpha{1};
    bool m_hidden{false};
    bool m_opaque{true};
    int m_tag{0};
    double m_cornerRadius{0};
    double m_borderWidth{0};
    Color m_borderColor{Color::black()};
    bool m_clipsToBounds{false};
    bool m_userInteractionEnabled{true};
    ContentMode m_contentMode{ContentMode::ScaleToFill};
    std::optional<Color> m_tintColor;

    bool m_needsLayout{true};
    std::string m_handle;
    std::string m_accessibilityLabel;
};

}  // namespace platform
