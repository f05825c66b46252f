#include "tools/WhereCommand.h"

#include "platform/wine/PrefixDiscovery.h"
#include "platform/wine/WinePrefix.h"
#include "store/FileKind.h"
#include "store/Fs9Locations.h"
#include "store/registry/Exception.h"
#include "store/registry/WineRegistry.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

class WhereReport {
public:
    WhereReport(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    void found(std::string_view name, const std::string& value) { m_out << name << '=' << value << '\n'; }

    // Wine leaves out what it cannot read of a registry file, and so does Quarvel; the player learns it here.
    void leftOut(const platform::Result<platform::RegistryHive>& hive) {
        if (!hive || hive.value().skippedLines() == 0)
            return;
        const std::size_t count = hive.value().skippedLines();
        m_err << "registry: " << count
              << (count == 1 ? " line that could not be read was" : " lines that could not be read were")
              << " left out, the first: " << hive.value().firstSkipped() << '\n';
    }

    void missing(std::string_view name, const std::string& reason) {
        found(name, "");
        m_err << name << ": " << reason << '\n';
        m_complete = false;
    }

    // Prints the path when it exists; otherwise an empty value, and the path it was looked for at.
    void existing(std::string_view name, const std::filesystem::path& path) {
        std::error_code error;
        if (std::filesystem::exists(path, error))
            found(name, path.string());
        else
            missing(name, path.string() + ": " + (error ? error.message() : "does not exist"));
    }

    int status() const { return m_complete ? 0 : 1; }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_complete = true;
};

std::string registryFailureText(const Exception& exception, const WineRegistry& registry) {
    std::string text;
    exception.GetText(text);
    if (!registry.problem().empty())
        text += " (" + registry.problem() + ")";
    return text;
}

// A path in the simulator's folder; none while the folder is unknown.
void reportInFolder(WhereReport& report, std::string_view name, const std::filesystem::path* path) {
    if (path != nullptr)
        report.existing(name, *path);
    else
        report.missing(name, "the simulator's folder is unknown");
}

} // namespace

int runWhereCommand(const platform::WinePrefix& prefix, std::ostream& out, std::ostream& err) {
    WhereReport report(out, err);
    report.existing("prefix", prefix.root());
    report.existing("windows-directory", prefix.windowsDirectory());

    if (platform::Result<std::filesystem::path> appData = prefix.appDataDirectory())
        report.existing("appdata", appData.value());
    else
        report.missing("appdata", appData.failure().message);

    const platform::Result<platform::WindowsVersion> version = prefix.version();
    if (version)
        report.found("version", version.value().text());
    else
        report.missing("version", version.failure().message);

    WineRegistry registry(prefix);
    std::optional<SimulatorPaths> paths;
    try {
        paths = readSimulatorPaths(registry, prefix);
        report.existing("fs9-folder", paths->fs9Folder);
    } catch (const Exception& exception) {
        report.missing("fs9-folder", registryFailureText(exception, registry));
    }
    report.existing("fs9.cfg", userFs9CfgPath(prefix, version.valueOr(platform::kDefaultWindowsVersion)));
    for (const FileKindInfo& row : kFileKinds) {
        if (row.place == FilePlace::SimulatorFolder)
            reportInFolder(report, row.fileName, paths ? &paths->fileOf(row.kind) : nullptr);
    }
    reportInFolder(report, "aircraft-folder", paths ? &paths->aircraftFolder : nullptr);
    report.leftOut(prefix.loadSystemRegistry());
    report.leftOut(prefix.loadUserRegistry());
    return report.status();
}

int runWhereAllCommand(const std::filesystem::path& home, std::ostream& out, std::ostream& err) {
    std::vector<platform::FoundPrefix> found;
    const platform::WinePrefix standard(home / ".wine");
    if (std::optional<std::filesystem::path> folder = platform::simulatorFolderOf(standard))
        found.push_back({standard.root(), *folder});
    for (platform::FoundPrefix& prefix : platform::findPrefixesWithSimulator(home))
        found.push_back(std::move(prefix));
    for (const platform::FoundPrefix& prefix : found)
        out << prefix.root.string() << '\t' << prefix.simulatorFolder.string() << '\n';
    if (found.empty()) {
        err << "no Wine prefix below " << home.string() << " has the simulator\n";
        return 1;
    }
    return 0;
}

} // namespace quarvel
