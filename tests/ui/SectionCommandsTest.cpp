// Adding and removing sections as a player does, checked on screen and in the file.
#include "EditingFixture.h"

#include "ui/editor/ResourceIds.h"

namespace quarvel {
namespace {

using SectionCommandsTest = test::EditingFixture;

TEST_F(SectionCommandsTest, AddAppendsTheSectionUnselectedAndRefusesNamesItCannotTake) {
    start("[Main]\r\nk=1");
    struct Refusal {
        QString name;
        QString text;
        QString caption;
        unsigned style;
    };
    const Refusal refusals[] = {
        {"", "You must enter a name for this new section!", "Empty Name", MB_OK | MB_ICONEXCLAMATION},
        {"  ", "A section name cannot be empty or contain ']'.", "Invalid section name", MB_OK | MB_ICONHAND},
        {"a]b", "A section name cannot be empty or contain ']'.", "Invalid section name",
         MB_OK | MB_ICONHAND},
        {" MAIN ", "A section named 'MAIN' already exists.", "Add Section", MB_OK | MB_ICONEXCLAMATION},
    };
    script([&](QDialog& shown) {
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Add Section"));
        EXPECT_EQ(shown.focusWidget(), shown.findChild<QLineEdit*>(QStringLiteral("name")));
        for (const Refusal& refusal : refusals) {
            type(shown, "name", refusal.name);
            shown.accept();
            EXPECT_TRUE(shown.isVisible()) << refusal.name.toStdString();
        }
        type(shown, "name", QStringLiteral(" New One "));
    });
    dialog->OnCommand(ID_ADD_SECTION);
    ASSERT_EQ(windowSystem.messageBoxes.size(), std::size(refusals));
    for (std::size_t i = 0; i < std::size(refusals); ++i) {
        EXPECT_EQ(box(i).text, refusals[i].text);
        EXPECT_EQ(box(i).caption, refusals[i].caption);
        EXPECT_EQ(box(i).style, refusals[i].style);
    }
    EXPECT_EQ(fileBytes(), "[Main]\r\nk=1\r\n[New One]\r\nDefault=\r\n");
    EXPECT_EQ(sections(), (QStringList{"Main", "New One"}));
    EXPECT_EQ(probe(*dialog).m_tree.sectionText(probe(*dialog).m_tree.selectedSection()),
              QStringLiteral("Main"));
    EXPECT_EQ(rows(), QStringList{"k|1|"});
    EXPECT_EQ(probe(*dialog).m_bAccelEnabled, 1);
}

TEST_F(SectionCommandsTest, RemoveTakesTheSelectedOccurrenceWithItsKeys) {
    start("[gauge]\r\na=1\r\n[gauge]\r\nb=2\r\n[tail]\r\nc=3\r\n");
    selectSection(1);
    windowSystem.messageBoxAnswers = {IDNO, IDYES};
    dialog->OnCommand(ID_REMOVE_SECTION);
    EXPECT_EQ(sections().size(), 3);
    dialog->OnCommand(ID_REMOVE_SECTION);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 2U);
    EXPECT_EQ(box(0).text, QStringLiteral("Are you sure you want to remove the section 'gauge'?\n\n"
                                          "NOTE: ALL KEYS IN THIS SECTION WILL BE REMOVED!"));
    EXPECT_EQ(box(0).caption, QStringLiteral("Remove Section"));
    EXPECT_EQ(box(0).style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(fileBytes(), "[gauge]\r\na=1\r\n[tail]\r\nc=3\r\n");
    EXPECT_EQ(sections(), (QStringList{"gauge", "tail"}));
    // The tree picks a neighbour, and the list shows it.
    const int selected = probe(*dialog).m_tree.selectedSection();
    ASSERT_NE(selected, CSectionTreeCtrl::kNone);
    EXPECT_EQ(rows(), selected == 0 ? QStringList{"a|1|"} : QStringList{"c|3|"});
}

// A right click selects the section under the pointer, as on every desktop, so the menu's Remove Section
// removes the section the player clicked.
TEST_F(SectionCommandsTest, TheTreeMenuActsOnTheSectionRightClicked) {
    start("[one]\r\n[two]\r\n[three]\r\n");
    const QPoint at = probe(*dialog).m_tree.visualRect(probe(*dialog).m_tree.model()->index(1, 0)).center();
    QTest::mousePress(probe(*dialog).m_tree.viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(probe(*dialog).m_tree.viewport(), Qt::RightButton, {}, at);
    windowSystem.popupAnswers = {ID_REMOVE_SECTION};
    windowSystem.messageBoxAnswers = {IDYES};
    emit probe(*dialog).m_tree.customContextMenuRequested(at);
    ASSERT_EQ(windowSystem.popups.size(), 1U);
    EXPECT_TRUE(windowSystem.popups[0].items[1].enabled);
    EXPECT_TRUE(box(0).text.startsWith(QStringLiteral("Are you sure you want to remove the section 'two'?")));
    EXPECT_EQ(fileBytes(), "[one]\r\n[three]\r\n");
}

// Of two equal sections the player removes the first; another program removes it meanwhile. What is left
// reads just like it, but it is not the section the player saw: nothing is removed, and the window shows
// the file as it now is. Adding a key to it is refused alike.
TEST_F(SectionCommandsTest, ANamesakeRemovedWhileTheQuestionIsOpenStopsTheEdit) {
    const std::string twice = "[gauge]\r\na=1\r\n[gauge]\r\na=1\r\n[tail]\r\n";
    const std::string once = "[gauge]\r\na=1\r\n[tail]\r\n";
    start(twice);
    windowSystem.messageBoxAnswers = {IDYES};
    windowSystem.duringNextMessageBox = [&] {
        host.write(host.fs9Cfg(), once);
    };
    dialog->OnCommand(ID_REMOVE_SECTION);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 2U);
    EXPECT_EQ(box(1).caption, QStringLiteral("File changed"));
    EXPECT_EQ(fileBytes(), once);
    EXPECT_EQ(sections(), (QStringList{"gauge", "tail"}));

    host.write(host.fs9Cfg(), twice);
    script([&](QDialog& shown) {
        host.write(host.fs9Cfg(), once);
        type(shown, "key", QStringLiteral("b"));
    });
    dialog->OnCommand(ID_ADD_KEY);
    EXPECT_EQ(box(2).caption, QStringLiteral("File changed"));
    EXPECT_EQ(fileBytes(), once);
}

// The tree's menu acts on the file as it is now, as the menu bar does: a section another program added
// before the right click is shown once the command has run.
TEST_F(SectionCommandsTest, TheTreeMenuCatchesUpWithAnOutsideChangeFirst) {
    start("[one]\r\n[two]\r\n");
    selectSection(1);
    host.write(host.fs9Cfg(), "[one]\r\n[two]\r\n[three]\r\n");
    windowSystem.popupAnswers = {ID_REMOVE_SECTION};
    windowSystem.messageBoxAnswers = {IDYES};
    emit probe(*dialog).m_tree.customContextMenuRequested({});
    EXPECT_EQ(fileBytes(), "[one]\r\n[three]\r\n");
    EXPECT_EQ(sections(), (QStringList{"one", "three"}));
}

} // namespace
} // namespace quarvel
