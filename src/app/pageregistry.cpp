#include "app/pageregistry.h"

#include "app/form1.h"
#include "job/form11.h"
#include "job/form2.h"
#include "stamping/form3.h"
#include "viewer/form22.h"

#include <cstring>

namespace {
struct Pages {
    Form1* form1 = nullptr;
    Form11* form11 = nullptr;
    Form2* form2 = nullptr;
    Form3* form3 = nullptr;
    Form22* form22 = nullptr;
};

Pages& pages() {
    static Pages all;
    return all;
}

// Creates the page on first use; the load step runs once the page is known,
// so it may touch other pages (and this one) through the registry.
template <class T> T& page(T*& slot) {
    if (!slot) {
        slot = new T;
        slot->Form_Load();
    }
    return *slot;
}

template <class T> void destroy(T*& slot) {
    delete slot;
    slot = nullptr;
}
} // namespace

Form1& form1() {
    return page(pages().form1);
}
Form11& form11() {
    return page(pages().form11);
}
Form2& form2() {
    return page(pages().form2);
}
Form3& form3() {
    return page(pages().form3);
}
Form22& form22() {
    return page(pages().form22);
}

bool pageCreated(const char* formName) {
    const Pages& all = pages();
    const struct {
        const char* name;
        const void* page;
    } known[] = {{"Form1", all.form1},
                 {"Form11", all.form11},
                 {"Form2", all.form2},
                 {"Form3", all.form3},
                 {"Form22", all.form22}};
    for (const auto& entry : known)
        if (std::strcmp(entry.name, formName) == 0)
            return entry.page != nullptr;
    return false;
}

void destroyPages() {
    Pages& all = pages();
    destroy(all.form1);
    destroy(all.form11);
    destroy(all.form2);
    destroy(all.form3);
    destroy(all.form22);
}

QWidget* pageOnScreen() {
    const Pages& all = pages();
    QWidget* const created[] = {all.form1, all.form11, all.form2, all.form3, all.form22};
    QWidget* shown = nullptr;
    for (QWidget* page : created) {
        if (!page || !page->isVisible() || page->isMinimized())
            continue;
        if (page->isActiveWindow())
            return page;
        if (!shown)
            shown = page;
    }
    return shown;
}
