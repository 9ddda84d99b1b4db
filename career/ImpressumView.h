#pragma once

#include <memory>

#include "platform/foundation/Json.h"
#include "platform/ui/View.h"

namespace platform {
class Label;
}

// The employer block of the recruitment detail: six captioned rows (industry, kind of
// employer, kind of organisation, address, contact person, phone) read from the detail reply,
// separated by thin lines. The address takes as many lines as it needs, and the block works
// out the height it needs from it (`size`).
class ImpressumView : public platform::View {
public:
    static constexpr double kValueFontSize = 15;
    // What the address row shows for the service's text "null".
    static constexpr const char* kNoAddress = "暂无";

    ImpressumView(const platform::Rect& frame, const platform::Json& allDetailDic);
    ~ImpressumView() override;

    // The height the content needs, in whole points.
    int size() const { return m_size; }
    // The value labels, top to bottom.
    const std::shared_ptr<platform::Label>& valueLabel(int row) const;

private:
    void createUI(const platform::Json& detail);

    std::shared_ptr<platform::Label> m_valueLabels[6];
    int m_size{0};
};
