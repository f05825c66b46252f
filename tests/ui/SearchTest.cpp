// Search and Search Next as a player uses them: where they land, what is selected, and when.
#include "EditingFixture.h"

#include "ui/editor/ResourceIds.h"

#include <QElapsedTimer>

namespace quarvel {
namespace {

class SearchTest : public test::EditingFixture {
protected:
    void search(const QString& text) {
        script([text](QDialog& shown) {
            EXPECT_EQ(shown.windowTitle(), QStringLiteral("Search"));
            EXPECT_EQ(shown.focusWidget(), shown.findChild<QLineEdit*>(QStringLiteral("find")));
            type(shown, "find", text);
        });
        dialog->OnCommand(ID_SEARCH);
    }
    // Waits for the hit's row and says where the list stands: section, row marked, row current.
    QString landing() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return probe(*dialog).m_list.selectedCount() == 1; }, 1000));
        const int row = probe(*dialog).m_list.selectionMark();
        EXPECT_EQ(probe(*dialog).m_list.currentItem(), probe(*dialog).m_list.topLevelItem(row));
        return QStringLiteral("%1/%2:%3")
            .arg(probe(*dialog).m_tree.selectedSection())
            .arg(row)
            .arg(probe(*dialog).m_list.itemText(row, 0));
    }
};

TEST_F(SearchTest, FindsAcrossTheEqualsSignCaseSensitiveFromTheTopAndShowsTheRow) {
    std::string bytes = "[A]\r\nx=1\r\n[gauge]\r\nk=1\r\n[gauge]\r\n";
    for (int i = 0; i < 200; ++i)
        bytes += "line" + std::to_string(i) + "=v\r\n";
    bytes += "Needle=Value\r\n";
    start(bytes);

    search(QStringLiteral("needle=v"));
    EXPECT_EQ(box(0).text, QStringLiteral("Search string not found."));
    EXPECT_EQ(box(0).caption, QStringLiteral("Search complete"));
    EXPECT_EQ(box(0).style, MB_OK | MB_ICONINFORMATION);

    QElapsedTimer elapsed;
    elapsed.start();
    search(QStringLiteral("dle=Va"));
    EXPECT_EQ(probe(*dialog).m_list.selectedCount(), 0) << "the row waits a moment";
    EXPECT_EQ(landing(), QStringLiteral("2/200:Needle"));
    EXPECT_GE(elapsed.elapsed(), 90);
    EXPECT_EQ(dialog->focusWidget(), &probe(*dialog).m_list);
    const QRect row = probe(*dialog).m_list.visualItemRect(probe(*dialog).m_list.topLevelItem(200));
    EXPECT_TRUE(probe(*dialog).m_list.viewport()->rect().intersects(row)) << "scrolled into view";

    // The marked row is the one Change and Remove act on.
    windowSystem.messageBoxAnswers = {IDNO};
    dialog->OnCommand(ID_REMOVE_KEY);
    EXPECT_EQ(box(1).text, QStringLiteral("Are you sure you want to remove the key 'Needle'?"));

    // Each search starts at the top again.
    search(QStringLiteral("1"));
    EXPECT_EQ(landing(), QStringLiteral("0/0:x"));
    EXPECT_EQ(probe(*dialog).m_bAccelEnabled, 1);
}

TEST_F(SearchTest, SearchNextGoesOnAndWrapsToTheTopOnce) {
    start("[a]\r\nk=hit\r\n[b]\r\nno=1\r\nk2=hit\r\n[c]\r\nhit\r\n");
    script([](QDialog& shown) { shown.reject(); });
    dialog->OnCommand(ID_SEARCH_NEXT);
    ASSERT_EQ(windowSystem.modalRuns.size(), 1U) << "without an earlier search it asks for the text";

    search(QStringLiteral("hit"));
    EXPECT_EQ(landing(), QStringLiteral("0/0:k"));
    QStringList landings;
    for (int i = 0; i < 3; ++i) {
        dialog->OnCommand(ID_SEARCH_NEXT);
        landings << landing();
    }
    EXPECT_EQ(landings, (QStringList{"1/1:k2", "2/0:", "0/0:k"}));
    EXPECT_TRUE(windowSystem.messageBoxes.empty());

    search(QString::fromUtf8("\xCE\xA9"));
    dialog->OnCommand(ID_SEARCH_NEXT);
    ASSERT_EQ(windowSystem.messageBoxes.size(), 2U) << "text the file cannot hold is found nowhere";
    EXPECT_EQ(box(1).text, QStringLiteral("Search string not found."));
}

TEST_F(SearchTest, ASelectionBeforeTheRowIsShownCancelsIt) {
    start("[a]\r\nk=1\r\n[b]\r\nk=hit\r\n");
    script([](QDialog& shown) {
        shown.accept();
        EXPECT_TRUE(shown.isVisible()) << "an empty text is refused";
        type(shown, "find", QStringLiteral("hit"));
    });
    dialog->OnCommand(ID_SEARCH);
    EXPECT_EQ(box(0).text, QStringLiteral("You must enter a string to search for!"));
    EXPECT_EQ(box(0).caption, QStringLiteral("Search String Empty"));
    selectSection(0);
    QTest::qWait(200);
    EXPECT_EQ(probe(*dialog).m_list.selectedCount(), 0);
    EXPECT_EQ(rows(), QStringList{"k|1|"});
}

// Search Next goes on from the last hit only in the file it was found in; in a file opened since, it starts
// at the top. A search also catches up with sections another program added while its dialog was open.
TEST_F(SearchTest, SearchNextStartsAtTheTopOfAFileJustOpenedAndHitsLandInTheFileAsItIs) {
    start("[a]\r\nx=1\r\n[b]\r\nhit=1\r\nhit=2\r\n");
    host.write(host.simulatorFolder() / "scenery.cfg", "[Area.001]\r\nhit=3\r\n");
    search(QStringLiteral("hit"));
    EXPECT_EQ(landing(), QStringLiteral("1/0:hit"));
    dialog->OnCommand(ID_SEARCH_NEXT);
    EXPECT_EQ(landing(), QStringLiteral("1/1:hit"));
    dialog->OnCommand(ID_OPEN_SCENERYCFG);
    dialog->OnCommand(ID_SEARCH_NEXT);
    EXPECT_EQ(landing(), QStringLiteral("0/0:hit"));

    dialog->OnCommand(ID_OPEN_FS9CFG);
    script([this](QDialog& shown) {
        host.write(host.fs9Cfg(), "[new]\r\n[a]\r\nx=1\r\n[b]\r\nhit=1\r\nhit=2\r\n");
        type(shown, "find", QStringLiteral("hit"));
    });
    dialog->OnCommand(ID_SEARCH);
    EXPECT_EQ(landing(), QStringLiteral("2/0:hit"));
    EXPECT_EQ(sections(), (QStringList{"new", "a", "b"}));
}

} // namespace
} // namespace quarvel
