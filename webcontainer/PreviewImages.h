#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Image.h"

// The images of a preview, downloaded one after another on the calling thread, in URL order.
// A URL that fails, answers outside 200-299 or does not hold a PNG or JPEG gives no image.
// Each download gives up after `timeoutSeconds`, and all of them together after
// `totalSeconds`, so a list of dead addresses cannot hold the screen for long.
inline constexpr double kPreviewDownloadSeconds = 10;
inline constexpr double kPreviewTotalSeconds = 20;

std::vector<platform::Image> loadPreviewImages(const std::vector<std::string>& urls,
                                               double timeoutSeconds = kPreviewDownloadSeconds,
                                               double totalSeconds = kPreviewTotalSeconds);
