// A sheet compared with a file, on screen: the tabs of the pages with a differing
// setting and the differing controls themselves are marked, whichever view of the
// page shows them.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "SheetView.h"
#include "SimFixture.h"
#include "image/ImageTransfer.h"
#include "pages/ConfigSheet.h"
#include "registry/SheetPages.h"
#include "settings/SettingsDiff.h"

namespace vantrel::qt {
namespace {

bool marked(ScreenPanel& panel, const char* name) {
    QWidget* widget = panel.widgetFor(name);
    EXPECT_TRUE(widget) << name;
    return widget && widget->property(kMarkedProperty).toBool();
}

TEST(CompareSheetView, MarksTheTabsAndTheControlsThatDiffer) {
    test::SimRig rig;
    rig.context.loginLevel = shell::kUser;
    ASSERT_TRUE(image::extractImage(rig.context));
    image::ConfigImage other = rig.context.image;
    for (const settings::Setting& setting : settings::readSettings(rig.context))
        if (setting.key() == "Contacts S1 to S8 / S6 NO/NC")
            other.bytes[setting.bytes.front().offset] ^= setting.bytes.front().mask;

    ui::ProgressBar progress;
    auto sheet = pages::buildSheet(rig.context, registry::makePage, progress);
    settings::markDifferences(rig.context, *sheet, other);
    SheetView view(*sheet);
    view.show();
    const QColor markedColor(QString::fromLatin1(kMarkedTabColor));
    for (int i = 0; i < view.tabs().count(); ++i)
        EXPECT_EQ(view.tabs().tabBar()->tabTextColor(i) == markedColor,
                  sheet->page(i).title() == pages::kContacts)
            << sheet->page(i).title();

    view.tabs().setCurrentIndex(1);
    ScreenPanel* contacts = view.panel(1);
    ASSERT_TRUE(contacts);
    EXPECT_FALSE(marked(*contacts, "S2 NO/NC"));  // S6 is in the other group
    QTest::mouseClick(qobject_cast<QPushButton*>(contacts->widgetFor("S1-S4")), Qt::LeftButton);
    EXPECT_TRUE(marked(*contacts, "S6 NO/NC"));
    EXPECT_FALSE(marked(*contacts, "S5 NO/NC"));
    EXPECT_FALSE(marked(*contacts, "S6 function"));
}

}  // namespace
}  // namespace vantrel::qt
