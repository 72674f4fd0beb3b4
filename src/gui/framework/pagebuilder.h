#pragma once
// Turns a page description into widgets at 15 twips to the pixel and hands
// the controls back by name, so each page class can bind typed members.

#include "gui/framework/pagedescription.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>
#include <QWidget>

// The controls of one built page, by their names.
class BuiltControls {
public:
    void add(const QString& name, QWidget* widget) { controls_.insert(name, widget); }
    QWidget* widget(const QString& name) const { return controls_.value(name); }
    // The control as its widget class; nullptr when missing or of another class.
    template <class T> T* get(const QString& name) const { return qobject_cast<T*>(widget(name)); }
    const QHash<QString, QWidget*>& all() const { return controls_; }

private:
    QHash<QString, QWidget*> controls_;
};

// Builds every control of `page` as children of `parent` (their containers
// first), sets places, texts, tooltips, look, visibility and the tab order.
BuiltControls buildPage(const PageDescription& page, QWidget* parent);

// The common look of every page.
QColor pageColour();      // RGB(188, 198, 140)
QColor workspaceColour(); // the application workspace's system colour
QFont pageFont();         // Liberation Sans 8.25 pt at 96 dpi, 11 pixels
QRect twipsToPixels(int left, int top, int width, int height);
