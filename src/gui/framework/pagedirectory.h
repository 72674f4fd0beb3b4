#pragma once
// The pages by their form names: each is created on first use through the
// maker the program registered for it, then only shown and hidden until the
// program ends. Pages find each other here without knowing how they are made.

class Page;
class QWidget;

using PageMaker = Page* (*)();

// Registers how the page `formName` is made; the order of registration is the
// order pages are looked at and destroyed in.
void registerPageMaker(const char* formName, PageMaker make);
// The page, created on first use (then its load step runs, which may touch
// other pages and this one through the directory).
Page& pageNamed(const char* formName);
template <class T> T& pageNamed(const char* formName) {
    return static_cast<T&>(pageNamed(formName));
}

// Whether a page has been created, by its form name ("Form11" ...).
bool pageCreated(const char* formName);
// Destroys every page: at program end, and between tests.
void destroyPages();
// The page the user sees: the active one, else the one shown (nullptr when
// none is); a message box opens centred on it.
QWidget* pageOnScreen();
