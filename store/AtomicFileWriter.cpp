#include "store/AtomicFileWriter.h"

#include "platform/UniqueFd.h"
#include "store/ProfileError.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>

namespace quarvel {

namespace {

using platform::UniqueFd;
using Step = AtomicFileWriter::Step;

constexpr int maxLinkDepth = 40;
constexpr int temporaryNameAttempts = 16;

std::optional<AtomicFileWriter::Fault>& injectedFault() {
    static std::optional<AtomicFileWriter::Fault> fault;
    return fault;
}

// True, with errno set, when a test has made this step fail.
bool faultAt(Step step) {
    const auto& fault = injectedFault();
    if (!fault || fault->step != step)
        return false;
    errno = fault->errorCode;
    return true;
}

[[noreturn]] void failWrite(const std::filesystem::path& file, int errorCode) {
    throw ProfileError(ProfileError::Operation::Write, file, errorCode);
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
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

// "." + the target's name + ".quarvel-" + up to 16 hex digits, with the target's name shortened so that
// the whole stays within the longest name a folder takes.
std::string temporaryName(const std::filesystem::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    static constexpr char digits[] = "0123456789abcdef";
    static constexpr std::string_view marker = ".quarvel-";
    static constexpr std::size_t longestTargetPart = NAME_MAX - 1 - marker.size() - 16;
    std::string name(1, '.');
    name.append(target.filename().string().substr(0, longestTargetPart)).append(marker);
    for (std::uint64_t bits = generator(); bits != 0; bits >>= 4)
        name += digits[bits & 0xF];
    return name;
}

// The new content until it takes the target's place; removed when it does not get there.
class TemporaryFile {
public:
    // mode: the permission bits it is created with, before the umask.
    TemporaryFile(const std::filesystem::path& target, mode_t mode) : m_target(target) {
        for (int attempt = 0; attempt < temporaryNameAttempts && !m_fd.valid(); ++attempt) {
            m_path = folderOf(target) / temporaryName(target);
            if (faultAt(Step::CreateTemporary))
                break;
            m_fd = UniqueFd(::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
            if (!m_fd.valid() && errno != EEXIST)
                break;
        }
        if (!m_fd.valid())
            failWrite(target, errno);
    }

    ~TemporaryFile() {
        if (!m_renamed)
            ::unlink(m_path.c_str());
    }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

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

    // The owner may only be kept where the system allows it (root, or a group the writer belongs to);
    // the permission bits are always kept.
    void takeOwnerAndModeOf(const struct stat& original) {
        if (::fchown(m_fd.get(), original.st_uid, original.st_gid) != 0)
            static_cast<void>(::fchown(m_fd.get(), static_cast<uid_t>(-1), original.st_gid));
        if (::fchmod(m_fd.get(), original.st_mode & 07777) != 0)
            failWrite(m_target, errno);
    }

    void sync() {
        if (faultAt(Step::SyncFile) || ::fsync(m_fd.get()) != 0 || m_fd.close() != 0)
            failWrite(m_target, errno);
    }

    void renameOverTarget() {
        if (faultAt(Step::Rename) || ::rename(m_path.c_str(), m_target.c_str()) != 0)
            failWrite(m_target, errno);
        m_renamed = true;
    }

private:
    std::filesystem::path m_target;
    std::filesystem::path m_path;
    UniqueFd m_fd;
    bool m_renamed = false;
};

// The folder that receives the new file, opened before anything is written: flushing it is the last step
// of a durable write, and a folder that cannot be opened must stop the write while the file is unchanged.
class Folder {
public:
    explicit Folder(const std::filesystem::path& target)
        : m_target(target), m_fd(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (!m_fd.valid())
            failWrite(target, errno);
    }

    void sync() const {
        if (faultAt(Step::SyncFolder) || ::fsync(m_fd.get()) != 0) {
            // Some file systems cannot flush a folder; they have nothing to flush then.
            if (errno != EINVAL && errno != ENOTSUP)
                failWrite(m_target, errno);
        }
    }

private:
    std::filesystem::path m_target;
    UniqueFd m_fd;
};

} // namespace

bool AtomicFileWriter::replace(const std::filesystem::path& target, std::span<const std::string_view> pieces,
                               const std::optional<FileStamp>& basis) {
    const std::optional<struct stat> original = statusOf(target);
    if (!hasStamp(original, basis))
        return false;
    // The rename needs only the folder's permission; a file the writer may not change stays unchanged.
    if (original && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        failWrite(target, errno);
    const Folder folder(target);
    // A copy of an existing file is private until it has that file's owner and mode, so that no one
    // reads through it what the file itself would not show them.
    TemporaryFile temporary(target, original ? 0600 : 0666);
    if (original)
        temporary.takeOwnerAndModeOf(*original);
    for (std::string_view piece : pieces)
        temporary.write(piece);
    temporary.sync();
    if (!hasStamp(statusOf(target), basis))
        return false;
    temporary.renameOverTarget();
    folder.sync();
    return true;
}

std::filesystem::path AtomicFileWriter::followLinks(const std::filesystem::path& file) {
    std::filesystem::path current = file;
    for (int depth = 0; depth < maxLinkDepth; ++depth) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::symlink_status(current, error);
        if (!std::filesystem::is_symlink(status))
            return current;
        const std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error)
            failWrite(file, error.value());
        current = link.is_absolute() ? link : folderOf(current) / link;
    }
    failWrite(file, ELOOP);
}

void AtomicFileWriter::injectFault(std::optional<Fault> fault) {
    injectedFault() = fault;
}

} // namespace quarvel
