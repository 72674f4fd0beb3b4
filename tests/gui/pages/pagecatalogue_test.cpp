#include "app/form1.h"
#include "gui/framework/linewidget.h"
#include "gui/framework/pagepictures.h"
#include "gui/framework/picturelabel.h"
#include "gui/viewer/form22.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "support/pagesfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <functional>

using PageCatalogue = PagesTest;

namespace {
using PageGetter = std::function<Page&()>;
const std::pair<const char*, PageGetter> kPages[] = {
    {"Form1", []() -> Page& { return form1(); }},   {"Form11", []() -> Page& { return form11(); }},
    {"Form2", []() -> Page& { return form2(); }},   {"Form3", []() -> Page& { return form3(); }},
    {"Form22", []() -> Page& { return form22(); }},
};

// The controls of a page: its own children and those of its containers.
QSet<QString> visibleControls(QWidget& page) {
    QSet<QString> names;
    for (QWidget* child : page.findChildren<QWidget*>()) {
        QWidget* parent = child->parentWidget();
        const bool isControl =
            parent == &page || (parent && parent->parentWidget() == &page &&
                                page.findChild<QWidget*>(parent->objectName()) == parent &&
                                !parent->objectName().isEmpty() &&
                                QString(parent->metaObject()->className()) == "QWidget");
        if (isControl && child->isVisible())
            names.insert(child->objectName());
    }
    return names;
}
} // namespace

TEST_F(PageCatalogue, ShownPagesShowExactlyTheControlsOfTheirTables) {
    // Step 1 hides its two work surfaces, step 2 the naming options of Frame2.
    const QMap<QString, QStringList> expected = {
        {"Form1", {"Command1", "Command2", "Command3", "Image1"}},
        {"Form11",
         {"Label3", "Label4", "Drive1", "Dir1", "File1", "Label5", "Text1", "Command1", "Command2",
          "Command3", "Command4", "Image5", "Flex", "Command6", "Command5", "Image1"}},
        {"Form2",
         {"Label3", "Label4", "Option1", "Text1", "Line2", "Option2", "Text3", "Line3", "Check1",
          "Text4", "Frame1", "Option3", "Option4", "Command6", "Command1", "Command5", "Image1"}},
        {"Form3", {"Label3",  "Label4", "Frame1",  "Shape2",   "Image2",   "Label5",   "Text1",
                   "Check1",  "Frame2", "Shape4",  "Label6",   "Label7",   "Label13",  "Label8",
                   "Label11", "Label9", "Label12", "Image3",   "Line2",    "Line3",    "Line4",
                   "Image4",  "Stat",   "Label10", "Command6", "Command1", "Command5", "Image1"}},
        {"Form22",
         {"Label3", "Text1", "Command1", "Command2", "Line4", "Label4", "List1", "Line2", "Text3",
          "Command4", "Command3", "Image1"}},
    };
    for (const auto& [name, page] : kPages) {
        Page& p = page();
        p.show();
        const QStringList names = expected.value(name);
        EXPECT_EQ(visibleControls(p), QSet<QString>(names.begin(), names.end())) << name;
        p.hide();
    }
    // the hidden ones exist for the code that uses them
    EXPECT_FALSE(form11().I2->isVisible());
    EXPECT_FALSE(form11().Image2->isVisible());
    EXPECT_FALSE(form2().Option5->isVisible());
    EXPECT_TRUE(form2().Option6->isChecked());
}

TEST_F(PageCatalogue, EveryControlAPageClassUsesIsBuilt) {
    for (const auto& [name, page] : kPages)
        EXPECT_EQ(page().unboundControls(), QStringList()) << name;
}

