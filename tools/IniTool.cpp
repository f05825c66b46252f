#include "tools/IniTool.h"

#include "store/profile/ProfileError.h"
#include "tools/MergeInput.h"
#include "tools/WhereCommand.h"

#include <array>
#include <cstddef>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace quarvel {

namespace {

constexpr std::string_view kProgramName = "quarvel-ini";
constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

constexpr std::string_view kUsageText =
    R"(Usage: quarvel-ini [--prefix DIR] COMMAND [ARGUMENT...]

Reads and edits INI-style configuration files (fs9.cfg, scenery.cfg, aircraft.cfg, help files) the way
Quarvel does: names match regardless of case, and every byte a command does not change stays as it was.

Commands:
  sections FILE                    print every section name, one per line, in file order
  section FILE SECTION             print the lines of a section (KEY=VALUE, trimmed; no comments)
  get FILE SECTION KEY [DEFAULT]   print a key's value without outer quotes, or DEFAULT;
                                   exit 1 when the key is missing and no DEFAULT is given
  set FILE SECTION KEY VALUE       set a key, adding the key, the section or the file as needed
  delete FILE SECTION [KEY]        remove a key, or a whole section
  put-section FILE SECTION [LINE...]
                                   replace the content of a section with the lines, or add it
  merge FILE                       set every KEY=VALUE line of the INI text on standard input in the
                                   section of the [SECTION] line above it (blanks around KEY and VALUE
                                   dropped), as that many 'set's would one after another, but in one
                                   write; blank lines and ;comments are skipped, any other line is
                                   refused with its number (exit 2) and then nothing is written
  search FILE TEXT                 print the first section line holding TEXT (case-sensitive), in file
                                   order, as SECTION<TAB>LINE-INDEX<TAB>LINE; exit 1 when there is none
  where                            print where Windows, the simulator and its files are found in the
                                   Wine prefix; exit 1 when something is missing
  where --all                      print every Wine prefix with the simulator as PREFIX<TAB>FOLDER:
                                   ~/.wine, then those of winetricks, PlayOnLinux, ~/Games, Bottles
                                   and CrossOver; exit 1 when there is none

A FILE without a folder is looked up in the Windows directory of the Wine prefix (DIR/drive_c/windows).
The prefix is --prefix DIR (or --prefix=DIR) before the command, else $WINEPREFIX, else ~/.wine when it
has the simulator, else the one prefix of the prefix managers above that has it (~/.wine when several
do). Write ./FILE for a file in the current folder.
Output is the file's bytes as they are, one item per line.
A write waits for a file that another program changed moments ago to settle, but not for one as the
last Quarvel write left it, which each write notes in $XDG_RUNTIME_DIR/quarvel (else
$XDG_CACHE_HOME/quarvel or ~/.cache/quarvel).

Exit status: 0 success, 1 not found, 2 usage error, 3 the file could not be read or written.
)";

struct Command {
    std::string_view name;
    std::string_view arguments;
    std::size_t minimum; // arguments after the command's name
    std::size_t maximum;
    int (IniTool::*run)(const std::vector<std::string>&);
};

} // namespace

IniTool::IniTool(ProfileStore& store, platform::WinePrefix prefix, std::istream& in, std::ostream& out,
                 std::ostream& err)
    : m_store(store), m_prefix(std::move(prefix)), m_in(in), m_out(out), m_err(err) {}

void IniTool::printUsage(std::ostream& stream) {
    stream << kUsageText;
}

int IniTool::run(const Arguments& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        printUsage(m_out);
        return m_out.flush() ? Success : FileError;
    }
    int result = UsageError;
    try {
        result = dispatch(arguments);
    } catch (const ProfileError& error) {
        m_err << kProgramName << ": " << error.what() << '\n';
        return FileError;
    } catch (const std::invalid_argument& error) {
        m_err << kProgramName << ": " << error.what() << '\n';
        return UsageError;
    }
    if (!m_out.flush()) {
        m_err << kProgramName << ": cannot write the output\n";
        return FileError;
    }
    return result;
}

