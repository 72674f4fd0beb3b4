#include "gui/framework/pagedirectory.h"

#include "gui/framework/page.h"

#include <cstring>
#include <vector>

namespace {
struct Entry {
    const char* formName;
    PageMaker make;
    Page* page = nullptr;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> all;
    return all;
}

Entry* entryNamed(const char* formName) {
    for (Entry& entry : entries())
        if (std::strcmp(entry.formName, formName) == 0)
            return &entry;
    return nullptr;
}
} // namespace

void registerPageMaker(const char* formName, PageMaker make) {
    if (Entry* known = entryNamed(formName))
        known->make = make;
    else
        entries().push_back({formName, make});
}

Page& pageNamed(const char* formName) {
    Entry* entry = entryNamed(formName);
    Q_ASSERT_X(entry, formName, "page without a registered maker");
    if (!entry->page) {
        entry->page = entry->make();
        entry->page->Form_Load();
    }
    return *entry->page;
}

bool pageCreated(const char* formName) {
    const Entry* entry = entryNamed(formName);
    return entry && entry->page;
}

void destroyPages() {
    for (Entry& entry : entries()) {
        delete entry.page;
        entry.page = nullptr;
    }
}

QWidget* pageOnScreen() {
    QWidget* shown = nullptr;
    for (const Entry& entry : entries()) {
        QWidget* page = entry.page;
        if (!page || !page->isVisible() || page->isMinimized())
            continue;
        if (page->isActiveWindow())
            return page;
        if (!shown)
            shown = page;
    }
    return shown;
}
