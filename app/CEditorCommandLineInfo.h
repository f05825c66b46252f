#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

class WindowSystem;

// What the command line asked for. Parameters starting with the letter c carry a path; "?" asks for help,
// which is shown at once, once per parameter; anything else is accepted and has no effect.
class CEditorCommandLineInfo {
public:
    explicit CEditorCommandLineInfo(WindowSystem& windowSystem) : m_windowSystem(&windowSystem) {}

    // Runs ParseParam for each argument after the program's name, left to right. One leading "/" or "-"
    // is taken off first and makes the argument a flag.
    void ParseCommandLine(const std::vector<std::string>& arguments);
    void ParseParam(std::string_view param, bool isFlag, bool isLast);

    std::string m_strPath; // the text after a parameter's letter c
    int m_bHelp = 0;       // 1 once a "?" parameter was seen

private:
    WindowSystem* m_windowSystem;
};

} // namespace quarvel
