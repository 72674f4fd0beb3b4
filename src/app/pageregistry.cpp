#include "app/pageregistry.h"

#include "app/form1.h"
#include "gui/framework/pagedirectory.h"
#include "gui/viewer/form22.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"

namespace {
template <class T> Page* make() {
    return new T;
}
} // namespace

void registerPages() {
    registerPageMaker("Form1", make<Form1>);
    registerPageMaker("Form11", make<Form11>);
    registerPageMaker("Form2", make<Form2>);
    registerPageMaker("Form3", make<Form3>);
    registerPageMaker("Form22", make<Form22>);
}
