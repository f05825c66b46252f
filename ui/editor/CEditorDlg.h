#pragma once

#include "platform/wine/WindowsVersion.h"
#include "store/FileKind.h"
#include "store/profile/EditJournal.h"
#include "store/profile/FileStamp.h"
#include "store/profile/LineRef.h"
#include "store/profile/ProfileFile.h"
#include "store/profile/SectionRef.h"
#include "ui/controls/CKeyListCtrl.h"
#include "ui/controls/CSectionTreeCtrl.h"
#include "ui/controls/CSplitterBar.h"
#include "ui/editor/EditorHost.h"
#include "ui/framework/CCmdUI.h"
#include "ui/framework/CDialog.h"
#include "ui/framework/CommandTable.h"
#include "ui/framework/ControlLayout.h"
#include "ui/framework/WindowSystem.h"

#include <QIcon>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace quarvel {

// The main window: the section tree on the left, the key list on the right, the splitter bar between
// them and the menu bar above. It owns every path and the open file's kind for the whole run, and routes
// every command through its table, where each command's rule decides whether it may run.
class CEditorDlg : public CDialog {
    Q_OBJECT
public:
    CEditorDlg(WindowSystem& windowSystem, EditorHost& host, QWidget* parent = nullptr);
    ~CEditorDlg() override;
    CEditorDlg(const CEditorDlg&) = delete;
    CEditorDlg& operator=(const CEditorDlg&) = delete;

    // Whether the accelerators may fire now: not while a text field of a dialog takes the keys.
    bool acceleratorsEnabled() const { return m_bAccelEnabled != 0; }

    // The one-shot timers: the deferred load, and the selection of a search hit.
    static constexpr int kLoadTimer = 101;
    static constexpr int kSearchTimer = 102;
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    void OnTimer(int id);

    // Loads the file of the kind in m_fileopened: its path and help file become current, the title names
    // the kind, and the tree lists the file's sections with the first one selected. A file that cannot be
    // opened brings up the prompt to browse for it.
    void ReadCfg();
    // Refills the key list from the section the tree now shows as selected (none: the list is emptied).
    void OnSelchangedSectionTree(int item);
    // When another program has changed the open file since the tree and list were filled, fills them
    // again, keeping the selected section (by name and occurrence), the list's scroll position, and its
    // selected row while that row still holds the same line. Runs when the window gets the focus and
    // before every command.
    void followOutsideChanges();

    // The key commands: each acts on the marked row of the key list, or adds a row to the section shown.
    void OnDblclkKeyList();
    void OnChangeKey();
    void OnAddKey();
    void OnRemoveKey();
    // The section commands.
    void OnAddSection();
    void OnRemoveSection();
    // Take back the open file's last edit, or make again the last one taken back.
    void OnUndo();
    void OnRedo();
    // Search from the top with a text the user gives; Search Next goes on after the last hit.
    void OnSearch();
    void OnSearchNext();

    // The section a tree item shows: its name as the file's bytes and which section of that name it is.
    SectionRef sectionRefOf(int item) const;
    // The same with what the player sees of it, for an edit of the selected section.
    SectionRef shownSectionRefOf(int item) const;

    enum class LayoutMode { Record, Apply };
    // Record measures the margins from the controls as placed now; Apply fits tree, list and splitter bar
    // to the client area and the bar's current place.
    void LayoutControls(LayoutMode mode);
    // The frame changed (the splitter bar moved): fit the controls again.
    void OnNcCalcSize();

    // A command from the menu bar or an accelerator; dropped when its rule says it is unavailable.
    bool OnCommand(int id);
    // The enabling pass over one menu, before it opens.
    void OnInitMenuPopup(QMenu& menu);
    // The enabling pass over the whole menu bar, when the event queue has run empty. Returns whether
    // further idle passes are wanted.
    bool OnKickIdle(int idleCount);

    CommandTable& commands() { return m_commands; }
    QMenuBar& mainMenu() { return *m_menuBar; }
    // The menu bar's item of a command, in a drop-down or on the bar itself; none when it has no item.
    QAction* menuItem(int id) const;

    // The enabling rules: each reads the window's state and enables or grays one item.
    void OnUpdateSectionSelected(CCmdUI& cmdUI) const;
    void OnUpdateKeySelected(CCmdUI& cmdUI) const;
    void OnUpdateAlways(CCmdUI& cmdUI) const;
    void OnUpdateWritable(CCmdUI& cmdUI) const;
    void OnUpdateOpenFs9Cfg(CCmdUI& cmdUI) const;
    void OnUpdateOpenSceneryCfg(CCmdUI& cmdUI) const;
    void OnUpdateOpenDevicesCfg(CCmdUI& cmdUI) const;
    void OnUpdateOpenDisplayCfg(CCmdUI& cmdUI) const;
    void OnUpdateOpenSunEffectCfg(CCmdUI& cmdUI) const;
    void OnUpdateOpenTerrainCfg(CCmdUI& cmdUI) const;
    void OnUpdateFs9CfgOpen(CCmdUI& cmdUI) const;
    void OnUpdateUndo(CCmdUI& cmdUI) const;
    void OnUpdateRedo(CCmdUI& cmdUI) const;

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnSize() override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class EditorDlgProbe; // the tests' view of the state below

