#include "app/CEditorCommandLineInfo.h"

#include "platform/wine/PrefixOption.h"
#include "ui/framework/WindowSystem.h"

#include <QString>

#include <algorithm>

namespace quarvel {

namespace {

constexpr std::string_view kUsage =
    "Usage: quarvel [--prefix DIR] [--help] [/?]\n"
    "Edits the configuration files of Flight Simulator 9 (fs9.cfg, scenery.cfg, aircraft.cfg and the\n"
    "others) where Wine installed the simulator.\n"
    "\n"
    "Options:\n"
    "  --prefix DIR    use the Wine prefix in DIR (also --prefix=DIR); above WINEPREFIX\n"
    "  -h, --help      print this text and end\n"
    "  /?, -?          show the short command-line help in a box and end\n"
    "  c...            any parameter beginning with the letter c (also /c... or -c..., such as\n"
    "                  custom.cfg) ends Quarvel without a window; /c alone is ignored\n"
    "\n"
    "Environment:\n"
    "  WINEPREFIX      the Wine prefix that holds the simulator. Without it and --prefix, Quarvel takes\n"
    "                  ~/.wine when it has the simulator, else looks for it in the prefixes of\n"
    "                  winetricks, PlayOnLinux, ~/Games, Bottles and CrossOver\n"
    "  WINE            the Wine program that starts the simulator (default: wine, else wine64)\n";

constexpr std::string_view kHelpFilesFirst =
    "\nKey descriptions: your own help files (fs9help.ini and the others) in the Wine prefix's\n"
    "drive_c/windows first, then the ones shipped with Quarvel";
constexpr std::string_view kShippedHelpMissing = ",\nwhich are missing (neither help/ beside the program nor "
                                                 "../share/quarvel/help from its folder exists)\n";

constexpr std::string_view kPrefixWithoutFolder = "quarvel: --prefix needs a folder (see quarvel --help)\n";

constexpr std::string_view kPathEnds =
    "quarvel: a parameter beginning with \"c\" ends Quarvel without a window (see quarvel --help)\n";

// The usage as a box shows it: the box wraps lines at its own width in a proportional font, so a line the
// terminal text broke (a sentence, an option's description under its column) is joined to the one before.
QString usageForBox() {
    constexpr std::string_view kDescriptionColumn = "                ";
    QString joined;
    std::string_view previous;
    std::string_view rest = kUsage;
    while (!rest.empty()) {
        const std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        const bool continues = line.starts_with(kDescriptionColumn) ||
                               (!line.empty() && line.front() != ' ' && !previous.empty() &&
                                !previous.ends_with(':') && !previous.starts_with("Usage:"));
        const std::string_view text = continues ? line.substr(line.find_first_not_of(' ')) : line;
        joined += (joined.isEmpty() ? ""
                   : continues      ? " "
                                    : "\n") +
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        previous = line;
    }
    return joined;
}

} // namespace

void CEditorCommandLineInfo::ParseCommandLine(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (const std::optional<platform::PrefixOption> option = platform::matchPrefixOption(arguments[i])) {
            if (!option->valueFollows)
                m_prefix = option->value;
            else if (i + 1 < arguments.size())
                m_prefix = arguments[++i];
            else
                m_prefixWithoutFolder = true;
            continue;
        }
        std::string_view param = arguments[i];
        const bool isFlag = !param.empty() && (param.front() == '/' || param.front() == '-');
        if (isFlag)
            param.remove_prefix(1);
        ParseParam(param, isFlag, i + 1 == arguments.size());
    }
}

// The letter is compared as it stands: "c" counts, "C" does not, with or without a leading "/" or "-".
void CEditorCommandLineInfo::ParseParam(std::string_view param, bool isFlag, bool /*isLast*/) {
    if (param.empty())
        return;
    if (param.front() == 'c') {
        m_strPath.assign(param.substr(1));
    } else if (param.front() == '?') {
        m_bHelp = 1;
        if (m_windowSystem != nullptr)
            m_windowSystem->MessageBox(nullptr, QStringLiteral("Command Line Help:\n\n") + usageForBox(),
                                       QStringLiteral("Quarvel"), MB_ICONINFORMATION | MB_OK);
    } else if (isFlag && (param == "-help" || param == "h")) {
        m_usageAsked = true;
    }
}

bool CEditorCommandLineInfo::endsStartUp() const {
    if (m_usageAsked) {
        *m_out << kUsage << kHelpFilesFirst;
        if (m_shippedHelpFolder.empty())
            *m_out << kShippedHelpMissing;
        else
            *m_out << " in " << m_shippedHelpFolder.string() << '\n';
        *m_out << std::flush;
    }
    if (m_prefixWithoutFolder)
        *m_err << kPrefixWithoutFolder << std::flush;
    if (!m_strPath.empty())
        *m_err << kPathEnds << std::flush;
    return m_usageAsked || m_bHelp == 1 || m_prefixWithoutFolder || !m_strPath.empty();
}

int CEditorCommandLineInfo::exitStatus() const {
    return m_prefixWithoutFolder || !m_strPath.empty() ? kMisusedExitStatus : 0;
}

} // namespace quarvel
