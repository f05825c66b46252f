// The main window's loading: where the files lie, loading a file into the section tree, the prompt to
// browse for a file that cannot be opened, the deferred-work timers, the open commands of the File menu,
// and the key list's fill when a section is selected.

#include "ui/editor/CEditorDlg.h"

#include "platform/os/FileOperations.h"
#include "sim/Fs9CfgCopy.h"
#include "store/Fs9Locations.h"
#include "store/OpenFailureText.h"
#include "store/profile/ProfileError.h"
#include "store/profile/ProfileText.h"
#include "store/registry/Exception.h"
#include "ui/framework/Cp1252.h"
#include "ui/framework/PathText.h"

#include <cerrno>

namespace quarvel {

namespace {

// The failures of opening for writing that leave a file readable: no write bit, a read-only folder or mount.
bool isWriteDenial(int errorNumber) {
    return errorNumber == EACCES || errorNumber == EPERM || errorNumber == EROFS;
}

} // namespace

void CEditorDlg::workOutLocations() {
    m_osvi = m_host.prefix().version().valueOr(platform::kDefaultWindowsVersion);
    m_strFs9CfgPath = userFs9CfgPath(m_host.prefix(), m_osvi).string();
    // Without the simulator's folder only its own files are out of reach: the user's fs9.cfg still loads.
    try {
        const SimulatorPaths paths = readSimulatorPaths(m_host.registry(), m_host.prefix());
        m_strFs9Path = paths.fs9Folder.string();
        for (const FileKindInfo& row : kFileKinds) {
            if (row.place == FilePlace::SimulatorFolder)
                pathOf(row.kind) = paths.fileOf(row.kind).string();
        }
        m_strAircraftFolder = paths.aircraftFolder.string();
    } catch (...) {
        m_windowSystem.MessageBox(this,
                                  tr("Unable to read registry to get path to Flight Simulator 9.0.\n\n"
                                     "Ability to open other cfg files will be disabled.") +
                                      "\n\n" + prefixHint(),
                                  tr("Registry Error"), MB_OK | MB_ICONEXCLAMATION);
    }
}

QString CEditorDlg::prefixHint() const {
    return tr("Quarvel looked in the Wine prefix %1; start it with --prefix DIR, or with WINEPREFIX set, to "
              "use another.")
        .arg(pathText(m_host.prefix().root().string()));
}

void CEditorDlg::SetTimer(int id, int milliseconds) {
    (id == kLoadTimer ? m_loadTimer : m_searchTimer).start(milliseconds);
}

void CEditorDlg::KillTimer(int id) {
    (id == kLoadTimer ? m_loadTimer : m_searchTimer).stop();
}

void CEditorDlg::OnTimer(int id) {
    KillTimer(id);
    if (id == kLoadTimer) {
        ReadCfg();
    } else if (id == kSearchTimer) {
        showFoundRow();
    }
}

std::string CEditorDlg::*CEditorDlg::pathMemberOf(FileKind kind) {
    switch (kind) {
    case FileKind::Fs9Cfg:
    case FileKind::OtherFs9Cfg:
        return &CEditorDlg::m_strFs9CfgPath;
    case FileKind::SceneryCfg:
        return &CEditorDlg::m_strSceneryCfgPath;
    case FileKind::DevicesCfg:
        return &CEditorDlg::m_strDevicesCfgPath;
    case FileKind::DisplayCfg:
        return &CEditorDlg::m_strDisplayCfgPath;
    case FileKind::SunEffectCfg:
        return &CEditorDlg::m_strSunEffectCfgPath;
    case FileKind::TerrainCfg:
        return &CEditorDlg::m_strTerrainCfgPath;
    case FileKind::AircraftCfg:
        return &CEditorDlg::m_strAircraftCfgPath;
    default:
        return nullptr;
    }
}

std::string& CEditorDlg::pathOf(FileKind kind) {
    if (const auto member = pathMemberOf(kind))
        return this->*member;
    return m_addedKindPaths[kind];
}

const std::string& CEditorDlg::pathOf(FileKind kind) const {
    if (const auto member = pathMemberOf(kind))
        return this->*member;
    static const std::string kNoPath;
    const auto added = m_addedKindPaths.find(kind);
    return added != m_addedKindPaths.end() ? added->second : kNoPath;
}

// An fs9.cfg other than the player's own is named by its file name, whichever command opened it.
QString CEditorDlg::titleOf(const FileKindInfo& row) const {
    QString title = QString::fromLatin1(row.title.data(), static_cast<qsizetype>(row.title.size()));
    if (row.kind == FileKind::Fs9Cfg && !isPlayersOwnFs9Cfg(m_strCfgPath))
        title = QString::fromLatin1(fileKindInfo(static_cast<int>(FileKind::OtherFs9Cfg))->title.data());
    const std::string name = row.kind == FileKind::OtherFs9Cfg
                                 ? m_strOtherCfgName
                                 : std::filesystem::path(m_strCfgPath).filename().string();
    title.replace(QStringLiteral("%s"), pathText(name));
    return m_readOnly ? tr("%1 (read-only)").arg(title) : title;
}

void CEditorDlg::ReadCfg() {
    const std::optional<FileKindInfo> row = fileKindInfo(static_cast<int>(m_fileopened));
    if (!row) {
        m_windowSystem.MessageBox(this, tr("Invalid m_fileopened value in ReadCfg()"), tr("ERROR"), MB_OK);
        return;
    }
    m_strCfgPath = pathOf(row->kind);
    m_strHelpIni = std::string(row->helpFile);

    // A file that can be read but not written is shown for reading; one that cannot be read is not shown.
    const platform::Result<void> writable = m_host.store().checkWritable(m_strCfgPath);
    if (!writable.ok()) {
        const platform::Result<void> readable = isWriteDenial(writable.failure().errorNumber)
                                                    ? m_host.store().checkReadable(m_strCfgPath)
                                                    : writable;
        if (!readable.ok()) {
            promptForFile(*row, readable.failure().errorNumber);
            return;
        }
    }
    m_readOnly = !writable.ok();
    m_lastHit.reset(); // Search Next starts at the top of a file just opened
    setWindowTitle(titleOf(*row));
    m_shownFile = ShownFile{row->kind, m_strCfgPath, m_strOtherCfgName, m_readOnly};
    std::optional<ProfileFile> file = readSections();
    if (!file)
        return;
    m_tree.setSections(std::move(*file));
    fitSectionPaneOnce();
    if (const int first = m_tree.firstSection(); first != CSectionTreeCtrl::kNone) {
        m_tree.scrollToTop(first);
        m_tree.selectSection(first);
    }
}

// The file's stamp is taken before the read, so that a change during the read shows as a change later.
std::optional<ProfileFile> CEditorDlg::readSections() {
    m_shownStamp = FileStamp::ofFile(m_strCfgPath);
    try {
        return m_host.store().read(m_strCfgPath);
    } catch (const ProfileError& failure) {
        // The tree must not go on showing another file's sections under this file's path.
        m_tree.deleteAllSections();
        showReadFailure(failure);
        return std::nullopt;
    }
}

// Only the first load has no file to go back to: a prompt refused later keeps the file shown before.
void CEditorDlg::promptForFile(const FileKindInfo& row, int errorNumber) {
    // The player's own fs9.cfg is missing most often because Quarvel looked in another prefix.
    const QString hint =
        row.kind == FileKind::Fs9Cfg && errorNumber == ENOENT ? prefixHint() + "\n\n" : QString();
    const QString text =
        tr("There was a problem opening the cfg file!\n\nPath = %1\n\nError = %2\n\n")
            .arg(pathText(m_strCfgPath), pathText(openFailureText(errorNumber, m_strCfgPath))) +
        hint + tr("Do you wish to browse for the file?");
    if (m_windowSystem.MessageBox(this, text, tr("Error opening file"), MB_YESNO | MB_ICONEXCLAMATION) !=
        IDYES) {
        keepShownFile();
        return;
    }
    FileDialogRequest request =
        cfgFileDialog(true, row.kind == FileKind::OtherFs9Cfg ? m_strOtherCfgName : std::string(row.fileName),
                      kOpenCfgFlags);
    request.startFolder = platform::nearestExistingFolder(m_strCfgPath).string();
    const std::optional<std::string> chosen = m_windowSystem.FileDialog(this, request);
    if (!chosen) {
        keepShownFile();
        return;
    }
    pathOf(row.kind) = *chosen;
    SetTimer(kLoadTimer, 100);
}

bool CEditorDlg::isPlayersOwnFs9Cfg(const std::string& path) const {
    const std::filesystem::path own = userFs9CfgPath(m_host.prefix(), m_osvi);
    return path == own.string() || sim::isSameFile(path, own);
}

void CEditorDlg::keepShownFile() {
    if (!m_shownFile) {
        EndDialog(0);
        return;
    }
    m_fileopened = m_shownFile->kind;
    pathOf(m_shownFile->kind) = m_shownFile->path;
    m_strOtherCfgName = m_shownFile->otherCfgName;
    m_strCfgPath = m_shownFile->path;
    m_strHelpIni = std::string(fileKindInfo(static_cast<int>(m_shownFile->kind))->helpFile);
    m_readOnly = m_shownFile->readOnly;
}

FileDialogRequest CEditorDlg::cfgFileDialog(bool open, std::string presetName, unsigned flags) {
    FileDialogRequest request;
    request.open = open;
    request.defaultExt = QStringLiteral("cfg");
    request.presetName = std::move(presetName);
    request.filter = tr("Flight Simulator Configuration Files (*.cfg)|*.cfg|All Files|*.*||");
    request.flags = flags;
    return request;
}

void CEditorDlg::showReadFailure(const std::exception& failure) {
    m_windowSystem.MessageBox(this, pathText(failure.what()), tr("Error reading file"),
                              MB_OK | MB_ICONEXCLAMATION);
}

void CEditorDlg::openKind(FileKind kind) {
    m_fileopened = kind;
    ReadCfg();
}

void CEditorDlg::OnOpenFs9Cfg() {
    openKind(FileKind::Fs9Cfg);
}

void CEditorDlg::OnOpenSceneryCfg() {
    openKind(FileKind::SceneryCfg);
}

void CEditorDlg::OnOpenDevicesCfg() {
    openKind(FileKind::DevicesCfg);
}

void CEditorDlg::OnOpenDisplayCfg() {
    openKind(FileKind::DisplayCfg);
}

void CEditorDlg::OnOpenSunEffectCfg() {
    openKind(FileKind::SunEffectCfg);
}

void CEditorDlg::OnOpenTerrainCfg() {
    openKind(FileKind::TerrainCfg);
}

void CEditorDlg::OnSelchangedSectionTree(int item) {
    if (item == CSectionTreeCtrl::kNone) {
        KillTimer(kSearchTimer);
        m_list.deleteAllRows();
        return;
    }
    try {
        showSectionOf(m_host.store().read(m_strCfgPath), item);
    } catch (const ProfileError& failure) {
        KillTimer(kSearchTimer);
        m_list.deleteAllRows();
        showReadFailure(failure);
    }
}

void CEditorDlg::showSectionOf(const ProfileFile& profile, int item) {
    // A search hit waiting to be selected belongs to the list as it was.
    KillTimer(kSearchTimer);
    const SectionRef section = sectionRefOf(item);
    fillKeyList(profile.sectionLines(section), section.name);
}

// Decoding is one character per byte, so encoding a shown name gives back the file's own bytes; names
// of another length cannot be the same name.
SectionRef CEditorDlg::sectionRefOf(int item) const {
    SectionRef section{std::string(m_tree.sectionName(item)), 0, std::nullopt};
    if (item == 0 || m_tree.isFirstOfItsName(item))
        return section;
    for (int earlier = 0; earlier < item; ++earlier) {
        if (profile_text::namesEqual(m_tree.sectionName(earlier), section.name))
            ++section.occurrence;
    }
    return section;
}

void CEditorDlg::fillKeyList(std::span<const std::string_view> lines, const std::string& section) {
    m_list.deleteAllRows();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const profile_text::KeyValue entry = profile_text::splitKeyLine(lines[i]);
        const int row = m_list.insertRow(static_cast<int>(i), decodeCp1252(entry.key));
        m_list.setItemText(row, 1, decodeCp1252(entry.value));
        if (const auto help = m_host.help().LookupKeyHelp(m_strHelpIni, section, entry.key))
            m_list.setItemText(row, 2, decodeCp1252(*help));
    }
    m_list.autoSizeColumns();
}

} // namespace quarvel
