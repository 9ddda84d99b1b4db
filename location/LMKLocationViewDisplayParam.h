#pragma once

#include <optional>
#include <string>

#include "platform/graphics/Color.h"

// Display options of the map's user-location marker, read only by the map view.
struct LMKLocationViewDisplayParam {
    double locationViewOffsetX = 0;
    double locationViewOffsetY = 0;
    bool isAccuracyCircleShow = true;
    bool isRotateAngleValid = true;
    std::string locationViewImgName;  // empty: the map view's own marker
    std::optional<platform::Color> accuracyCircleFillColor;
    std::optional<platform::Color> accuracyCircleStrokeColor;
};