// A few places per page, in pixels of their container (twips / 15 of the page
// tables), lines by their end points, and contained controls also on the page.
TEST_F(PageCatalogue, ControlsSitWhereTheirTablesPutThem) {
    struct Place {
        const char* page;
        const char* control;
        QRect rectangle;       // boxes: in the container; lines: from top-left to bottom-right
        QPoint onPage{-1, -1}; // contained controls: the top-left on the page
    };
    const Place places[] = {
        {"Form1", "Command2", {16, 40, 289, 25}},
        {"Form11", "Drive1", {8, 64, 177, 21}},
        {"Form11", "Flex", {8, 296, 481, 97}},
        {"Form2", "Frame1", {24, 352, 217, 33}},
        {"Form2", "Option3", {0, 0, 321, 13}, {24, 352}},
        {"Form2", "Line3", QRect(QPoint(8, 280), QPoint(480, 280))},
        {"Form3", "Command5", {392, 408, 89, 17}},
        {"Form3", "Frame2", {19, 229, 449, 153}},
        {"Form3", "Label6", {0, 2, 473, 17}, {19, 231}},
        {"Form3", "Stat", {8, 120, 433, 9}, {27, 349}},
        {"Form3", "Line3", QRect(QPoint(240, 88), QPoint(248, 96))},
        {"Form22", "List1", {16, 136, 465, 108}},
        {"Form22", "Line4", QRect(QPoint(8, 104), QPoint(488, 104))},
    };
    for (const Place& p : places) {
        Page* page = nullptr;
        for (const auto& [name, getter] : kPages)
            if (QLatin1String(name) == QLatin1String(p.page))
                page = &getter();
        ASSERT_NE(page, nullptr) << p.page;
        const auto* control = page->findChild<QWidget*>(QString::fromLatin1(p.control));
        ASSERT_NE(control, nullptr) << p.page << " " << p.control;
        const auto* line = qobject_cast<const LineWidget*>(control);
        const QRect built = line ? QRect(line->from(), line->to()) : control->geometry();
        EXPECT_EQ(built, p.rectangle) << p.page << " " << p.control;
        if (p.onPage != QPoint(-1, -1)) {
            EXPECT_EQ(control->mapTo(page, QPoint(0, 0)), p.onPage) << p.page << " " << p.control;
        }
    }
}

TEST_F(PageCatalogue, TabOnStepOneVisitsTheControlsInTableOrder) {
    Form11& page = form11();
    page.show();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.Drive1->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited,
              QStringList({"Drive1", "Dir1", "File1", "Flex", "Command1", "Command2", "Command3",
                           "Command4", "Command5", "Command6", "Text1", "Drive1"}));
}

TEST_F(PageCatalogue, StepOneButtonsCarryTheirTooltips) {
    Form11& page = form11();
    EXPECT_EQ(page.Command1->toolTip(), "Fügt die in der Dateiliste gewählte Datei(en) ein.");
    EXPECT_EQ(page.Command2->toolTip(), "Fügt alle Dateien des oben gewählten Ordners ein");
    EXPECT_EQ(page.Command3->toolTip(),
              "Entfernt den gewählten Eintrag aus der Liste der zu verschlüsselnden Dateien.");
    EXPECT_EQ(page.Command4->toolTip(),
              "Entfernt alle Einträge aus der Liste der zu verschlüsselnden Dateien.");
}

TEST_F(PageCatalogue, TitlesUnderlinedStatusHeadingBoldAndCentred) {
    for (QLabel* title : {form11().Label3, form2().Label3, form3().Label3})
        EXPECT_TRUE(title->font().underline()) << title->text().toStdString();
    EXPECT_FALSE(form11().Label4->font().underline());
    EXPECT_TRUE(form3().Label6->font().bold());
    EXPECT_EQ(form3().Label6->text(), "Status des Vorgangs");
    EXPECT_TRUE(form3().Label6->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(form3().Label7->font().bold());
    EXPECT_TRUE(form3().Label11->alignment() & Qt::AlignRight);
}

TEST_F(PageCatalogue, CornerGlyphFollowsItsPixelRule) {
    const QImage glyph = cornerGlyph();
    ASSERT_EQ(glyph.size(), QSize(10, 10));
    const QRgb black = qRgb(0, 0, 0), face = qRgb(189, 199, 140);
    const struct {
        int x, y;
        QRgb colour;
    } samples[] = {{0, 0, face},  {9, 0, black}, {0, 9, black}, {8, 0, black},
                   {4, 4, black}, {5, 6, black}, {7, 7, black}, {3, 4, face},
                   {6, 6, face},  {8, 7, face},  {4, 5, face},  {2, 5, face}};
    for (const auto& s : samples)
        EXPECT_EQ(glyph.pixel(s.x, s.y), s.colour) << s.x << "," << s.y;
    EXPECT_EQ(form1().Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), glyph);
}

