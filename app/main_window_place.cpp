// See main_window_place.h.
#include "app/main_window_place.h"

namespace app {

namespace {

int IntoSpan(int start, int size, int spanStart, int spanSize) {
  if (start + size > spanStart + spanSize) start = spanStart + spanSize - size;
  if (start < spanStart) start = spanStart;
  return start;
}

}  // namespace

ui::Point FirstPosition(ui::Rect window, ui::Rect workArea) {
  if (workArea.IsEmpty()) return {window.left, window.top};
  return {IntoSpan(window.left, window.width, workArea.left, workArea.width),
          IntoSpan(window.top, window.height, workArea.top, workArea.height)};
}

}  // namespace app
