#include "store/profile/AtomicFileWriter.h"

#include "platform/os/UniqueFd.h"
#include "store/profile/ProfileError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace quarvel {

namespace {

using platform::UniqueFd;
using Step = AtomicFileWriter::Step;

constexpr int kMaxLinkDepth = 40;
constexpr int kTemporaryNameAttempts = 16;
constexpr std::size_t kHexDigitsInName = 16;

struct TestSeams {
    std::optional<AtomicFileWriter::Fault> fault;
    std::function<void(Step)> hook;
    AtomicFileWriter::SyncFunction sync = nullptr;
};

TestSeams& seams() {
    static TestSeams testSeams;
    return testSeams;
}

void hookAt(Step step) {
    if (seams().hook)
        seams().hook(step);
}

// True, with errno set, when a test has made this step fail.
bool faultAt(Step step) {
    const auto& fault = seams().fault;
    if (!fault || fault->step != step)
        return false;
    errno = fault->errorCode;
    return true;
}

int syncToDisk(int fd) {
    return seams().sync != nullptr ? seams().sync(fd) : ::fsync(fd);
}

[[noreturn]] void failWrite(const std::filesystem::path& file, int errorCode) {
    throw ProfileError(ProfileError::Operation::Write, file, errorCode);
}

[[noreturn]] void failWrite(const std::filesystem::path& file, int errorCode, const std::string& reason) {
    throw ProfileError(ProfileError::Operation::Write, file, errorCode, reason);
}

std::optional<struct stat> statusOf(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) == 0)
        return status;
    if (errno == ENOENT)
        return std::nullopt;
    failWrite(file, errno);
}

bool hasStamp(const std::optional<struct stat>& status, const std::optional<FileStamp>& stamp) {
    if (!status || !stamp)
        return !status && !stamp;
    return FileStamp::of(*status) == *stamp;
}

// "." + the target's name + ".quarvel-", with the target's name shortened so that the whole name, hex
// digits included, stays within the longest name a folder takes.
std::string temporaryPrefix(const std::filesystem::path& target) {
    static constexpr std::string_view kMarker = ".quarvel-";
    static constexpr std::size_t kLongestTargetPart = NAME_MAX - 1 - kMarker.size() - kHexDigitsInName;
    std::string prefix(1, '.');
    prefix.append(target.filename().string().substr(0, kLongestTargetPart)).append(kMarker);
    return prefix;
}

std::string temporaryName(const std::filesystem::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char digits[] = "0123456789abcdef";
    std::string name = temporaryPrefix(target);
    for (std::uint64_t bits = generator(); bits != 0; bits >>= 4)
        name += digits[bits & 0xF];
    return name;
}

bool isTemporaryOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix))
        return false;
    const std::string_view digits = name.substr(prefix.size());
    return !digits.empty() && digits.size() <= kHexDigitsInName &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(c) != 0; });
}

// What read(buffer, size) gives with a buffer of the size read(nullptr, 0) asks for, asking again when it
// grew in between; nothing, with errno set, when either call fails.
template <typename Read>
std::optional<std::string> readSized(Read read) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string buffer(static_cast<std::size_t>(size), '\0');
        const ssize_t filled = read(buffer.data(), buffer.size());
        if (filled >= 0) {
            buffer.resize(static_cast<std::size_t>(filled));
            return buffer;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
}

std::vector<std::string> splitNames(const std::string& list) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = list.find('\0', start);
        names.push_back(list.substr(start, end - start));
        start = end == std::string::npos ? list.size() : end + 1;
    }
    return names;
}

// Unsupported (no extended attributes on this file system) reads as none.
std::optional<std::vector<std::string>>
attributeNames(const std::function<ssize_t(char*, std::size_t)>& list) {
    const std::optional<std::string> names = readSized(list);
    if (!names)
        return errno == ENOTSUP ? std::optional(std::vector<std::string>()) : std::nullopt;
    return splitNames(*names);
}

