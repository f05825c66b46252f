// The main window opening a scenery.cfg of 200,000 add-on areas (about 22 MB), offscreen: the time from
// the open command to the first section listed, the memory the window grows by, whether the tree
// shows every name whole, and the time from Undo (and Redo) to the result shown.
#include "bench/GeneratedProfile.h"
#include "platform/os/PosixLauncher.h"
#include "store/Fs9Locations.h"
#include "store/profile/ProfileText.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/ui/EditorDlgProbe.h"
#include "ui/editor/EditorHost.h"
#include "ui/editor/ResourceIds.h"
#include "ui/framework/QtWindowSystem.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <vector>

namespace quarvel::bench {
namespace {

constexpr int sectionCount = 200'000;
constexpr int reopenings = 5;
constexpr double openLimitMs = 100;
constexpr double growthLimit = 3; // times the file's size
constexpr int undoRounds = 5;
constexpr double undoLimitMs = 100;

// Resident memory of this process, in bytes.
double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// A prefix beside the generated file whose simulator folder is that file's folder, with an empty fs9.cfg.
std::unique_ptr<EditorHost> hostFor(const GeneratedProfile& scenery) {
    const std::filesystem::path prefix = scenery.folder() / "prefix";
    std::filesystem::create_directories(prefix / "drive_c" / "windows");
    auto registry = std::make_unique<test::MemoryRegistry>();
    registry->putString(HKEY_LOCAL_MACHINE, kFs9RegistryKey, kFs9ExePathValue, "C:\\FS9");
    std::filesystem::create_directory_symlink(scenery.folder(), prefix / "drive_c" / "FS9");
    auto host = std::make_unique<EditorHost>(
        platform::WinePrefix(prefix), std::move(registry), scenery.folder() / "no-help",
        std::make_unique<platform::PosixLauncher>(), scenery.folder() / "copies");
    const std::filesystem::path fs9Cfg = userFs9CfgPath(host->prefix(), platform::kDefaultWindowsVersion);
    std::filesystem::create_directories(fs9Cfg.parent_path());
    std::ofstream(fs9Cfg).flush();
    return host;
}

double milliseconds(std::chrono::nanoseconds duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Processor time of this process so far: on a machine shared with other work, the part of the wall time
// that was this program's own.
std::chrono::nanoseconds processorTime() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

struct OpenTime {
    double wallMs;
    double processorMs;
};

// Opens the scenery file and returns the milliseconds (wall clock) until its first section is listed and
// the window has painted.
OpenTime openScenery(CEditorDlg& dialog) {
    const auto start = std::chrono::steady_clock::now();
    const std::chrono::nanoseconds processorStart = processorTime();
    probe(dialog).m_fileopened = FileKind::SceneryCfg;
    dialog.ReadCfg();
    QApplication::processEvents();
    const OpenTime elapsed{milliseconds(std::chrono::steady_clock::now() - start),
                           milliseconds(processorTime() - processorStart)};
    if (probe(dialog).m_list.rowCount() == 0)
        throw std::runtime_error("the first section was not listed");
    return elapsed;
}

// A value changed in a section in the middle of the file, as the Change command writes it and notes it,
// and the window told of it; then the milliseconds of that write, from Undo to the result painted, and
// from Redo.
struct UndoTimes {
    double edit;
    double undo;
    double redo;
};
UndoTimes undoAndRedo(CEditorDlg& dialog, EditorHost& host, const GeneratedProfile& scenery, int round) {
    const std::string& path = probe(dialog).m_strCfgPath;
    const SectionRef section{scenery.sectionNames()[scenery.sectionNames().size() / 2], 0, std::nullopt};
    const std::string line = host.store().sectionLines(path, section).front();
    const profile_text::KeyValue split = profile_text::splitKeyLine(line);
    host.journal().beginEntry(path);
    const auto editStart = std::chrono::steady_clock::now();
    host.store().writeValueAt(path, LineRef{section, 0, std::string(split.key), std::string(split.value)},
                              "Changed " + std::to_string(round));
    const double edit = milliseconds(std::chrono::steady_clock::now() - editStart);
    host.journal().noteWrite(path, path);
    dialog.followOutsideChanges();
    QApplication::processEvents();
    const auto timed = [&dialog](int command) {
        const auto start = std::chrono::steady_clock::now();
        if (!dialog.OnCommand(command))
            throw std::runtime_error("the command was not offered");
        QApplication::processEvents();
        return milliseconds(std::chrono::steady_clock::now() - start);
    };
    const double undo = timed(ID_EDIT_UNDO);
    if (probe(dialog).m_tree.sectionText(probe(dialog).m_tree.selectedSection()).toStdString() !=
        section.name)
        throw std::runtime_error("the undone section was not selected");
    const double redo = timed(ID_EDIT_REDO);
    timed(ID_EDIT_UNDO);
    return {edit, undo, redo};
}

bool namesShownWhole(CEditorDlg& dialog, const GeneratedProfile& scenery) {
    const QFontMetrics metrics(probe(dialog).m_tree.font());
    int widest = 0;
    for (const std::string& name : scenery.sectionNames())
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(name)));
    // Rows are all of one width, at least the view's; the first stands for them all.
    const int rowWidth =
        probe(dialog).m_tree.sizeHintForIndex(probe(dialog).m_tree.model()->index(0, 0)).width();
    std::cout << "Widest name " << widest << " px, tree rows " << rowWidth << " px\n";
    return rowWidth >= widest;
}

} // namespace
} // namespace quarvel::bench

