// Main menu: three buttons and the corner glyph.
#include "gui/pages/pagecatalogue.h"

namespace {
using K = ControlKind;
constexpr ControlDescription kControls[] = {
    {"Command1", K::PushButton, "Dateien mit einem Copyright versetzen", "", 240, 120, 4335, 375,
     1},
    {"Command2", K::PushButton, "Copyright von Dateien anzeigen", "", 240, 600, 4335, 375, 2},
    {"Command3", K::PushButton, "Das Programm beenden", "", 240, 1080, 4335, 375, 3},
    {"Image1", K::Picture, "corner", "", 4605, 1680, 150, 150},
};
constexpr PageDescription kPage{"Form1", 4740, 1830, 3255, 2295, kControls};
} // namespace

const PageDescription& form1Description() {
    return kPage;
}
