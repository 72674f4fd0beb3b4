#include "gui/wizard/wizardpages.h"

#include "gui/framework/pagedirectory.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"

Form11& form11() {
    return pageNamed<Form11>("Form11");
}
Form2& form2() {
    return pageNamed<Form2>("Form2");
}
Form3& form3() {
    return pageNamed<Form3>("Form3");
}
