#include "FakeWindowSystem.h"

#include "ui/dialogs/CPrefixChooserDlg.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quarvel {
namespace {

using platform::FoundPrefix;

const platform::PrefixChoice kSeveral{platform::WinePrefix("/home/player/.wine"),
                                      {FoundPrefix{"/home/player/.PlayOnLinux/wineprefix/FS2004", "/p/FS9"},
                                       FoundPrefix{"/home/player/Games/fs9", "/g/FS9"}}};

QPushButton* button(QDialog& dialog, const QString& text) {
    for (QPushButton* candidate : dialog.findChildren<QPushButton*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

TEST(PrefixChooserTest, OffersEachPrefixWithItsSimulatorFolderAndADoubleClickOpensIt) {
    test::FakeWindowSystem windowSystem;
    QStringList rows;
    windowSystem.modalScripts.emplace_back([&rows](QDialog& shown) {
        auto& chooser = dynamic_cast<CPrefixChooserDlg&>(shown);
        QTreeWidget& list = chooser.list();
        EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Prefix"));
        EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("Simulator folder"));
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            rows << list.topLevelItem(row)->text(0) + "|" + list.topLevelItem(row)->text(1);
        EXPECT_NE(button(shown, QStringLiteral("Open")), nullptr);
        QTreeWidgetItem* second = list.topLevelItem(1);
        const QPoint centre = list.visualItemRect(second).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
    });
    EXPECT_EQ(CPrefixChooserDlg::select(windowSystem, kSeveral).root(), "/home/player/Games/fs9");
    ASSERT_EQ(windowSystem.modalRuns.size(), 1U);
    EXPECT_EQ(windowSystem.modalRuns[0].title, QStringLiteral("Choose a Wine prefix"));
    EXPECT_EQ(rows, (QStringList{"/home/player/.PlayOnLinux/wineprefix/FS2004|/p/FS9",
                                 "/home/player/Games/fs9|/g/FS9"}));
}

TEST(PrefixChooserTest, OpenTakesTheMarkedRowAndCancelKeepsTheDefault) {
    test::FakeWindowSystem windowSystem;
    windowSystem.modalScripts.emplace_back(
        [](QDialog& shown) { button(shown, QStringLiteral("Open"))->click(); });
    windowSystem.modalScripts.emplace_back(
        [](QDialog& shown) { button(shown, QStringLiteral("Cancel"))->click(); });
    EXPECT_EQ(CPrefixChooserDlg::select(windowSystem, kSeveral).root(),
              "/home/player/.PlayOnLinux/wineprefix/FS2004");
    EXPECT_EQ(CPrefixChooserDlg::select(windowSystem, kSeveral).root(), "/home/player/.wine");

    // Nothing to offer: no dialog at all.
    EXPECT_EQ(CPrefixChooserDlg::select(windowSystem, {platform::WinePrefix("/elsewhere"), {}}).root(),
              "/elsewhere");
    EXPECT_EQ(windowSystem.modalRuns.size(), 2U);
}

} // namespace
} // namespace quarvel
