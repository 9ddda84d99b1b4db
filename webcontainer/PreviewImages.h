#pragma once

#include <cstddef>

#include "platform/graphics/Geometry.h"
#include "webcontainer/CommandPictures.h"

// The preview's downloads: each gives up after kPreviewDownloadSeconds, and both together
// after kPreviewTotalSeconds, so that dead addresses cannot keep the page waiting for long.
inline constexpr double kPreviewDownloadSeconds = 10;
inline constexpr double kPreviewTotalSeconds = 20;
inline constexpr CommandPictures::Limits kPreviewLimits{kPreviewDownloadSeconds,
                                                        kPreviewTotalSeconds};
// The pager shows the first two addresses a page gives; later ones are not fetched.
inline constexpr std::size_t kPreviewImageCount = 2;

// The largest, in pixels, that a preview of `count` pictures keeps each of them: a page of the
// screen at the deepest zoom, or less when all of them together would take more than half of
// the decoded-picture budget.
platform::Size previewShownPixels(std::size_t count);