int IniTool::dispatch(const Arguments& arguments) {
    static constexpr std::array<Command, 9> kCommands{{
        {"sections", "FILE", 1, 1, &IniTool::listSections},
        {"section", "FILE SECTION", 2, 2, &IniTool::printSection},
        {"get", "FILE SECTION KEY [DEFAULT]", 3, 4, &IniTool::getValue},
        {"set", "FILE SECTION KEY VALUE", 4, 4, &IniTool::setValue},
        {"delete", "FILE SECTION [KEY]", 2, 3, &IniTool::deleteEntry},
        {"put-section", "FILE SECTION [LINE...]", 2, kUnlimited, &IniTool::putSection},
        {"merge", "FILE", 1, 1, &IniTool::merge},
        {"search", "FILE TEXT", 2, 2, &IniTool::search},
        {"where", "[--all]", 0, 1, &IniTool::where},
    }};
    if (arguments.empty()) {
        m_err << kProgramName << ": no command given (try '" << kProgramName << " --help')\n";
        return UsageError;
    }
    for (const Command& command : kCommands) {
        if (arguments[0] != command.name)
            continue;
        const std::size_t count = arguments.size() - 1;
        if (count < command.minimum || count > command.maximum) {
            m_err << kProgramName << ": usage: " << kProgramName << ' ' << command.name
                  << (command.arguments.empty() ? "" : " ") << command.arguments << '\n';
            return UsageError;
        }
        return (this->*command.run)(Arguments(arguments.begin() + 1, arguments.end()));
    }
    m_err << kProgramName << ": unknown command '" << arguments[0] << "' (try '" << kProgramName
          << " --help')\n";
    return UsageError;
}

int IniTool::listSections(const Arguments& arguments) {
    const ProfileFile file = m_store.read(arguments[0]);
    for (const ProfileDocument::Section& section : file.document().sections())
        printLine(section.name);
    return Success;
}

int IniTool::printSection(const Arguments& arguments) {
    const ProfileFile file = m_store.read(arguments[0]);
    for (std::string_view line : file.sectionLines(arguments[1]))
        printLine(line);
    return Success;
}

int IniTool::getValue(const Arguments& arguments) {
    const ProfileFile file = m_store.read(arguments[0]);
    if (const std::optional<std::string_view> value = file.value(arguments[1], arguments[2])) {
        printLine(*value);
        return Success;
    }
    if (arguments.size() == 4) {
        printLine(arguments[3]);
        return Success;
    }
    return notFound("no key '" + arguments[2] + "' in section '" + arguments[1] + "' of '" +
                    m_store.resolve(arguments[0]).string() + "'");
}

int IniTool::setValue(const Arguments& arguments) {
    m_store.writeString(arguments[0], arguments[1], arguments[2], arguments[3]);
    return Success;
}

int IniTool::deleteEntry(const Arguments& arguments) {
    if (arguments.size() == 3)
        m_store.deleteKey(arguments[0], arguments[1], arguments[2]);
    else
        m_store.deleteSection(arguments[0], arguments[1]);
    return Success;
}

int IniTool::putSection(const Arguments& arguments) {
    m_store.writeSection(arguments[0], arguments[1], Arguments(arguments.begin() + 2, arguments.end()));
    return Success;
}

int IniTool::merge(const Arguments& arguments) {
    const std::string text{std::istreambuf_iterator<char>(m_in), std::istreambuf_iterator<char>()};
    if (m_in.bad()) {
        m_err << kProgramName << ": cannot read the standard input\n";
        return FileError;
    }
    m_store.writeStrings(arguments[0], parseMergeInput(text));
    return Success;
}

int IniTool::search(const Arguments& arguments) {
    const std::string& text = arguments[1];
    if (text.empty()) {
        m_err << kProgramName << ": the search text is empty\n";
        return UsageError;
    }
    const ProfileFile file = m_store.read(arguments[0]);
    const ProfileDocument& document = file.document();
    if (const std::optional<ProfileDocument::LinePlace> hit = document.findText(text)) {
        const ProfileDocument::Section& section = document.sections()[hit->section];
        m_out << section.name << '\t' << hit->line << '\t';
        printLine(document.sectionLines(section)[hit->line]);
        return Success;
    }
    return notFound("'" + text + "' is in no section line of '" + m_store.resolve(arguments[0]).string() +
                    "'");
}

int IniTool::where(const Arguments& arguments) {
    if (arguments.empty())
        return runWhereCommand(m_prefix, m_out, m_err);
    if (arguments[0] != "--all") {
        m_err << kProgramName << ": usage: " << kProgramName << " where [--all]\n";
        return UsageError;
    }
    const char* home = std::getenv("HOME");
    return runWhereAllCommand(home != nullptr ? home : "", m_out, m_err) == 0 ? Success : NotFound;
}

int IniTool::notFound(const std::string& what) {
    m_err << kProgramName << ": " << what << '\n';
    return NotFound;
}

void IniTool::printLine(std::string_view text) {
    m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
    m_out.put('\n');
}

} // namespace quarvel
