#pragma once
// Tells the window manager that a page can be moved, minimised and closed but
// neither resized nor maximised. The toolkit announces resizing for every
// window with a title bar, whatever its fixed size; under X11 the page's
// Motif hints are written anew with what the page offers. Elsewhere nothing
// is done.

class QWidget;

// Call with the window's native window created and not yet mapped (from its
// show event): the window manager reads the hints when it takes the window on.
void announceFixedWindow(QWidget& window);
