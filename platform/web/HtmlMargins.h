#pragma once

#include <litehtml.h>

namespace platform::htmlelement {

// The top margin a block takes from its first child where the two collapse, as the engine
// works it out once the block is laid out: the child's own, with what it takes from its own
// first child, when the child is a block in the flow whose top margin collapses; 0 when the
// block's content starts with a line (text, an inline box, a ::before) or nothing.
// `contentWidth` is the block's content width, against which percentages are read.
//
// The engine collapses a block's top margin with the margin above it before it lays the block
// out, reading the block's margin from its style alone: the margin a block takes from its first
// child (a <div> or <form> whose first child is a <p>) is known only after, too late to
// collapse, and stood above the child's as well. Taken into the block's margin as soon as its
// style's is, it collapses as in a browser.
int firstChildTopMargin(litehtml::element& block, int contentWidth);

}  // namespace platform::htmlelement
