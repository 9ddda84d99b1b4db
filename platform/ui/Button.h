#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"

namespace platform {

class ImageView;
class Label;

enum class ButtonType { Custom, System };

// The phone's UIButton: a title, an image and a background image per control state (a
// state without its own falls back to Normal), laid out side by side (image first) inside
// the content edge insets and shifted by the title and image edge insets. A tap is
// TouchUpInside.
class Button : public Control {
public:
    explicit Button(ButtonType type = ButtonType::Custom);
    explicit Button(const Rect& frame, ButtonType type = ButtonType::Custom);

    ButtonType buttonType() const { return m_type; }

    void setTitle(std::string title, ControlState state = ControlState::Normal);
    std::string title(ControlState state = ControlState::Normal) const;
    std::string currentTitle() const { return title(state()); }

    void setTitleColor(const Color& color, ControlState state = ControlState::Normal);
    Color titleColor(ControlState state = ControlState::Normal) const;
    Color currentTitleColor() const { return titleColor(state()); }

    void setImage(const Image& image, ControlState state = ControlState::Normal);
    Image image(ControlState state = ControlState::Normal) const;
    Image currentImage() const { return image(state()); }

    void setBackgroundImage(const Image& image, ControlState state = ControlState::Normal);
    Image backgroundImage(ControlState state = ControlState::Normal) const;
    Image currentBackgroundImage() const { return backgroundImage(state()); }

    // The views the button shows its title and image in. Set the font on titleLabel().
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ImageView>& imageView() const { return m_imageView; }

    const EdgeInsets& contentEdgeInsets() const { return m_contentEdgeInsets; }
    void setContentEdgeInsets(const EdgeInsets& insets);
    const EdgeInsets& titleEdgeInsets() const { return m_titleEdgeInsets; }
    void setTitleEdgeInsets(const EdgeInsets& insets);
    const EdgeInsets& imageEdgeInsets() const { return m_imageEdgeInsets; }
    void setImageEdgeInsets(const EdgeInsets& insets);

    // Room around the bounds in which touches still land on the button (a negative value
    // takes room away on that side). None: the bounds alone, as for any view.
    const std::optional<EdgeInsets>& touchAreaOutsets() const { return m_touchAreaOutsets; }
    void setTouchAreaOutsets(std::optional<EdgeInsets> outsets) { m_touchAreaOutsets = outsets; }
    // The parts of its bounds that take touches, when not all of it does: a page's link whose
    // words run over two lines takes the taps on its words, and not those on the links beside
    // them within its frame. None: its bounds (and outsets), as for any button.
    const std::vector<Rect>& touchRects() const { return m_touchRects; }
    void setTouchRects(std::vector<Rect> rects) { m_touchRects = std::move(rects); }
    bool pointInside(Point point) const override;

    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;
    void tintColorDidChange() override { updateContent(); }

protected:
    void stateDidChange() override { updateContent(); }

private:
    void build();
    void updateContent();
    Size titleSize() const;
    Size imageSize() const;

    ButtonType m_type{ButtonType::Custom};
    std::map<ControlState, std::string> m_titles;
    std::map<ControlState, Color> m_titleColors;
    std::map<ControlState, Image> m_images;
    std::map<ControlState, Image> m_backgroundImages;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<ImageView> m_imageView;
    EdgeInsets m_contentEdgeInsets;
    EdgeInsets m_titleEdgeInsets;
    EdgeInsets m_imageEdgeInsets;
    std::optional<EdgeInsets> m_touchAreaOutsets;
    std::vector<Rect> m_touchRects;
    // The background image draw() shows, kept to tell when a change of state changes it.
    Image m_shownBackground;
};

}  // namespace platform
