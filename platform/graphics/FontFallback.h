#pragma once

// Which faces draw what the system face cannot. Internal to the graphics library.

#include <fontconfig/fontconfig.h>

namespace platform::fontfallback {

// The faces, in order, that draw a character the system face lacks or leaves blank: Latin
// symbols (the degree signs, letters with tone marks) from fonts-dejavu-core, the rarer CJK
// blocks from fonts-hanazono (B: the supplementary plane's extensions; A: extension A and
// the compatibility ideographs). Both DejaVu Sans and HanaMinB fit inside the system face's
// ascent and descent, so a line with the degree sign or a name from the supplementary plane
// measures as tall as any other; HanaMinA is taller and comes last, for the blocks only it
// has.
inline constexpr const char* kFamilies[] = {"DejaVu Sans", "HanaMinB", "HanaMinA"};

// A fontconfig configuration of the machine's fonts that falls back through kFamilies and
// takes the system face's blank glyphs out of its coverage, so those characters fall back as
// missing ones do. Owned by the caller; null when fontconfig could not load one.
FcConfig* makeConfig();

}  // namespace platform::fontfallback