TEST_F(PageCatalogue, PagesPaintedInThePageColour) {
    const QColor page(188, 198, 140), box(161, 198, 162);
    for (const auto& [name, getter] : kPages)
        EXPECT_EQ(getter().palette().color(QPalette::Window), page) << name;
    EXPECT_EQ(form11().Text1->palette().color(QPalette::Base), page);
    EXPECT_EQ(form3().Frame1->palette().color(QPalette::Window), box);
    EXPECT_EQ(form3().Text1->palette().color(QPalette::Base), box);
}

TEST_F(PageCatalogue, OptionButtonMarksShowWholeWithinTheirRows) {
    Form2& page = form2();
    page.show();
    for (QRadioButton* option : page.findChildren<QRadioButton*>()) {
        QStyleOptionButton look;
        look.initFrom(option);
        const QRect mark =
            option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &look, option);
        EXPECT_TRUE(option->rect().contains(mark))
            << option->objectName().toStdString() << " row " << option->height() << ", mark "
            << mark.top() << " to " << mark.bottom();
    }
}

TEST_F(PageCatalogue, DriveListAndGridHeaderAreFlatAndFocusShowsOnEveryList) {
    Form11& page = form11();
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    // flat: one colour from top to bottom inside the frame, where a gradient changes
    const auto column = [](QWidget* widget, int x) {
        const QImage image = widget->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 2; y < image.height() - 2; ++y)
            colours.insert(image.pixel(x, y));
        return colours;
    };
    const QRgb pageRgb = QColor(188, 198, 140).rgb();
    EXPECT_EQ(column(page.Drive1, page.Drive1->width() / 2), QSet<QRgb>{pageRgb});
    EXPECT_EQ(column(page.Flex->horizontalHeader(), page.Flex->columnWidth(0) + 20),
              QSet<QRgb>{pageRgb});

    // the focus frame, also on the grid while it holds no entry
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    const QRgb highlight = page.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (QWidget* list :
         std::initializer_list<QWidget*>{page.Drive1, page.Dir1, page.File1, page.Flex}) {
        const QString name = list->objectName();
        page.Text1->setFocus(Qt::TabFocusReason);
        EXPECT_NE(list->grab().toImage().pixel(1, list->height() / 2), highlight)
            << name.toStdString() << " without focus";
        list->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(list->hasFocus()) << name.toStdString();
        const QImage focused = list->grab().toImage();
        for (const QPoint at : {QPoint(0, list->height() / 2), QPoint(1, list->height() / 2),
                                QPoint(list->width() / 2, 1)})
            EXPECT_EQ(focused.pixel(at), highlight)
                << name.toStdString() << " at " << at.x() << "," << at.y();
    }
}

TEST_F(PageCatalogue, ContainerChildrenWiderThanTheirBoxAreClippedByIt) {
    Form2& page = form2();
    for (QRadioButton* option : {page.Option3, page.Option4}) {
        EXPECT_EQ(option->parentWidget(), page.Frame1);
        EXPECT_GT(option->geometry().right(), page.Frame1->width());
    }
    EXPECT_EQ(page.Option5->parentWidget(), page.Frame2);
}

TEST_F(PageCatalogue, PicturesAreCompiledInAtTheirSizes) {
    const std::pair<const char*, QSize> pictures[] = {
        {"banner", {88, 31}}, {"warning", {32, 32}}, {"struckc", {32, 32}}, {"redc", {32, 32}}};
    for (const auto& [name, size] : pictures)
        EXPECT_EQ(pagePicture(name).size(), size) << name;
    EXPECT_EQ(form11().Image5->pixmap().size(), QSize(88, 31));
    EXPECT_EQ(form3().Image2->pixmap().size(), QSize(32, 32));
    const QList<QSize> iconSizes = pageIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));
    EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));
}
