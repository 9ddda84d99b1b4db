#pragma once

#include <string>
#include <string_view>

// The HTML the news and notice detail pages show: a fixed head that styles tables and fits
// images to the screen, followed directly by the item's body, whose image paths have the
// school web site's root put in front (the page has no base address of its own).

// Every image path of the body, in img tags whose src attribute holds a quoted value, with the
// site root put right before the path, whatever spacing the attribute has. Addresses that
// already name a scheme ("http:", "data:") or start with "//" are left alone, as are empty
// values. Only the attribute named src counts, not names ending in it ("data-src"). A tag
// that occurs twice is rewritten at both places. Runs in time linear in the body's length.
std::string handleImgString(std::string_view body, std::string_view siteRoot);

// The head for a screen W points wide: images in paragraphs W / 375 x 360 points wide,
// printed with six decimals ("360.000000" at 375).
std::string detailPageHead(double screenWidth);

// The head followed by the body. Joined, never formatted: the body's own "%" signs stay.
std::string detailPageDocument(double screenWidth, std::string_view body);
