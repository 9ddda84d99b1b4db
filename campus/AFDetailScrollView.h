#pragma once

#include <memory>
#include <string>

#include "platform/ui/ScrollView.h"

namespace platform {
class Label;
}
struct AcademicForum;

// The card of the lecture detail page: seven captioned rows, one under the other, each value
// on as many lines as it needs, separated by lines. The card works out its own content height
// (`size`) as it builds its rows; the page sizes it and its scrolling area by that.
class AFDetailScrollView : public platform::ScrollView {
public:
    static constexpr double kValueFontSize = 15;

    AFDetailScrollView(const platform::Rect& frame, const AcademicForum& academicForum);
    ~AFDetailScrollView() override;

    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<platform::Label>& unitLabel() const { return m_unitLabel; }
    const std::shared_ptr<platform::Label>& placeLabel() const { return m_placeLabel; }
    const std::shared_ptr<platform::Label>& lecturerLabel() const { return m_lecturerLabel; }
    const std::shared_ptr<platform::Label>& introduceLabel() const { return m_introduceLabel; }
    const std::shared_ptr<platform::Label>& contentLabel() const { return m_contentLabel; }

    // The content height in whole points: the seven values' heights and the rows' spacing.
    int size() const { return m_size; }

    // The width the values wrap at.
    static double valueWidth();

private:
    void createUI(const AcademicForum& academicForum);
    // One row at `top`; returns the bottom of its value label.
    double addRow(double top, const char* caption, double captionWidth,
                  std::shared_ptr<platform::Label>& valueLabel, const std::string& value);

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_timeLabel;
    std::shared_ptr<platform::Label> m_unitLabel;
    std::shared_ptr<platform::Label> m_placeLabel;
    std::shared_ptr<platform::Label> m_lecturerLabel;
    std::shared_ptr<platform::Label> m_introduceLabel;
    std::shared_ptr<platform::Label> m_contentLabel;
    int m_size{0};
};
