#pragma once

#include "platform/wine/WinePrefix.h"
#include "store/profile/ProfileStore.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace quarvel {

// The command-line face of the profile store: one sub-command per run, results on the output stream,
// one line on the error stream when something goes wrong.
class IniTool {
public:
    enum ExitCode : int { Success = 0, NotFound = 1, UsageError = 2, FileError = 3 };

    // prefix: the Wine prefix in use, whose Windows directory the store resolves bare file names in; in:
    // what `merge` reads.
    IniTool(ProfileStore& store, platform::WinePrefix prefix, std::istream& in, std::ostream& out,
            std::ostream& err);

    // The arguments after the program's name; gives the process's exit code.
    int run(const std::vector<std::string>& arguments);

    static void printUsage(std::ostream& stream);

private:
    using Arguments = std::vector<std::string>;

    int dispatch(const Arguments& arguments);
    int listSections(const Arguments& arguments);
    int printSection(const Arguments& arguments);
    int getValue(const Arguments& arguments);
    int setValue(const Arguments& arguments);
    int deleteEntry(const Arguments& arguments);
    int putSection(const Arguments& arguments);
    int merge(const Arguments& arguments);
    int search(const Arguments& arguments);
    int where(const Arguments& arguments);

    int notFound(const std::string& what);
    void printLine(std::string_view text);

    ProfileStore& m_store;
    platform::WinePrefix m_prefix;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
};

} // namespace quarvel