// The new content until it takes the target's place. It stays unnamed, where the file system allows, until
// just before the rename, so that a writer killed before then leaves nothing behind; a named copy that does
// not reach the target's place is removed.
class NewCopy {
public:
    // mode: the permission bits it is created with, before the umask.
    NewCopy(const FolderLock& folder, const std::filesystem::path& target, mode_t mode)
        : m_folder(folder.descriptor()), m_target(target) {
        if (faultAt(Step::CreateTemporary))
            failWrite(target, errno);
        m_fd = UniqueFd(::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (!m_fd.valid() && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            failWrite(target, errno);
        if (!m_fd.valid())
            createNamed(mode);
    }

    ~NewCopy() {
        if (!m_name.empty() && !m_renamed)
            ::unlinkat(m_folder, m_name.c_str(), 0);
    }

    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;

    void write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t count =
                faultAt(Step::WriteBytes) ? -1 : ::write(m_fd.get(), bytes.data(), bytes.size());
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                failWrite(m_target, errno);
            bytes.remove_prefix(static_cast<std::size_t>(count));
        }
    }

    void takeIdentityOf(const struct stat& original) {
        if (::fchown(m_fd.get(), original.st_uid, original.st_gid) != 0)
            failWrite(m_target, errno,
                      std::string("its owner and group cannot be kept (") + std::strerror(errno) + ")");
        if (::fchmod(m_fd.get(), original.st_mode & 07777) != 0)
            failWrite(m_target, errno);
        takeAttributesOf(m_target);
    }

    void sync() {
        if (faultAt(Step::SyncFile) || syncToDisk(m_fd.get()) != 0)
            failWrite(m_target, errno);
    }

    void renameOverTarget() {
        if (m_name.empty())
            giveName();
        const std::string targetName = m_target.filename().string();
        if (faultAt(Step::Rename) || ::renameat(m_folder, m_name.c_str(), m_folder, targetName.c_str()) != 0)
            failWrite(m_target, errno);
        m_renamed = true;
    }

