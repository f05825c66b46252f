#include "EditorDlgFixture.h"

#include "ui/editor/MenuResource.h"
#include "ui/editor/ResourceIds.h"
#include "ui/framework/CommandTable.h"

#include <QAbstractEventDispatcher>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

#include <set>

namespace quarvel {
namespace {

std::set<int> commandIdsOf(const std::vector<MenuEntry>& entries) {
    std::set<int> ids;
    for (const MenuEntry& entry : entries) {
        if (entry.isDropDown()) {
            const std::set<int> inner = commandIdsOf(entry.dropDown);
            ids.insert(inner.begin(), inner.end());
        } else if (!entry.isSeparator()) {
            ids.insert(entry.id);
        }
    }
    return ids;
}

TEST(CommandTableTest, TheGateDropsACommandItsRuleRefuses) {
    CommandTable table;
    int runs = 0;
    bool available = false;
    table.add(
        1, [&] { ++runs; }, [&](CCmdUI& cmdUI) { cmdUI.Enable(available); });
    EXPECT_FALSE(table.runGated(1));
    EXPECT_EQ(runs, 0);
    available = true;
    EXPECT_TRUE(table.runGated(1));
    EXPECT_EQ(runs, 1);
    // A context menu's choice is not asked again.
    available = false;
    table.runDirect(1);
    EXPECT_EQ(runs, 2);
}

TEST(CommandTableTest, CommandsWithoutRuleOrHandlerAndUnknownIds) {
    CommandTable table;
    int runs = 0;
    table.add(1, [&] { ++runs; }, {});
    table.add(2, {}, [](CCmdUI& cmdUI) { cmdUI.Enable(true); });
    EXPECT_TRUE(table.runGated(1));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(table.ruleAnswer(1).has_value());
    EXPECT_TRUE(table.runGated(2)); // routed, nothing to do yet
    EXPECT_FALSE(table.runGated(3));
    EXPECT_FALSE(table.setHandler(3, [] {}));
    EXPECT_TRUE(table.setHandler(2, [&] { runs += 10; }));
    table.runGated(2);
    EXPECT_EQ(runs, 11);
}

TEST(CommandTableTest, ThePassDecidesCommandItemsOnly) {
    CommandTable table;
    int asked = 0;
    const auto refuse = [&](CCmdUI& cmdUI) {
        ++asked;
        cmdUI.Enable(false);
    };
    table.add(7, {}, refuse);
    table.add(0xFFFF, {}, refuse);
    QMenu menu;
    menu.addAction(QStringLiteral("seven"))->setData(7);
    menu.addSeparator();
    menu.addAction(QStringLiteral("marker"))->setData(0xFFFF);
    menu.addAction(QStringLiteral("no rule"))->setData(8);
    QMenu* sub = menu.addMenu(QStringLiteral("sub"));
    sub->menuAction()->setData(7);
    table.updateMenu(menu);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(menu.actions()[0]->isEnabled());
    EXPECT_TRUE(menu.actions()[2]->isEnabled());
    EXPECT_TRUE(menu.actions()[3]->isEnabled());
    EXPECT_TRUE(menu.actions()[4]->isEnabled());
}

class CommandEnablingTest : public test::EditorDlgFixture {
protected:
    void simulatorFolderKnown() { setSimulatorPaths("/sim/"); }
    // The paths a failed registry read leaves.
    void simulatorFolderUnknown() { setSimulatorPaths(""); }
    void setSimulatorPaths(const std::string& folder) {
        const auto path = [&folder](const char* name) {
            return folder.empty() ? folder : folder + name;
        };
        probe(dialog).m_strSceneryCfgPath = path("scenery.cfg");
        probe(dialog).m_strDevicesCfgPath = path("devices.cfg");
        probe(dialog).m_strDisplayCfgPath = path("display.cfg");
        probe(dialog).m_strSunEffectCfgPath = path("suneffect.cfg");
        probe(dialog).m_strTerrainCfgPath = path("terrain.cfg");
    }
    static constexpr int kOpenSimulatorFiles[] = {ID_OPEN_SCENERYCFG, ID_OPEN_DEVICESCFG, ID_OPEN_DISPLAYCFG,
                                                  ID_OPEN_SUNEFFECTCFG, ID_OPEN_TERRAINCFG};
};

TEST_F(CommandEnablingTest, EveryCommandOfEveryMenuIsRouted) {
    std::set<int> menuIds;
    for (const int menu : {IDR_MAIN_MENU, IDR_KEYLIST_POPUP, IDR_SECTIONTREE_POPUP}) {
        const std::set<int> ids = commandIdsOf(MenuResource::load(menu)->entries());
        menuIds.insert(ids.begin(), ids.end());
    }
    const std::vector<int> routed = dialog.commands().ids();
    EXPECT_EQ(menuIds, std::set<int>(routed.begin(), routed.end()));
    EXPECT_EQ(menuIds.size(), 22U);
}

TEST_F(CommandEnablingTest, WithFs9CfgOpenItsOwnOpenIsGrayedAndSaveAndLaunchAreOffered) {
    simulatorFolderKnown();
    probe(dialog).m_fileopened = FileKind::Fs9Cfg;
    EXPECT_FALSE(shownEnabled(ID_OPEN_FS9CFG));
    EXPECT_TRUE(shownEnabled(ID_SAVE_FS9CFG_AS));
    EXPECT_TRUE(shownEnabled(ID_LAUNCH_FS9));
    for (const int id : kOpenSimulatorFiles)
        EXPECT_TRUE(shownEnabled(id)) << id;
}

TEST_F(CommandEnablingTest, EachSimulatorFileGraysOnlyItsOwnOpen) {
    simulatorFolderKnown();
    const std::pair<FileKind, int> kinds[] = {
        {FileKind::SceneryCfg, ID_OPEN_SCENERYCFG}, {FileKind::DevicesCfg, ID_OPEN_DEVICESCFG},
        {FileKind::DisplayCfg, ID_OPEN_DISPLAYCFG}, {FileKind::SunEffectCfg, ID_OPEN_SUNEFFECTCFG},
        {FileKind::TerrainCfg, ID_OPEN_TERRAINCFG},
    };
    for (const auto& [kind, ownOpen] : kinds) {
        probe(dialog).m_fileopened = kind;
        for (const int id : kOpenSimulatorFiles)
            EXPECT_EQ(shownEnabled(id), id != ownOpen)
                << "kind " << static_cast<int>(kind) << ", item " << id;
        EXPECT_TRUE(shownEnabled(ID_OPEN_FS9CFG));
        EXPECT_FALSE(shownEnabled(ID_SAVE_FS9CFG_AS));
        EXPECT_FALSE(shownEnabled(ID_LAUNCH_FS9));
    }
}

TEST_F(CommandEnablingTest, AnAircraftOrAnotherFs9Cfg) {
    probe(dialog).m_fileopened = FileKind::AircraftCfg;
    EXPECT_TRUE(shownEnabled(ID_OPEN_FS9CFG));
    EXPECT_FALSE(shownEnabled(ID_SAVE_FS9CFG_AS));
    probe(dialog).m_fileopened = FileKind::OtherFs9Cfg;
    EXPECT_TRUE(shownEnabled(ID_OPEN_FS9CFG));
    EXPECT_TRUE(shownEnabled(ID_SAVE_FS9CFG_AS));
    EXPECT_TRUE(shownEnabled(ID_LAUNCH_FS9));
}

TEST_F(CommandEnablingTest, WithoutTheSimulatorFolderItsFilesStayGrayed) {
    simulatorFolderUnknown();
    for (const FileKind kind : {FileKind::Fs9Cfg, FileKind::AircraftCfg, FileKind::OtherFs9Cfg}) {
        probe(dialog).m_fileopened = kind;
        for (const int id : kOpenSimulatorFiles)
            EXPECT_FALSE(shownEnabled(id)) << id;
        EXPECT_TRUE(shownEnabled(ID_OPEN_AIRCRAFTCFG));
    }
}

TEST_F(CommandEnablingTest, KeyAndSectionCommandsFollowTheSelections) {
    addSections({"Main", "Display"});
    EXPECT_FALSE(shownEnabled(ID_ADD_KEY));
    EXPECT_FALSE(shownEnabled(ID_REMOVE_SECTION));
    EXPECT_FALSE(shownEnabled(ID_CHANGE_KEY));
    EXPECT_FALSE(shownEnabled(ID_REMOVE_KEY));
    EXPECT_TRUE(shownEnabled(ID_ADD_SECTION));
    EXPECT_TRUE(shownEnabled(ID_SEARCH));

    probe(dialog).m_tree.selectSection(probe(dialog).m_tree.firstSection());
    addKeys({"a", "b"});
    EXPECT_TRUE(shownEnabled(ID_ADD_KEY));
    EXPECT_TRUE(shownEnabled(ID_REMOVE_SECTION));
    EXPECT_FALSE(shownEnabled(ID_CHANGE_KEY));

    probe(dialog).m_list.selectRow(1);
    EXPECT_TRUE(shownEnabled(ID_CHANGE_KEY));
    EXPECT_TRUE(shownEnabled(ID_REMOVE_KEY));
    probe(dialog).m_list.deleteAllRows();
    EXPECT_FALSE(shownEnabled(ID_CHANGE_KEY));
    EXPECT_FALSE(shownEnabled(ID_REMOVE_KEY));
}

TEST_F(CommandEnablingTest, CommandsWithoutARuleAreNeverGrayed) {
    probe(dialog).m_fileopened = FileKind::SceneryCfg;
    for (const int id : {ID_OPEN_OTHERFS9CFG, ID_OPEN_AIRCRAFTCFG, ID_APP_EXIT, IDM_ABOUTBOX})
        EXPECT_TRUE(shownEnabled(id)) << id;
    EXPECT_TRUE(dialog.menuItem(ID_DONATE)->isEnabled());
    EXPECT_FALSE(dialog.commands().ruleAnswer(ID_DONATE).has_value());
}

TEST_F(CommandEnablingTest, ThePassRunsWhenADropDownOpens) {
    QMenu* edit = dialog.mainMenu().actions()[1]->menu();
    dialog.menuItem(ID_REMOVE_KEY)->setEnabled(true);
    QMetaObject::invokeMethod(edit, "aboutToShow");
    EXPECT_FALSE(dialog.menuItem(ID_REMOVE_KEY)->isEnabled());
}

TEST_F(CommandEnablingTest, TheWholeBarIsUpdatedWhenTheQueueRunsEmpty) {
    simulatorFolderKnown();
    probe(dialog).m_fileopened = FileKind::SceneryCfg;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QSignalSpy idle(dispatcher, &QAbstractEventDispatcher::aboutToBlock);
    ASSERT_TRUE(idle.wait(1000));
    EXPECT_FALSE(dialog.menuItem(ID_OPEN_SCENERYCFG)->isEnabled());
    EXPECT_FALSE(dialog.menuItem(ID_LAUNCH_FS9)->isEnabled());

    probe(dialog).m_fileopened = FileKind::Fs9Cfg;
    idle.clear();
    ASSERT_TRUE(idle.wait(1000));
    EXPECT_TRUE(dialog.menuItem(ID_OPEN_SCENERYCFG)->isEnabled());
    EXPECT_FALSE(dialog.menuItem(ID_OPEN_FS9CFG)->isEnabled());
}

TEST_F(CommandEnablingTest, MenuAndKeyCommandsPassTheGate) {
    int removals = 0;
    dialog.commands().setHandler(ID_REMOVE_KEY, [&] { ++removals; });
    addKeys({"a"});
    EXPECT_FALSE(dialog.OnCommand(ID_REMOVE_KEY));
    dialog.menuItem(ID_REMOVE_KEY)->setEnabled(true);
    dialog.menuItem(ID_REMOVE_KEY)->trigger(); // a stale item state does not get past the rule
    EXPECT_EQ(removals, 0);
    probe(dialog).m_list.selectRow(0);
    dialog.menuItem(ID_REMOVE_KEY)->trigger();
    EXPECT_EQ(removals, 1);
}

TEST_F(CommandEnablingTest, TheKeyListMenuIsDecidedBeforeItShowsAndItsChoiceRuns) {
    addSections({"Main"});
    probe(dialog).m_tree.selectSection(probe(dialog).m_tree.firstSection());
    int adds = 0;
    dialog.commands().setHandler(ID_ADD_KEY, [&] { ++adds; });
    windowSystem.popupAnswers.push_back(ID_ADD_KEY);
    emit probe(dialog).m_list.customContextMenuRequested(QPoint(5, 5));

    ASSERT_EQ(windowSystem.popups.size(), 1U);
    const auto& items = windowSystem.popups[0].items;
    ASSERT_EQ(items.size(), 3U);
    EXPECT_EQ(items[0].text, QStringLiteral("&Add Key\tIns"));
    EXPECT_TRUE(items[0].enabled);
    EXPECT_FALSE(items[1].enabled);
    EXPECT_FALSE(items[2].enabled);
    EXPECT_EQ(windowSystem.popups[0].owner, &dialog);
    EXPECT_EQ(adds, 1);
}

TEST_F(CommandEnablingTest, TheTreeMenuGraysRemoveWithoutASectionAndADismissRunsNothing) {
    int removals = 0;
    dialog.commands().setHandler(ID_REMOVE_SECTION, [&] { ++removals; });
    emit probe(dialog).m_tree.customContextMenuRequested(QPoint(5, 5));
    ASSERT_EQ(windowSystem.popups.size(), 1U);
    const auto& items = windowSystem.popups[0].items;
    ASSERT_EQ(items.size(), 2U);
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(items[1].text, QStringLiteral("Remove Section\tAlt+Del"));
    EXPECT_FALSE(items[1].enabled);
    EXPECT_EQ(removals, 0);
}

} // namespace
} // namespace quarvel
