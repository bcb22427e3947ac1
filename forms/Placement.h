#pragma once
// Where the forms' windows open: centred on a screen as the user sees them,
// with the window manager's frame, from the first time they are on the screen.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace vesk {

// The top-left corner of the client area of a window of the given client size
// and frame (left, top, right, bottom) that centres the whole, frame included,
// on the area; half a pixel left over goes to the right and the bottom. A
// window wider or taller than the area keeps the left or the top edge of its
// frame, with the title bar, on the area instead.
QPoint CentredClientPosition(QSize client, const QMarginsF& frame, const QRect& area);

// Places a top-level window of a known size, before it is shown (beforehand or
// from its showEvent), centred on a screen (its own when none is given). The
// frame counts as the window manager says it will put it around the window, so
// the window is mapped in its place the first time. Should the frame it gets
// turn out otherwise, the window is centred again with that frame, unless it
// has been moved from where it was put. Later showings are not followed.
void CentreOnScreen(QWidget* window, QScreen* screen = nullptr);

}  // namespace vesk
