#include "gui/framework/pagebuilder.h"

#include "gui/framework/linewidget.h"
#include "gui/framework/pagepictures.h"
#include "gui/framework/picturelabel.h"
#include "gui/framework/rectanglewidget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <vector>

QColor pageColour() {
    return QColor(188, 198, 140);
}

QColor workspaceColour() {
    return QColor(128, 128, 128);
}

QFont pageFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11); // 8.25 pt at 96 dpi, whatever dpi the screen reports
    return font;
}

QRect twipsToPixels(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

namespace {

QColor colourOf(const ControlDescription& c, const QColor& fallback) {
    if (!(c.look & CustomColour))
        return fallback;
    if (c.colour == kWorkspaceColour)
        return workspaceColour();
    return QColor::fromRgb(c.colour);
}

// Push buttons in the graphical style: the face in the page colour, a thin
// raised frame so they still read as buttons.
QString buttonStyle() {
    return QStringLiteral("QPushButton { background-color: %1; color: black; padding: 0px;"
                          " border: 1px solid; border-color: #f4f7e6 #4e5333 #4e5333 #f4f7e6; }"
                          "QPushButton:focus { border-color: #20220f; }"
                          "QPushButton:pressed { border-color: #4e5333 #f4f7e6 #f4f7e6 #4e5333;"
                          " background-color: rgb(176, 186, 128); }"
                          "QPushButton:disabled { color: #6b6f55; }")
        .arg(pageColour().name());
}

void paintBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// Text fields, lists and the grid in the page colour.
void paintFields(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::AlternateBase, colour);
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
}

QFont fontOf(const ControlDescription& c) {
    QFont font = pageFont();
    font.setUnderline(c.look & Underlined);
    font.setBold(c.look & Bold);
    return font;
}

Qt::Alignment alignmentOf(const ControlDescription& c) {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (c.look & Centred)
        horizontal = Qt::AlignHCenter;
    else if (c.look & RightAligned)
        horizontal = Qt::AlignRight;
    return horizontal | Qt::AlignTop;
}

QWidget* makeLabel(const ControlDescription& c, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(c.text), parent);
    label->setWordWrap(true);
    label->setAlignment(alignmentOf(c));
    label->setTextFormat(Qt::PlainText);
    if (c.look & Opaque) {
        label->setAutoFillBackground(true);
        paintBackground(label, QPalette::Window, colourOf(c, pageColour()));
    }
    return label;
}

QWidget* makeControl(const ControlDescription& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setStyleSheet(buttonStyle());
        return button;
    }
    case ControlKind::Label:
        return makeLabel(c, parent);
    case ControlKind::TextField: {
        auto* field = new QLineEdit(text, parent);
        paintFields(field, colourOf(c, pageColour()));
        return field;
    }
    case ControlKind::MultiLineTextField: {
        auto* field = new QPlainTextEdit(text, parent);
        field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        field->setTabChangesFocus(true);
        paintFields(field, colourOf(c, pageColour()));
        return field;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(text, parent);
        option->setChecked(c.look & Checked);
        return option;
    }
    case ControlKind::CheckBox: {
        auto* check = new QCheckBox(text, parent);
        check->setChecked(c.look & Checked);
        return check;
    }
    case ControlKind::Container: {
        auto* container = new QWidget(parent);
        if (c.look & Opaque) {
            container->setAutoFillBackground(true);
            paintBackground(container, QPalette::Window, colourOf(c, pageColour()));
        }
        return container;
    }
    case ControlKind::Picture: {
        auto* picture = new PictureLabel(parent);
        picture->setPixmap(pagePicture(text));
        return picture;
    }
    case ControlKind::DrawingSurface: {
        auto* surface = new QLabel(parent);
        surface->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return surface;
    }
    case ControlKind::Line: {
        const QPoint from(twipsToPixels(c.left), twipsToPixels(c.top));
        const QPoint to(twipsToPixels(c.width), twipsToPixels(c.height));
        return new LineWidget(from, to, colourOf(c, Qt::black), parent);
    }
    case ControlKind::Rectangle:
        return new RectangleWidget(colourOf(c, Qt::black), parent);
    case ControlKind::List: {
        auto* list = new QListView(parent);
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        paintFields(list, pageColour());
        return list;
    }
    case ControlKind::DriveList: {
        auto* drives = new QComboBox(parent);
        paintFields(drives, pageColour());
        return drives;
    }
    case ControlKind::FolderList: {
        auto* folders = new QTreeView(parent);
        folders->setHeaderHidden(true);
        paintFields(folders, pageColour());
        return folders;
    }
    case ControlKind::FileList: {
        auto* files = new QListWidget(parent);
        files->setSelectionMode(QAbstractItemView::ExtendedSelection);
        paintFields(files, pageColour());
        return files;
    }
    case ControlKind::Grid: {
        auto* grid = new QTableView(parent);
        grid->setTabKeyNavigation(false); // Tab leaves the grid for the next control
        paintFields(grid, pageColour());
        paintFields(grid->horizontalHeader(), pageColour());
        paintFields(grid->verticalHeader(), pageColour());
        return grid;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
        return bar;
    }
    }
    return nullptr;
}

bool takesFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Container:
    case ControlKind::Picture:
    case ControlKind::DrawingSurface:
    case ControlKind::Line:
    case ControlKind::Rectangle:
    case ControlKind::ProgressBar:
        return false;
    default:
        return true;
    }
}

} // namespace

BuiltControls buildPage(const PageDescription& page, QWidget* parent) {
    BuiltControls built;
    QHash<QWidget*, QButtonGroup*> groups; // one group of option buttons per container
    std::vector<std::pair<int, QWidget*>> tabStops;

    for (const ControlDescription& c : page.controls) {
        const QString container = QString::fromUtf8(c.container);
        QWidget* holder = container.isEmpty() ? parent : built.widget(container);
        Q_ASSERT_X(holder, "buildPage", "a container must come before its children");
        if (!holder)
            holder = parent;

        QWidget* widget = makeControl(c, holder);
        const QString name = QString::fromUtf8(c.name);
        widget->setObjectName(name);
        widget->setFont(fontOf(c));
        if (c.kind != ControlKind::Line)
            widget->setGeometry(twipsToPixels(c.left, c.top, c.width, c.height));
        if (*c.tooltip)
            widget->setToolTip(QString::fromUtf8(c.tooltip));
        if (c.look & Hidden)
            widget->setVisible(false);

        if (c.kind == ControlKind::OptionButton) {
            QButtonGroup*& group = groups[holder];
            if (!group) {
                group = new QButtonGroup(holder);
                group->setObjectName(QStringLiteral("options of ") + holder->objectName());
            }
            group->addButton(static_cast<QAbstractButton*>(widget));
        }
        if (takesFocus(c.kind) && c.tabIndex >= 0)
            tabStops.emplace_back(c.tabIndex, widget);
        else
            widget->setFocusPolicy(Qt::NoFocus);
        built.add(name, widget);
    }

    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    return built;
}
