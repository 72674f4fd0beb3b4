// Step 2: copyright text or text file, and the visible-notice options.
#include "gui/pages/pagecatalogue.h"

namespace {
using K = ControlKind;
constexpr ControlDescription kControls[] = {
    {"Label3", K::Label, "Schritt 2 von 3 - Setzen des Copyright Textes", "", 120, 165, 3495, 255,
     1, "", Underlined},
    {"Label4", K::Label,
     "Bitte wählen Sie nun einen Copyright Text oder eine Copyright Datei der / die den Bildern "
     "eingebrannt werden soll. Damit klar ist das es sich wirklich um ihr Copyright handelt sollte "
     "Ihr voller Name im Copyright Text enthalten sein.",
     "", 120, 435, 7215, 615, 2},
    {"Option1", K::OptionButton, "Copyright Text", "", 120, 1200, 7215, 255, 5, "", Checked},
    // the default copyright text; the load step of step 1 replaces it
    {"Text1", K::MultiLineTextField,
     "Diese Datei ist urheberrechtlich durch [Ihr_Name, E-Mail, falls gewünscht Anschrift] \n"
     "geschützt, jegliche widerrechtliche Nutzung ist nicht gestattet. \n \n"
     "Falls Sie die Datei nutzen möchten kontaktieren Sie den rechtmäßigen Besitzer und \n"
     "erwerben Sie eine Lizenz.\n",
     "", 360, 1560, 6855, 1575, 6},
    {"Line2", K::Line, "", "", 120, 3360, 7320, 3360},
    {"Option2", K::OptionButton, "Copyright Datei (normale Text-Datei):", "", 120, 3480, 7095, 255,
     7},
    {"Text3", K::TextField, "", "", 360, 3840, 6855, 285, 8},
    {"Line3", K::Line, "", "", 120, 4200, 7200, 4200},
    {"Check1", K::CheckBox, "Text in die Bilder einbinden (Nur bei JPEG Dateien [*.jpg, *.jpeg])",
     "", 120, 4440, 7095, 255, 10},
    {"Text4", K::TextField, "Copyright (C) 2002 <Ihr Name>", "", 360, 4800, 6855, 285, 11},
    {"Frame1", K::Container, "", "", 360, 5280, 3255, 495, 12},
    {"Option3", K::OptionButton, "Bilder (unten) vergrößern", "", 0, 0, 4815, 195, 14, "Frame1",
     Checked},
    {"Option4", K::OptionButton, "Text direkt in die Bilder schreiben", "", 0, 240, 4815, 195, 13,
     "Frame1"},
    {"Frame2", K::Container, "", "", 3600, 5280, 3615, 495, 15, "", Hidden},
    {"Option5", K::OptionButton, "Bearbeitete Bilder als \"Bild-cop.jpg\" speichern", "", 0, 0,
     4815, 195, 16, "Frame2"},
    {"Option6", K::OptionButton, "Alte Bilder überschreiben", "", 0, 240, 4815, 195, 17, "Frame2",
     Checked},
    {"Command6", K::PushButton, "Hilfe", "", 120, 6120, 1215, 255, 4},
    {"Command1", K::PushButton, "<< Schritt 1", "", 4320, 6120, 1335, 255, 9},
    {"Command5", K::PushButton, ">> Schritt 3", "", 5880, 6120, 1335, 255, 3},
    {"Image1", K::Picture, "corner", "", 7305, 6360, 150, 150},
};
constexpr PageDescription kPage{"Form2", 7440, 6495, 2625, 1860, kControls};
} // namespace

const PageDescription& form2Description() {
    return kPage;
}
