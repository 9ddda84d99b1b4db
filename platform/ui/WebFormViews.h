#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/TextRun.h"
#include "platform/webkit/PageOutline.h"

namespace platform {

class View;

// What a form control's view reports to the web view that shows it, each with the control's
// node (PageItem::node).
struct PageFieldActions {
    // A text field or text area began or ended editing.
    std::function<void(int node)> focused;
    std::function<void(int node)> blurred;
    // The user changed a field's text; what it holds now.
    std::function<void(int node, const std::string& text)> edited;
    // The return key in a one-line field.
    std::function<void(int node)> returned;
    // A tap on a checkbox, radio button, select, button or label.
    std::function<void(int node)> tapped;
    // A read-only field was tapped or focused: it takes no editing, and the field being
    // edited ends its own, as a tap anywhere else in the page ends it.
    std::function<void(int node)> refused;
    // The keyboard's form bar: whether there is a field to edit before (forward false) or
    // after the field, and moving the editing there.
    std::function<bool(int node, bool forward)> canStep;
    std::function<void(int node, bool forward)> stepped;
};

// The view standing over a form control of the page (an item of kind Field or Label) where the
// layout drew it, and carrying what the outline says and what a tap there does. The layout
// paints the control's box, and a box's or button's value and state. Text fields and text
// areas are the platform's own inputs, standing over the box's content: they draw their text
// (or placeholder, or dots) and caret from one line layout, scrolled or wrapped within the
// box, so that no text typed changes the box; focusing one raises the keyboard and typing goes
// through the platform's editing session. Their keyboard carries the form bar
// (KeyboardFormBar), which the actions answer.
std::shared_ptr<View> makeFormControlView(const PageItem& item, PageFieldActions actions);

// Brings a view made by makeFormControlView for the same node up to the item's state (a
// script's change, or the page laid out again); a field being edited keeps its text unless
// the page's value differs from it. False when the view is not one for this item's kind, and
// must be made anew.
bool updateFormControlView(View& view, const PageItem& item);

// Draws the text of a field's view in the font and colour the page's styles give the field
// (HtmlLayout::itemTextLook); other controls' views draw no text.
void styleFormControlView(View& view, const RunFont& font, const Color& color);

// Whether the view is one of these, being edited now.
bool isEditingFormControl(const View& view);
// Whether the view is a text field or text area that may be edited now (neither disabled nor
// read-only): where the form bar's steps may go.
bool isEditableFormControl(const View& view);
// Begins editing the view's field (a label tapped for it); false for other controls.
bool focusFormControl(View& view);

}  // namespace platform
