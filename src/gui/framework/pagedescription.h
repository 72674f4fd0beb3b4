#pragma once
// The static description of a page: every control with its kind, text, place in
// twips, tab index, container and look. One builder turns it into widgets.

#include <cstdint>
#include <span>

enum class ControlKind {
    PushButton,
    Label,
    TextField,
    MultiLineTextField, // with a vertical scroll bar
    OptionButton,
    CheckBox,
    Container,
    Picture,        // text: name of the picture (see pagePicture)
    DrawingSurface, // off-screen work surface
    Line,           // rectangle holds the two end points
    Rectangle,      // 1-pixel outline
    List,
    DriveList,
    FolderList,
    FileList,
    Grid,
    ProgressBar,
};

// Look flags, combined with |.
enum LookFlag : unsigned {
    Plain = 0,
    Underlined = 1u << 0,
    Bold = 1u << 1,
    Centred = 1u << 2,
    RightAligned = 1u << 3,
    Opaque = 1u << 4,      // label painted in its colour (default: the page colour)
    Hidden = 1u << 5,      // never shown to the user
    Checked = 1u << 6,     // option button or check box selected at design
    CustomColour = 1u << 7 // `colour` is used (lines, shapes, backgrounds)
};

// Colours as 0x00RRGGBB; `kWorkspaceColour` stands for the system colour of the
// application workspace.
inline constexpr std::uint32_t kWorkspaceColour = 0xFF000000u;

struct ControlDescription {
    const char* name;
    ControlKind kind;
    const char* text = "";
    const char* tooltip = "";
    // Left, top, width, height in twips, from the container's top-left corner;
    // for a line: x1, y1, x2, y2.
    int left = 0, top = 0, width = 0, height = 0;
    int tabIndex = -1;          // -1: the control has none
    const char* container = ""; // empty: the page itself
    unsigned look = Plain;      // LookFlag bits
    std::uint32_t colour = 0;   // used with CustomColour
};

struct PageDescription {
    const char* name;              // Form1, Form11 ...
    int clientWidth, clientHeight; // twips
    int originLeft, originTop;     // designed client-area origin on screen, twips
    std::span<const ControlDescription> controls;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
