#pragma once
// The common window of every page: caption, icon, fixed client size, designed
// position, page colour and font; closing it ends the whole program.

#include "gui/framework/pagebuilder.h"
#include "gui/framework/pagedescription.h"

#include <QStringList>
#include <QWidget>

class Page : public QWidget {
    Q_OBJECT
public:
    explicit Page(const PageDescription& description);
    const PageDescription& description() const { return description_; }
    const BuiltControls& controls() const { return controls_; }
    // The names a page class asked for that its description does not hold with
    // that kind; empty for a sound page (the check holds in every build, also
    // where Q_ASSERT is compiled out).
    const QStringList& unboundControls() const { return unbound_; }
    // The page's load step, run once right after the page is created.
    virtual void Form_Load() {}

protected:
    // Whatever asks a page to close (close box, Alt+F4, logging off) ends the program.
    void closeEvent(QCloseEvent* event) override;
    // A window system may change the size all the same (one without a window
    // manager does not hold to the fixed size): the page sets it back.
    void resizeEvent(QResizeEvent* event) override;
    // The window manager is told the page is neither resized nor maximised.
    void showEvent(QShowEvent* event) override;
    // A window manager may make any window full screen or maximised when asked
    // from outside (a pager, a key of its own): the page goes back to its size
    // and place.
    void changeEvent(QEvent* event) override;
    template <class T> T* bind(const char* name) const {
        T* control = controls_.get<T>(QString::fromLatin1(name));
        if (!control)
            unbound_.append(QString::fromLatin1(name));
        Q_ASSERT_X(control, name, "control missing from the page description or of another kind");
        return control;
    }

private:
    const PageDescription& description_;
    QSize designedSize_;
    BuiltControls controls_;
    mutable QStringList unbound_;
};
