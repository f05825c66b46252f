#include "app/CEditorCommandLineInfo.h"

#include "ui/WindowSystem.h"

#include <QString>

namespace quarvel {

void CEditorCommandLineInfo::ParseCommandLine(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view param = arguments[i];
        const bool isFlag = !param.empty() && (param.front() == '/' || param.front() == '-');
        if (isFlag)
            param.remove_prefix(1);
        ParseParam(param, isFlag, i + 1 == arguments.size());
    }
}

// The letter is compared as it stands: "c" counts, "C" does not, with or without a leading "/" or "-".
void CEditorCommandLineInfo::ParseParam(std::string_view param, bool /*isFlag*/, bool /*isLast*/) {
    if (param.empty())
        return;
    if (param.front() == 'c') {
        m_strPath.assign(param.substr(1));
    } else if (param.front() == '?') {
        m_bHelp = 1;
        m_windowSystem->MessageBox(nullptr, QStringLiteral("Command Line Help:"), QStringLiteral("Quarvel"),
                                   MB_ICONINFORMATION | MB_OK);
    }
}

} // namespace quarvel
