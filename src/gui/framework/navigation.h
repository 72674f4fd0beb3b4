#pragma once
// Moving between pages.

class QWidget;

// Wizard step change: the target takes the current page's outer top-left
// corner, is shown, then the current page is hidden.
void moveToPageInPlace(QWidget& current, QWidget& target);
// Main menu to step 1 or the viewer: show the target, then hide the current page.
void showThenHide(QWidget& current, QWidget& target);
// Viewer back to the main menu: hide the current page, then show the target.
void hideThenShow(QWidget& current, QWidget& target);