int main(int argc, char** argv) {
    using namespace quarvel;
    using namespace quarvel::bench;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const GeneratedProfile scenery({GeneratedProfile::Style::SceneryAreas, sectionCount, "scenery.cfg"});
    const double fileBytes = static_cast<double>(scenery.bytes().size());
    std::cout << "File: " << scenery.bytes().size() << " bytes, " << sectionCount << " sections, CRLF\n"
              << "Waiting for it to settle, as a scenery.cfg on a player's disk has...\n";
    scenery.waitUntilSettled();
    const std::unique_ptr<EditorHost> host = hostFor(scenery);
    QtWindowSystem windowSystem;
    CEditorDlg dialog(windowSystem, *host);
    dialog.show();
    dialog.KillTimer(CEditorDlg::kLoadTimer);
    QApplication::processEvents();

    // The first open reads and parses the file; later ones find it parsed in the store's cache.
    const double before = residentBytes();
    const OpenTime first = openScenery(dialog);
    const double growth = residentBytes() - before;
    std::vector<double> times;
    times.reserve(reopenings);
    for (int i = 0; i < reopenings; ++i)
        times.push_back(openScenery(dialog).wallMs);
    std::sort(times.begin(), times.end());
    const bool whole = namesShownWhole(dialog, scenery);
    std::vector<double> edits;
    std::vector<double> undos;
    std::vector<double> redos;
    for (int round = 0; round < undoRounds; ++round) {
        const UndoTimes measured = undoAndRedo(dialog, *host, scenery, round);
        edits.push_back(measured.edit);
        undos.push_back(measured.undo);
        redos.push_back(measured.redo);
    }
    for (std::vector<double>* measuredTimes : {&edits, &undos, &redos})
        std::sort(measuredTimes->begin(), measuredTimes->end());

    std::printf(
        "First open to the first section listed: %.1f ms, processor time %.1f ms  (at most %.0f ms: %s)\n",
        first.wallMs, first.processorMs, openLimitMs, first.wallMs <= openLimitMs ? "ok" : "EXCEEDED");
    std::printf("Open again (file parsed in the cache): median %.1f ms of %d\n", times[times.size() / 2],
                reopenings);
    std::printf("Memory the first open added: %.1f MB, %.2fx the file  (at most %.0fx: %s)\n", growth / 1e6,
                growth / fileBytes, growthLimit, growth <= growthLimit * fileBytes ? "ok" : "EXCEEDED");
    std::printf("Every name shown whole: %s\n", whole ? "yes" : "NO");
    std::printf("Undo to the result shown: median %.1f ms, slowest %.1f ms of %d  (at most %.0f ms: %s)\n",
                undos[undos.size() / 2], undos.back(), undoRounds, undoLimitMs,
                undos.back() <= undoLimitMs ? "ok" : "EXCEEDED");
    std::printf("Redo to the result shown: median %.1f ms, slowest %.1f ms of %d\n", redos[redos.size() / 2],
                redos.back(), undoRounds);
    std::printf("The edit's own write of the whole file, durable: median %.1f ms\n", edits[edits.size() / 2]);
    return first.wallMs <= openLimitMs && growth <= growthLimit * fileBytes && whole &&
                   undos.back() <= undoLimitMs
               ? 0
               : 1;
}
