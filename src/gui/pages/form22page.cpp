// Viewer: a file name, the list of copyrights found in it and the whole text
// of the chosen one. The open-file dialog is a seam call, not a control.
#include "gui/pages/pagecatalogue.h"

namespace {
using K = ControlKind;
constexpr ControlDescription kControls[] = {
    {"Label3", K::Label, "Dateiname:", "", 120, 240, 1935, 255, 1, "", Opaque},
    {"Text1", K::TextField, "", "", 120, 480, 5775, 285, 2},
    {"Command1", K::PushButton, "Wählen...", "", 6120, 480, 1095, 255, 3},
    {"Command2", K::PushButton, "Copyrights einlesen", "", 120, 960, 1815, 375, 4},
    {"Line4", K::Line, "", "", 120, 1560, 7320, 1560, -1, "", CustomColour, kWorkspaceColour},
    {"Label4", K::Label, "Gefundene Copyrights (anklicken um gesamten Copyright Text anzuzeigen)",
     "", 120, 1680, 7215, 255, 5, "", Centred},
    {"List1", K::List, "", "", 240, 2040, 6975, 1620, 6},
    {"Line2", K::Line, "", "", 120, 3840, 7320, 3840, -1, "", CustomColour, kWorkspaceColour},
    {"Text3", K::MultiLineTextField, "", "", 240, 4080, 6975, 1815, 7},
    {"Command4", K::PushButton, "<< Zurück", "", 3600, 6000, 1695, 375, 9},
    {"Command3", K::PushButton, "Programm beenden", "", 5520, 6000, 1695, 375, 8},
    {"Image1", K::Picture, "corner", "", 7320, 6360, 150, 150},
};
constexpr PageDescription kPage{"Form22", 7455, 6495, 2625, 1860, kControls};
} // namespace

const PageDescription& form22Description() {
    return kPage;
}
