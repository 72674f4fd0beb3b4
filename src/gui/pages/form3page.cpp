// Step 3: output folder box, save-as-default box, status box and the start button.
#include "gui/pages/pagecatalogue.h"

namespace {
using K = ControlKind;
constexpr unsigned kBoxColour = 0xA1C6A2; // RGB(161, 198, 162)
constexpr ControlDescription kControls[] = {
    {"Label3", K::Label, "Schritt 3 von 3 - Copyright hinzufügen", "", 120, 165, 3495, 255, 1, "",
     Underlined},
    {"Label4", K::Label,
     "Klicken Sie nun unten auf \"Copyright setzen\" um den Dateien das Copyright einzubrennen.",
     "", 120, 435, 7215, 495, 2},
    {"Frame1", K::Container, "", "", 240, 960, 6975, 1215, 6, "", Opaque | CustomColour,
     kBoxColour},
    {"Shape2", K::Rectangle, "", "", 0, 0, 6975, 1215, -1, "Frame1"},
    {"Image2", K::Picture, "warning", "", 165, 240, 480, 480, -1, "Frame1"},
    {"Label5", K::Label,
     "Einmal gesetzte Copyrights können vom Programm nicht wieder entfernt werden! Bitte gehen Sie "
     "sicher das Sie nie die Original Datei verlieren, die vom Programm er- zeugten Dateien werden "
     "in folgendem Verzeichnis gespeichert:",
     "", 840, 120, 6015, 735, 7, "Frame1"},
    {"Text1", K::TextField, "", "", 840, 800, 6015, 300, 25, "Frame1", Opaque | CustomColour,
     kBoxColour},
    {"Check1", K::CheckBox, "Aktuelle Optionen als Standard speichern", "", 240, 2280, 6975, 255,
     26, "", Checked},
    {"Frame2", K::Container, "", "", 290, 3435, 6735, 2295, 15, "", Opaque | CustomColour,
     kBoxColour},
    {"Shape4", K::Rectangle, "", "", 0, 0, 6735, 2295, -1, "Frame2"},
    {"Label6", K::Label, "Status des Vorgangs", "", 0, 30, 7095, 255, 24, "Frame2", Bold | Centred},
    {"Label7", K::Label, "Setze Copyright:", "", 120, 360, 6855, 255, 23, "Frame2"},
    {"Label13", K::Label, "....", "", 1560, 360, 5055, 255, 17, "Frame2"},
    {"Label8", K::Label, "Dateien übrig:", "", 120, 720, 1095, 255, 22, "Frame2"},
    {"Label11", K::Label, "....", "", 1680, 720, 615, 255, 19, "Frame2", RightAligned},
    {"Label9", K::Label, "Dateien bearbeitet:", "", 120, 960, 1455, 255, 21, "Frame2"},
    {"Label12", K::Label, "....", "", 1680, 960, 615, 255, 18, "Frame2", RightAligned},
    {"Image3", K::Picture, "struckc", "", 2520, 1200, 480, 480, -1, "Frame2"},
    {"Line2", K::Line, "", "", 3360, 1440, 3720, 1440, -1, "Frame2"},
    {"Line3", K::Line, "", "", 3600, 1320, 3720, 1440, -1, "Frame2"},
    {"Line4", K::Line, "", "", 3600, 1560, 3720, 1440, -1, "Frame2"},
    {"Image4", K::Picture, "redc", "", 4080, 1200, 480, 480, -1, "Frame2"},
    {"Stat", K::ProgressBar, "", "", 120, 1800, 6495, 135, 16, "Frame2"},
    {"Label10", K::Label,
     "... bitte warten, der Vorgang kann mehrere Minuten in Anspruch nehmen ...", "", 0, 2040, 7095,
     255, 20, "Frame2", Centred},
    {"Command6", K::PushButton, "Hilfe", "", 120, 6120, 1215, 255, 4},
    {"Command1", K::PushButton, "<< Schritt 2", "", 4440, 6120, 1215, 255, 5},
    {"Command5", K::PushButton, "Copyright setzen", "", 5880, 6120, 1335, 255, 3},
    {"Image1", K::Picture, "corner", "", 7305, 6360, 150, 150},
};
constexpr PageDescription kPage{"Form3", 7440, 6495, 2625, 1860, kControls};
} // namespace

const PageDescription& form3Description() {
    return kPage;
}
