#include "EditorDlgFixture.h"

#include "ui/dialogs/CAboutDlg.h"
#include "ui/editor/MenuResource.h"
#include "ui/editor/ResourceIds.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace quarvel {
namespace {

using Item = std::pair<QString, int>;

std::vector<Item> itemsOf(const QMenu& menu) {
    std::vector<Item> items;
    for (const QAction* action : menu.actions())
        items.emplace_back(action->isSeparator() ? QStringLiteral("-") : action->text(),
                           action->data().toInt());
    return items;
}

class EditorDlgTest : public test::EditorDlgFixture {};

TEST_F(EditorDlgTest, TheMenuBarHoldsTheMenusInOrderWithTheirTexts) {
    const QList<QAction*> bar = dialog.mainMenu().actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(bar[1]->text(), QStringLiteral("&Edit"));
    EXPECT_EQ(bar[2]->text(), QStringLiteral("&Donate!"));
    EXPECT_EQ(bar[2]->menu(), nullptr);
    EXPECT_EQ(bar[2]->data().toInt(), ID_DONATE);
    EXPECT_EQ(bar[3]->text(), QStringLiteral("&Help"));

    const std::vector<Item> file{{"Open FS9.CFG", 32776},
                                 {"Open Other FS9.CFG", 32788},
                                 {"Save FS9.CFG As...", 32789},
                                 {"Launch FS9 with current CFG", 32790},
                                 {"-", 0},
                                 {"Open Scenery.CFG", 32777},
                                 {"Open Devices.CFG", 32780},
                                 {"Open Display.CFG", 32781},
                                 {"Open SunEffect.CFG", 32782},
                                 {"Open Terrain.CFG", 32783},
                                 {"Open Aircraft.CFG", 65535},
                                 {"-", 0},
                                 {"E&xit\tAlt+F4", 57665}};
    const std::vector<Item> edit{{"&Undo\tCtrl+Z", 32792},
                                 {"&Redo\tCtrl+Y", 32793},
                                 {"-", 0},
                                 {"Add Section\tAlt+Ins", 32778},
                                 {"Remove Section\tAlt+Del", 32779},
                                 {"-", 0},
                                 {"&Add New Key\tIns", 32771},
                                 {"&Change Selected Key Value", 32772},
                                 {"&Remove Selected Key\tDel", 32773},
                                 {"-", 0},
                                 {"&Search\tCtrl+F", 32774},
                                 {"Search &Next\tF3", 32791}};
    EXPECT_EQ(itemsOf(*bar[0]->menu()), file);
    EXPECT_EQ(itemsOf(*bar[1]->menu()), edit);
    EXPECT_EQ(itemsOf(*bar[3]->menu()), (std::vector<Item>{{"&About Quarvel", 16}}));
}

TEST_F(EditorDlgTest, TheContextMenusHoldTheirCommands) {
    const auto keyMenu = MenuResource::load(IDR_KEYLIST_POPUP)->createPopup(nullptr);
    EXPECT_EQ(
        itemsOf(*keyMenu),
        (std::vector<Item>{{"&Add Key\tIns", 32771}, {"&Change Key", 32772}, {"&Remove Key\tDel", 32773}}));
    const auto treeMenu = MenuResource::load(IDR_SECTIONTREE_POPUP)->createPopup(nullptr);
    EXPECT_EQ(itemsOf(*treeMenu),
              (std::vector<Item>{{"Add Section\tAlt+Ins", 32778}, {"Remove Section\tAlt+Del", 32779}}));
    EXPECT_FALSE(MenuResource::load(135).has_value());
}

TEST_F(EditorDlgTest, ControlsStandWhereTheTemplatePutsThem) {
    const DialogUnits& units = dialog.dialogUnits();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quarvel"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    // The first size is the template's, widened for the key list's descriptions: the list alone grows.
    const int widened = dialog.clientArea().width() - units.toPixelsX(392);
    EXPECT_GT(widened, 0);
    EXPECT_EQ(dialog.clientArea().height(), units.toPixelsY(270));
    EXPECT_EQ(dialog.clientArea().y(), dialog.mainMenu().height());
    EXPECT_EQ(probe(dialog).m_tree.geometry(), units.toPixels(QRect(7, 7, 102, 256)));
    EXPECT_EQ(probe(dialog).m_list.geometry(),
              units.toPixels(QRect(114, 7, 271, 256)).adjusted(0, 0, widened, 0));
    EXPECT_EQ(probe(dialog).m_splitter.geometry(), units.toPixels(QRect(108, 7, 7, 256)));
    EXPECT_EQ(QApplication::focusWidget(), &probe(dialog).m_tree);
}

TEST_F(EditorDlgTest, ResizingKeepsTheTreeWidthAndTheMarginsAndGrowsTheList) {
    const QRect tree = probe(dialog).m_tree.geometry();
    const QRect list = probe(dialog).m_list.geometry();
    const QRect splitter = probe(dialog).m_splitter.geometry();
    const QSize client = dialog.clientArea().size();

    dialog.resize(dialog.width() + 150, dialog.height() + 90);
    const QSize grown = dialog.clientArea().size();
    ASSERT_EQ(grown, client + QSize(150, 90));
    EXPECT_EQ(probe(dialog).m_tree.geometry(), tree.adjusted(0, 0, 0, 90));
    EXPECT_EQ(probe(dialog).m_splitter.geometry(), splitter.adjusted(0, 0, 0, 90));
    EXPECT_EQ(probe(dialog).m_list.geometry(), list.adjusted(0, 0, 150, 90));

    dialog.resize(dialog.width() - 150, dialog.height() - 90);
    EXPECT_EQ(probe(dialog).m_list.geometry(), list);
}

TEST_F(EditorDlgTest, EnterEndsTheRun) {
    QTest::keyClick(&probe(dialog).m_tree, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDOK);
}

TEST_F(EditorDlgTest, EscapeEndsTheRun) {
    QTest::keyClick(&probe(dialog).m_list, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDCANCEL);
}

TEST_F(EditorDlgTest, TheCloseBoxAndExitEndTheRun) {
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    dialog.menuItem(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(EditorDlgTest, TheAboutBoxShowsTheVersionAndLeavesTheWindowAsItWas) {
    const QRect list = probe(dialog).m_list.geometry();
    int accelDuringAbout = -1;
    windowSystem.modalScripts.emplace_back([&](QDialog& about) {
        accelDuringAbout = probe(dialog).m_bAccelEnabled;
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("Quarvel Version 1.2")));
        EXPECT_TRUE(texts.contains(CAboutDlg::noticeText(host.host->prefix().root())));
        EXPECT_TRUE(texts.join('\n').contains(
            QString::fromStdString("\nWine prefix: " + host.host->prefix().root().string())));
        const QPushButton* ok = about.findChild<QPushButton*>();
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_TRUE(ok->isDefault());
        QTest::mouseClick(const_cast<QPushButton*>(ok), Qt::LeftButton);
        EXPECT_EQ(about.result(), IDOK);
    });
    dialog.menuItem(IDM_ABOUTBOX)->trigger();

    ASSERT_EQ(windowSystem.modalRuns.size(), 1U);
    EXPECT_EQ(windowSystem.modalRuns[0].className, QStringLiteral("quarvel::CAboutDlg"));
    EXPECT_EQ(windowSystem.modalRuns[0].title, QStringLiteral("About Quarvel"));
    EXPECT_EQ(accelDuringAbout, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(probe(dialog).m_list.geometry(), list);
}

TEST_F(EditorDlgTest, StartsWithTheStateOfAFreshWindow) {
    CEditorDlg fresh(windowSystem, *host.host);
    EXPECT_EQ(probe(fresh).m_bAccelEnabled, 1);
    EXPECT_EQ(probe(fresh).m_fileopened, FileKind::Fs9Cfg);
    EXPECT_TRUE(probe(fresh).m_strFs9CfgPath.empty());
    EXPECT_TRUE(probe(fresh).m_strCfgPath.empty());
    EXPECT_TRUE(probe(fresh).m_strSceneryCfgPath.empty());
    EXPECT_EQ(probe(fresh).m_list.columnCount(), 0); // the columns come with the initialisation
    fresh.show();
    EXPECT_EQ(probe(fresh).m_list.columnCount(), 3);
}

} // namespace
} // namespace quarvel