    FileStamp stamp() const {
        struct stat status {};
        if (::fstat(m_fd.get(), &status) != 0)
            failWrite(m_target, errno);
        return FileStamp::of(status);
    }

private:
    void createNamed(mode_t mode) {
        for (int attempt = 0; attempt < kTemporaryNameAttempts && !m_fd.valid(); ++attempt) {
            const std::string name = temporaryName(m_target);
            m_fd = UniqueFd(::openat(m_folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            if (m_fd.valid())
                m_name = name;
            else if (errno != EEXIST)
                break;
        }
        if (!m_fd.valid())
            failWrite(m_target, errno);
    }

    // An unnamed file is linked through its /proc entry, which needs no privilege (AT_EMPTY_PATH does).
    void giveName() {
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
        for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
            const std::string name = temporaryName(m_target);
            if (::linkat(AT_FDCWD, self.c_str(), m_folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_name = name;
                return;
            }
            if (errno != EEXIST)
                break;
        }
        failWrite(m_target, errno);
    }

    void takeAttributesOf(const std::filesystem::path& original) {
        const auto wanted = attributeNames(
            [&](char* buffer, std::size_t size) { return ::listxattr(original.c_str(), buffer, size); });
        if (!wanted)
            failWrite(m_target, errno);
        for (const std::string& name : *wanted)
            takeAttribute(original, name);
        // A copy may have received attributes the original lacks, such as the folder's default ACL.
        const auto present = attributeNames(
            [&](char* buffer, std::size_t size) { return ::flistxattr(m_fd.get(), buffer, size); });
        for (const std::string& name : present.value_or(std::vector<std::string>())) {
            if (std::find(wanted->begin(), wanted->end(), name) == wanted->end() &&
                ::fremovexattr(m_fd.get(), name.c_str()) != 0)
                failAttribute(name);
        }
    }

    void takeAttribute(const std::filesystem::path& original, const std::string& name) {
        const std::optional<std::string> value = readSized([&](char* buffer, std::size_t size) {
            return ::getxattr(original.c_str(), name.c_str(), buffer, size);
        });
        if (!value)
            failAttribute(name);
        if (::fsetxattr(m_fd.get(), name.c_str(), value->data(), value->size(), 0) == 0)
            return;
        const int setError = errno;
        // Some attributes (a security label) cannot be set, but the copy may have received the same already.
        const std::optional<std::string> copied = readSized([&](char* buffer, std::size_t size) {
            return ::fgetxattr(m_fd.get(), name.c_str(), buffer, size);
        });
        errno = setError;
        if (copied != value)
            failAttribute(name);
    }

    [[noreturn]] void failAttribute(const std::string& name) const {
        failWrite(m_target, errno,
                  "its extended attribute '" + name + "' cannot be kept (" + std::strerror(errno) + ")");
    }

    int m_folder;
    std::filesystem::path m_target;
    UniqueFd m_fd;
    std::string m_name; // empty while the copy is unnamed
    bool m_renamed = false;
};

// A rename would replace a file whatever its permissions, and would give this name a new file while other
// names keep the old one: both must stop the write while the file is unchanged.
void checkReplaceable(const std::filesystem::path& target, const struct stat& original) {
    // Windows' read-only attribute holds against administrators too, so no write bit refuses root as well.
    if ((original.st_mode & 0222) == 0)
        failWrite(target, EACCES);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        failWrite(target, errno);
    if (original.st_nlink > 1)
        failWrite(target, EMLINK, "it has other names (hard links), which would keep the old content");
}

void syncFolder(const FolderLock& folder, const std::filesystem::path& target) {
    if (faultAt(Step::SyncFolder) || syncToDisk(folder.descriptor()) != 0) {
        // Some file systems cannot flush a folder; they have nothing to flush then.
        if (errno != EINVAL && errno != ENOTSUP)
            throw ProfileError(ProfileError::Operation::Flush, target, errno);
    }
}

} // namespace

std::optional<FileStamp> AtomicFileWriter::replace(const FolderLock& folder,
                                                   const std::filesystem::path& target,
                                                   std::span<const std::string_view> pieces,
                                                   const std::optional<FileStamp>& basis) {
    const std::optional<struct stat> original = statusOf(target);
    if (!hasStamp(original, basis))
        return std::nullopt;
    if (original)
        checkReplaceable(target, *original);
    hookAt(Step::CreateTemporary);
    // A copy of an existing file is private until it has that file's owner and mode, so that no one
    // reads through it what the file itself would not show them.
    NewCopy copy(folder, target, original ? 0600 : 0666);
    if (original)
        copy.takeIdentityOf(*original);
    hookAt(Step::WriteBytes);
    for (std::string_view piece : pieces)
        copy.write(piece);
    hookAt(Step::SyncFile);
    copy.sync();
    hookAt(Step::Rename);
    // The basis was read from a settled file, so any later change shows in the stamp: an unchanged stamp
    // means nothing was written since.
    if (!hasStamp(statusOf(target), basis))
        return std::nullopt;
    copy.renameOverTarget();
    const FileStamp written = copy.stamp();
    hookAt(Step::SyncFolder);
    syncFolder(folder, target);
    return written;
}

void AtomicFileWriter::removeLeftovers(const FolderLock& folder, const std::filesystem::path& target) {
    const std::string prefix = temporaryPrefix(target);
    std::error_code error;
    std::filesystem::directory_iterator entries(FolderLock::folderOf(target), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        // One that cannot be removed costs only its space; the write itself does not need it gone.
        if (isTemporaryOf(name, prefix))
            ::unlinkat(folder.descriptor(), name.c_str(), 0);
    }
    if (error)
        failWrite(target, error.value());
}

std::filesystem::path AtomicFileWriter::followLinks(const std::filesystem::path& file) {
    std::filesystem::path current = file;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::symlink_status(current, error);
        if (!std::filesystem::is_symlink(status))
            return current;
        const std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error)
            failWrite(file, error.value());
        current = link.is_absolute() ? link : FolderLock::folderOf(current) / link;
    }
    failWrite(file, ELOOP);
}

void AtomicFileWriter::injectFault(std::optional<Fault> fault) {
    seams().fault = fault;
}

void AtomicFileWriter::setStepHook(std::function<void(Step)> hook) {
    seams().hook = std::move(hook);
}

void AtomicFileWriter::setSyncFunction(SyncFunction sync) {
    seams().sync = sync;
}

} // namespace quarvel
