// Paints a window's model through a Painter: the background, then every shown
// control from back to front, each clipped by its ancestors. The same code
// runs on screen and under test, so what the tests see is what users see.
#pragma once

#include "ui/model/painter.h"
#include "ui/model/window.h"

namespace ui {

// Paints the part of the window inside `dirty` (client pixels).
void PaintWindow(const Window& window, Painter& painter, ImageCatalog& images, Rect dirty);

// The part of a picture box that a new frame of its picture changes: the
// picture's own rectangle at the box's top-left corner, cut to what of the
// box shows. Empty when a control, or one inside the box, is drawn over any
// of it: a frame is then more than its picture.
Rect FrameArea(const Window& window, ControlId id, Size pictureSize);

// Rough width of a single line of text, used where a face must leave room for
// a caption (a group box's frame line stops before its caption).
int EstimateTextWidth(std::string_view utf8, const Font& font);

}  // namespace ui
