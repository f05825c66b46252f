// The main window's ties to the simulator: opening another fs9.cfg, saving a copy of the one open,
// starting the simulator with it through Wine, choosing an aircraft's aircraft.cfg, and the donation page.

#include "ui/editor/CEditorDlg.h"

#include "sim/DonationPage.h"
#include "sim/Fs9CfgCopy.h"
#include "sim/InstalledAircraft.h"
#include "sim/SimulatorLaunch.h"
#include "store/Fs9Locations.h"
#include "ui/dialogs/CAircraftSelectorDlg.h"
#include "ui/framework/PathText.h"

#include <QGuiApplication>

#include <cstring>
#include <filesystem>

namespace quarvel {
namespace {

// Wine that cannot run the simulator says why on its error output, and ends with a failure status.
QString earlyEndText(const platform::ProgramEnd& end) {
    constexpr std::size_t kLinesShown = 8;
    const QString status =
        end.signal != 0
            ? CEditorDlg::tr("Wine was ended by signal %1 (%2) as it started.")
                  .arg(end.signal)
                  .arg(QString::fromLocal8Bit(strsignal(end.signal)))
            : CEditorDlg::tr("Wine ended as it started, with exit status %1.").arg(end.exitStatus);
    const std::string lines = sim::lastLines(end.errorOutput, kLinesShown);
    if (lines.empty())
        return status + "\n\n" + CEditorDlg::tr("It wrote nothing to its error output.");
    return status + "\n\n" + CEditorDlg::tr("The last lines it wrote to its error output:") + "\n\n" +
           QString::fromLocal8Bit(lines);
}

} // namespace

void CEditorDlg::OnOpenOtherFs9Cfg() {
    const std::optional<std::string> chosen =
        m_windowSystem.FileDialog(this, cfgFileDialog(true, m_strFs9CfgPath, kOpenCfgFlags));
    if (!chosen)
        return;
    m_strFs9CfgPath = *chosen;
    m_strOtherCfgName = std::filesystem::path(*chosen).filename().string();
    openKind(FileKind::OtherFs9Cfg);
}

// Editing goes on in the source: the copy is a snapshot that already holds every edit, since each one was
// written when it was made.
void CEditorDlg::OnSaveFs9CfgAs() {
    const QString caption = tr("Save FS9.CFG As");
    std::string preset = m_strFs9CfgPath;
    while (const std::optional<std::string> chosen =
               m_windowSystem.FileDialog(this, cfgFileDialog(false, preset, kSaveCfgFlags))) {
        if (sim::isSameFile(m_strFs9CfgPath, *chosen)) {
            m_windowSystem.MessageBox(
                this, tr("%1 is the file being edited. Choose another name.").arg(pathText(*chosen)), caption,
                MB_OK | MB_ICONEXCLAMATION);
            preset = *chosen;
            continue;
        }
        try {
            sim::copyFs9Cfg(m_strFs9CfgPath, *chosen);
        } catch (const std::exception& failure) {
            m_windowSystem.MessageBox(
                this,
                tr("Quarvel could not copy %1 to %2.\n\n%3")
                    .arg(pathText(m_strFs9CfgPath), pathText(*chosen), pathText(failure.what())),
                caption, MB_OK | MB_ICONEXCLAMATION);
        }
        return;
    }
}

// The player's own fs9.cfg is the one the simulator reads without being told.
bool CEditorDlg::launchesPlayersOwnFs9Cfg() const {
    return m_fileopened == FileKind::Fs9Cfg && isPlayersOwnFs9Cfg(m_strFs9CfgPath);
}

void CEditorDlg::showLaunchFailure(const QString& reason) {
    m_windowSystem.MessageBox(this, tr("Quarvel could not start the simulator.\n\n%1").arg(reason),
                              tr("Launch FS9"), MB_OK | MB_ICONEXCLAMATION);
}

// The editor ends only once the simulator has started; until then the player can put right what stopped it.
void CEditorDlg::OnLaunchFs9() {
    std::optional<std::filesystem::path> configuration;
    if (!launchesPlayersOwnFs9Cfg())
        configuration = m_strFs9CfgPath;
    const std::variant<sim::LaunchPlan, sim::LaunchRefusal> planned =
        sim::planLaunch(m_host.prefix(), m_strFs9Path, configuration);

    if (const auto* refusal = std::get_if<sim::LaunchRefusal>(&planned)) {
        using Reason = sim::LaunchRefusal::Reason;
        switch (refusal->reason) {
        case Reason::FolderUnknown:
            showLaunchFailure(tr("The simulator's folder is not known."));
            break;
        case Reason::Missing:
            showLaunchFailure(tr("%1 does not exist.").arg(pathText(refusal->path)));
            break;
        case Reason::WineNotFound:
            showLaunchFailure(tr("Wine was not found: install it, or set WINE to its path."));
            break;
        case Reason::OutsideDrives:
            m_windowSystem.MessageBox(
                this,
                tr("%1 is outside the Wine prefix's drives, so the simulator cannot be given it.")
                    .arg(pathText(refusal->path)),
                tr("Launch FS9"), MB_OK | MB_ICONEXCLAMATION);
            break;
        }
        return;
    }
    const sim::LaunchPlan& plan = std::get<sim::LaunchPlan>(planned);
    m_windowSystem.MessageBox(this, pathText(plan.commandLine()), QString(), MB_OK);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor); // while Wine is watched
    const platform::Result<std::optional<platform::ProgramEnd>> started = plan.start(m_host.launcher());
    QGuiApplication::restoreOverrideCursor();
    if (!started) {
        showLaunchFailure(pathText(started.failure().message));
        return;
    }
    if (started.value()) {
        showLaunchFailure(earlyEndText(*started.value()));
        return;
    }
    EndDialog(0);
}

void CEditorDlg::OnDonate() {
    const std::string address = sim::donationAddress();
    if (!m_host.launcher().openWebAddress(address)) {
        m_windowSystem.MessageBox(this,
                                  tr("Quarvel could not open the donation page in a browser.\n\n%1")
                                      .arg(QString::fromStdString(address)),
                                  tr("Donate"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_windowSystem.MessageBox(this,
                              tr("Thank you for donating!  I really appreciate your contribution!\n\n"
                                 "A browser window should appear and connect to PayPal.\n"
                                 "Enter 'Quarvel' in the 'Payment For' field.\n"
                                 "Enter the donation amount in the 'Amount' field.\n\n"
                                 "Once again, Thanks! - Derrow"),
                              tr("THANK YOU!"), MB_ICONINFORMATION | MB_OK);
}

void CEditorDlg::OnOpenAircraftCfg() {
    if (m_strAircraftFolder.empty()) {
        m_windowSystem.MessageBox(this, tr("The simulator's aircraft folder is not known."),
                                  tr("Aircraft.cfg Selector"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CAircraftSelectorDlg selector(m_windowSystem, this);
    selector.m_strFolder = m_strAircraftFolder;
    if (m_windowSystem.DoModal(selector) != IDOK || selector.m_strAircraft.empty())
        return;
    m_strAircraftCfgPath = sim::aircraftCfgOf(m_strAircraftFolder, selector.m_strAircraft).string();
    openKind(FileKind::AircraftCfg);
}

} // namespace quarvel
