#pragma once
// Places a window that is about to be shown for the first time so that its
// frame centres on the framed page: under a window manager both get the same
// frame (title bar and border), which the new window does not have yet, so its
// client area goes where the page's frame says it will be. Kept on the page's screen.

class QWidget;

void centreOnFramedPage(QWidget& window, const QWidget& page);
