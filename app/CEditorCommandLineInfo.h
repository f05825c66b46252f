#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

class WindowSystem;

// What the command line asked for. Parameters starting with the letter c carry a path; "?" asks for help,
// which is shown at once, once per parameter; "--help" and "-h" ask for the usage on the terminal;
// "--prefix DIR" names the Wine prefix; anything else is accepted and has no effect.
class CEditorCommandLineInfo {
public:
    // windowSystem shows the help box of "?"; without one (before the program has a display) a "?" is
    // only noted.
    CEditorCommandLineInfo(WindowSystem* windowSystem, std::ostream& out, std::ostream& err)
        : m_windowSystem(windowSystem), m_out(&out), m_err(&err) {}

    // Runs ParseParam for each argument after the program's name, left to right. One leading "/" or "-"
    // is taken off first and makes the argument a flag. The prefix option and its folder are taken out
    // first, so that a folder such as /cdrive/fs9 is never read as a parameter.
    void ParseCommandLine(const std::vector<std::string>& arguments);
    void ParseParam(std::string_view param, bool isFlag, bool isLast);

    // Whether start-up ends here, without a window: after a help parameter, a path parameter, or a prefix
    // option without its folder. Before it answers, the usage goes to standard output when it was asked
    // for, and the other two are explained on standard error, so that the program never ends without a
    // word on the terminal.
    bool endsStartUp() const;

    // The process's exit status once start-up has ended here: 2, as other command-line programs give, when
    // the command line asked for what Quarvel does not do (a path parameter, a prefix option without its
    // folder); else 0.
    int exitStatus() const;
    static constexpr int kMisusedExitStatus = 2;

    std::string m_strPath;               // the text after a parameter's letter c
    int m_bHelp = 0;                     // 1 once a "?" parameter was seen
    bool m_usageAsked = false;           // "--help" or "-h" was given
    std::optional<std::string> m_prefix; // the folder of the prefix option, the last one given
    bool m_prefixWithoutFolder = false;  // the prefix option ended the command line

    // The folder of the shipped key descriptions, which the usage names; empty when none was found.
    std::filesystem::path m_shippedHelpFolder;

private:
    WindowSystem* m_windowSystem;
    std::ostream* m_out;
    std::ostream* m_err;
};

} // namespace quarvel