    // The window's state; the commands read and change it directly.
    int m_bAccelEnabled = 1; // accelerators fire only while non-zero
    CSplitterBar m_splitter;
    CSectionTreeCtrl m_tree;
    CKeyListCtrl m_list;
    std::string m_strFs9Path;         // the simulator's folder
    std::string m_strOtherCfgName;    // file name of the other fs9.cfg chosen by the user
    std::string m_strAircraftCfgPath; // the chosen aircraft.cfg
    int m_nFoundItem = -1;            // key list row a search hit selects
    FileKind m_fileopened = FileKind::Fs9Cfg;
    std::string m_strCfgPath; // the open file
    std::string m_strHelpIni; // help file name of the open kind
    std::string m_strSceneryCfgPath;
    std::string m_strDevicesCfgPath;
    std::string m_strDisplayCfgPath;
    std::string m_strSunEffectCfgPath;
    std::string m_strTerrainCfgPath;
    std::string m_strAircraftFolder;
    std::string m_strFs9CfgPath;                      // the fs9.cfg that kinds Fs9Cfg and OtherFs9Cfg open
    platform::WindowsVersion m_osvi;                  // decides where the user's fs9.cfg lies
    std::map<FileKind, std::string> m_addedKindPaths; // the paths of kinds without a member of their own
    QIcon m_hIcon;

    void placeTemplateControls();
    QSize firstClientSize();
    // The first file loaded widens the section pane for its names, up to a third of the window; after
    // that the pane keeps the width the player gives it.
    void fitSectionPaneOnce();
    void createMainMenu();
    void buildCommandTable();
    void connectNotifications();
    void updateMenuBar();
    void runContextMenu(int menuResourceId);
    void updateOpenCommand(CCmdUI& cmdUI, FileKind kind) const;

    void workOutLocations();
    // The member that holds the path of a kind's file; none for a kind added to the table since.
    static std::string CEditorDlg::*pathMemberOf(FileKind kind);
    // Where the path of a kind's file is kept: the member of a kind the window has always had, or a place
    // of its own for a kind added to the table of kinds since.
    std::string& pathOf(FileKind kind);
    const std::string& pathOf(FileKind kind) const;
    QString titleOf(const FileKindInfo& row) const;
    bool isPlayersOwnFs9Cfg(const std::string& path) const;
    void promptForFile(const FileKindInfo& row, int errorNumber);
    // After a refused prompt: the file shown before stays open; at start-up, with none, the program ends.
    void keepShownFile();
    // One line on how to point Quarvel at another Wine prefix, naming the one in use.
    QString prefixHint() const;
    void showReadFailure(const std::exception& failure);
    std::optional<ProfileFile> readSections();
    std::vector<std::string_view> shownSectionNames() const;
    void followAfterFocus();
    void adoptOwnWrite();
    void openKind(FileKind kind);

    // The file dialogs for configuration files: open (browse, Open Other) and save (Save As).
    static constexpr unsigned kOpenCfgFlags =
        OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_FORCESHOWHIDDEN;
    static constexpr unsigned kSaveCfgFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT |
                                              OFN_NOREADONLYRETURN | OFN_ENABLESIZING | OFN_FORCESHOWHIDDEN;
    static FileDialogRequest cfgFileDialog(bool open, std::string presetName, unsigned flags);

    bool launchesPlayersOwnFs9Cfg() const;
    void showLaunchFailure(const QString& reason);

    void OnOpenFs9Cfg();
    void OnOpenSceneryCfg();
    void OnOpenDevicesCfg();
    void OnOpenDisplayCfg();
    void OnOpenSunEffectCfg();
    void OnOpenTerrainCfg();
    void OnOpenAircraftCfg();
    void OnDonate();
    void OnOpenOtherFs9Cfg();
    void OnSaveFs9CfgAs();
    void OnLaunchFs9();
    void OnAppAbout();
    void OnAppExit();
    void OnRclickKeyList();
    void OnRclickSectionTree();

    void connectEditingNotifications();
    void fillKeyList(std::span<const std::string_view> lines, const std::string& section);
    // Fills the key list with a tree item's section as this version of the file has it.
    void showSectionOf(const ProfileFile& profile, int item);
    LineRef lineRefOf(int section, int row) const;
    bool isWholeLineValue(int section, int row) const;
    int runTextDialog(QDialog& dialog);
    // Runs a write; false once the user has been told why it failed.
    bool writeToFile(const std::function<void()>& write);
    // Runs a write the player asked for as a new entry of the open file's journal, or as part of the
    // entry the command began; file is the path the write gives the store.
    bool writeEdit(const std::string& file, const std::function<void()>& write);
    bool writeEditPart(const std::string& file, const std::function<void()>& write);
    void stepJournal(std::optional<EditJournal::Entry> (EditJournal::*step)(const std::string&));
    void showJournalStep(const EditJournal::Entry& done);
    void tellCopyFailure();
    void searchFrom(ProfileDocument::LinePlace from, bool wrap);
    void showSearchHit(const ProfileFile& profile, ProfileDocument::LinePlace hit);
    void showFoundRow();

    WindowSystem& m_windowSystem;
    EditorHost& m_host;
    QTimer m_loadTimer;
    QTimer m_searchTimer;
    QTimer m_focusTimer; // runs followAfterFocus once the activation is over
    QMenuBar* m_menuBar = nullptr;
    CommandTable m_commands;
    ControlLayout m_layout;
    bool m_sectionPaneFitted = false;
    QString m_lastFind;                                  // the text of the last search
    std::optional<ProfileDocument::LinePlace> m_lastHit; // where it was found
    // The file the tree shows, as it was opened.
    struct ShownFile {
        FileKind kind = FileKind::Fs9Cfg;
        std::string path;
        std::string otherCfgName;
        bool readOnly = false;
    };
    std::optional<ShownFile> m_shownFile;
    bool m_readOnly = false; // the open file can be read but not written: the edit commands are gray
    // The open file's stamp when the tree was last filled from it, or after the window's own write to the
    // file as filled; nothing before the first fill.
    std::optional<std::optional<FileStamp>> m_shownStamp;
};

} // namespace quarvel
