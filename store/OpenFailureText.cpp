#include "store/OpenFailureText.h"

#include <cerrno>
#include <string_view>

namespace quarvel {
namespace {

// One sentence per cause; %1 stands for the file.
std::string_view sentenceFor(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return "No error occurred.";
    case ENOENT:
        return "%1 was not found.";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return "%1 contains an invalid path.";
    case EMFILE:
    case ENFILE:
        return "%1 could not be opened because there are too many open files.";
    case EACCES:
    case EPERM:
    case EROFS:
        return "Access to %1 was denied.";
    case EISDIR:
        return "%1 is a folder, not a file.";
    case EBADF:
        return "An invalid file handle was associated with %1.";
    case EIO:
        return "A hardware I/O error was reported while accessing %1.";
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return "A sharing violation occurred while accessing %1.";
    case ENOLCK:
        return "A locking violation occurred while accessing %1.";
    case ENOSPC:
    case EDQUOT:
        return "Disk full while accessing %1.";
    case ESPIPE:
        return "Seek failed on %1";
    default:
        return "An unknown error occurred while accessing %1.";
    }
}

} // namespace

std::string openFailureText(int errorNumber, const std::string& path) {
    const std::string_view sentence = sentenceFor(errorNumber);
    const std::string file = path.empty() ? "an unnamed file" : path;
    std::string text;
    const std::size_t marker = sentence.find("%1");
    if (marker == std::string_view::npos)
        return std::string(sentence);
    text.append(sentence.substr(0, marker)).append(file).append(sentence.substr(marker + 2));
    return text;
}

} // namespace quarvel
