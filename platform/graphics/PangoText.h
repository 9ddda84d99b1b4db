#pragma once

// The one Pango setup shared by measuring and drawing, so that a label drawn in a rect
// breaks its lines where the measurement said it would. Internal to the graphics library;
// every call must hold mutex().

#include <pango/pangocairo.h>

#include <memory>
#include <mutex>
#include <string>

#include "platform/graphics/Font.h"
#include "platform/graphics/TextCut.h"
#include "platform/graphics/TextRun.h"

namespace platform::pangotext {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, ObjectUnref>;
using ContextPtr = std::unique_ptr<PangoContext, ObjectUnref>;

// Guards every Pango and fontconfig call: one font map serves all threads.
std::mutex& mutex();

// The measuring context: 72 dpi (1 Pango unit = 1 point) with unhinted metrics, so sizes are
// fractional and do not depend on any device scale.
PangoContext* measuringContext();

// A context for drawing into `cr`: same font map and settings, plus the target's transform.
ContextPtr drawingContext(cairo_t* cr);

// Font sizes outside this range are not drawable; text in them measures (0, 0).
bool usableFont(const Font& font);

// A layout of the text (cut at the first NUL, then to what `box` can show (TextCut.h), invalid
// UTF-8 replaced) with the font, wrapping by word, then by character, within the box's width
// (0 = no limit). The box's height and line limit only bound the text laid out.
LayoutPtr makeLayout(PangoContext* context, const std::string& text, const Font& font, TextBox box);

// Draws the layout at the current point. Glyphs larger on the device than
// kLargestGlyphImage pixels are filled as outlines: drawn as images they would be kept in
// cairo's and pixman's glyph caches, which are bounded by how many glyphs they hold, not by
// their size, so that a page of a few thousand characters half a screen high would keep
// gigabytes there. `size`: the layout's font size in user space.
inline constexpr double kLargestGlyphImage = 48;
void showLayout(cairo_t* cr, PangoLayout* layout, double size);

// A run of text on one line, never wrapped (TextRun.h).
bool usableRunFont(const RunFont& font);
LayoutPtr makeRunLayout(PangoContext* context, std::string_view text, const RunFont& font);

}  // namespace platform::pangotext
