// Step 1: drives, folders and files, the job list grid, and the two hidden
// work surfaces of the visible-notice writer.
#include "gui/pages/pagecatalogue.h"

namespace {
using K = ControlKind;
constexpr ControlDescription kControls[] = {
    {"Label3", K::Label, "Schritt 1 von 3 - Wählen der Dateien", "", 120, 45, 3495, 255, 1, "",
     Underlined},
    {"Label4", K::Label,
     "Bitte wählen Sie die Dateien auf die Sie ein Copyright setzen möchten aus, bitte beachten "
     "Sie das Stampora nur für Grafik Dateien ausgelegt ist (auch wenn es mit manch anderen For- "
     "maten funktioniert gibt es dafür keine Garantie).",
     "", 120, 285, 7215, 615, 2},
    {"Drive1", K::DriveList, "", "", 120, 960, 2655, 315, 3},
    {"Dir1", K::FolderList, "", "", 120, 1425, 2655, 2340, 4},
    {"File1", K::FileList, "", "", 2880, 960, 4440, 2430, 5},
    {"Label5", K::Label, "Filter:", "", 2880, 3480, 855, 255, 13},
    {"Text1", K::TextField, "*.jp*g;*.gif;*.png", "", 3840, 3480, 3495, 285, 14},
    {"Command1", K::PushButton, "+", "Fügt die in der Dateiliste gewählte Datei(en) ein.", 120,
     3960, 375, 375, 7},
    {"Command2", K::PushButton, "++", "Fügt alle Dateien des oben gewählten Ordners ein", 600, 3960,
     375, 375, 8},
    {"Command3", K::PushButton, "-",
     "Entfernt den gewählten Eintrag aus der Liste der zu verschlüsselnden Dateien.", 1320, 3960,
     375, 375, 9},
    {"Command4", K::PushButton, "--",
     "Entfernt alle Einträge aus der Liste der zu verschlüsselnden Dateien.", 1800, 3960, 375, 375,
     10},
    {"Image5", K::Picture, "banner", "", 6000, 3870, 1320, 465},
    {"Flex", K::Grid, "", "", 120, 4440, 7215, 1455, 6},
    {"Command6", K::PushButton, "Hilfe", "", 120, 6120, 1215, 255, 12},
    {"Command5", K::PushButton, ">> Schritt 2", "", 5880, 6120, 1335, 255, 11},
    {"Image1", K::Picture, "corner", "", 7305, 6360, 150, 150},
    {"Image2", K::Picture, "", "", 720, 1920, 4245, 3180, -1, "", Hidden},
    {"I2", K::DrawingSurface, "", "", 1200, 840, 4575, 3495, 15, "", Hidden},
};
constexpr PageDescription kPage{"Form11", 7440, 6495, 2625, 1860, kControls};
} // namespace

const PageDescription& form11Description() {
    return kPage;
}
