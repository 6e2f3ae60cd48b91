#include "io/file_bytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "io/in_place_copy.h"
#include "io/system_error_text.h"
#include "messages.h"

namespace kelno {

namespace {

// Links followed before a save gives up, as the system does for paths.
constexpr int kMaxLinkDepth = 40;

// Closes a file descriptor once, when asked to or at the end of its scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // The result of close(): a delayed write error may only show here.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

std::string Describe(const char* message, const std::string& path, int errorNumber) {
    std::string text = message;
    text += "\n";
    text += path;
    if (errorNumber != 0) {
        text += "\n(";
        text += SystemErrorText(errorNumber);
        text += ")";
    }
    return text;
}

bool Fail(std::string& error, const std::string& path, int errorNumber,
          bool oldContentMayBeDamaged = false) {
    error = Describe(messages::kCannotWriteFile, path, errorNumber);
    if (oldContentMayBeDamaged) {
        error += "\n";
        error += messages::kFileMayBeDamaged;
    }
    return false;
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// A link that someone else may have planted to send a write elsewhere: one in a folder
// that everybody may write in and whose sticky bit keeps each one's files their own (like
// /tmp), that belongs neither to the user nor to the folder's owner. The system follows
// no such link on its own either.
bool IsForeignLinkInSharedFolder(const std::string& link, const struct stat& linkInfo) {
    struct stat folder;
    if (::stat(FolderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return shared && linkInfo.st_uid != ::geteuid() && linkInfo.st_uid != folder.st_uid;
}

// The file that a save to `path` changes: symbolic links are followed to their target,
// which need not exist yet. Returns 0 or the error number; `foreignLink` tells that a
// link was not followed because IsForeignLinkInSharedFolder.
int ResolveLinks(const std::string& path, std::string& target, bool& foreignLink) {
    namespace fs = std::filesystem;
    target = path;
    foreignLink = false;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            return 0;
        }
        if (IsForeignLinkInSharedFolder(target, info)) {
            foreignLink = true;
            return EACCES;
        }
        std::error_code failure;
        const fs::path next = fs::read_symlink(target, failure);
        if (failure) {
            return failure.value();
        }
        target = (fs::path(target).parent_path() / next).string();
    }
    return ELOOP;
}

// Writes everything, however the system splits it. Returns 0 or the error number.
int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

int FlushAndClose(Descriptor& file) {
    if (::fsync(file.get()) != 0) {
        return errno;
    }
    return file.Close();
}

// The names of the program's new files: ".kelno-" and 16 hexadecimal digits, then ".tmp".
constexpr std::size_t kTemporaryNameLength = 27;

bool IsTemporaryName(const char* name) {
    const std::string_view text(name);
    if (text.size() != kTemporaryNameLength || !text.starts_with(".kelno-") ||
        !text.ends_with(".tmp")) {
        return false;
    }
    for (const char c : text.substr(7, 16)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// Opens a new file of a fresh name in `folder`; never opens a file that exists. The name
// is short and fixed in length, so that it fits wherever the target's name fits. The file
// stays locked (flock) while it is open, which tells RemoveStaleTemporaries that a save is
// still writing it.
int CreateTemporary(const std::string& folder, mode_t mode, std::string& created) {
    std::random_device seed;
    std::mt19937_64 random((std::uint64_t{seed()} << 32) ^ seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".kelno-%016llx.tmp",
                      static_cast<unsigned long long>(random()));
        created = folder + "/" + name;
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) {
            return fd;
        }
        if (fd < 0) {
            continue;
        }
        // Between the open and the lock another copy's clean-up may have taken the file
        // for a leftover; then it is gone, and another name is tried.
        struct stat info;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) {
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Removes the files of our pattern in `folder` that a save of this user left when it was
// killed: a file still locked belongs to a save that is running, here or in another copy
// of the program, and is left alone; so is everyone else's.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    const int folderFd = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (!IsTemporaryName(entry->d_name)) {
            continue;
        }
        Descriptor file(
            ::openat(folderFd, entry->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat info;
        if (file.valid() && ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && ::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

// Gives a new file the group and permission bits of the file it replaces (root keeps the
// owner too). Rights that the old file gave its group are not handed to another group when
// the user may not set the old one.
void TakeOverAttributes(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, -1, old.st_gid) != 0) {
        // The new file keeps the user's group; the rights are narrowed below.
    }
    mode_t mode = old.st_mode & 0777;
    struct stat now;
    if (::fstat(fd, &now) != 0 || now.st_gid != old.st_gid) {
        mode &= ~static_cast<mode_t>(S_IRWXG);
    }
    if (::fchmod(fd, mode) != 0) {
        // The file stays private (0600), which harms nobody.
    }
}

enum class Route { Done, Failed, NotPossible };

// Writes a new file beside the target and renames it over the target. NotPossible means
// that the old file was not touched and no new file could take its place.
// A new file without an old one gets `freshMode` (less the umask).
Route ReplaceThroughTemporary(const std::string& target, const struct stat* old,
                              std::span<const std::uint8_t> bytes, int& errorNumber,
                              mode_t freshMode = 0666) {
    std::string temporary;
    Descriptor file(
        CreateTemporary(FolderOf(target), old != nullptr ? 0600 : freshMode, temporary));
    if (!file.valid()) {
        errorNumber = errno;
        return Route::NotPossible;
    }
    if (old != nullptr) {
        TakeOverAttributes(file.get(), *old);
    }
    errorNumber = WriteAll(file.get(), bytes);
    if (errorNumber == 0 && ::fsync(file.get()) != 0) {
        errorNumber = errno;
    }
    // Renamed while still open, and so still locked: once closed, the new file would look
    // like a leftover to the clean-up of a save running in another copy of the program,
    // which could remove it before the rename. The bytes are on the disk already.
    if (errorNumber == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        errorNumber = errno;
        file.Close();
        ::unlink(temporary.c_str());
        // A folder with the sticky bit lets only the owner replace a file.
        return errorNumber == EACCES || errorNumber == EPERM ? Route::NotPossible : Route::Failed;
    }
    file.Close();
    if (errorNumber != 0) {
        ::unlink(temporary.c_str());
        return Route::Failed;
    }
    // The rename itself is durable only once the folder is flushed; the file is safe
    // either way, so a folder that cannot be flushed is no failure.
    Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid() && ::fsync(folder.get()) != 0) {
        // Nothing to report: the new content is complete in the file.
    }
    return Route::Done;
}

// Overwrites an existing regular file. The room for the new bytes is reserved first, so
// that a full disk or a file-size limit fails while the old content is still whole.
bool OverwriteInPlace(const std::string& target, std::span<const std::uint8_t> bytes,
                      int& errorNumber, bool& touched) {
    touched = false;
    // Opened without waiting, and only if it is still the regular file it was: something
    // put in its place meanwhile is not written into.
    Descriptor file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!file.valid()) {
        errorNumber = errno;
        return false;
    }
    struct stat info;
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        errorNumber = EINVAL;
        return false;
    }
    if (!bytes.empty()) {
        errorNumber = ::posix_fallocate(file.get(), 0, static_cast<off_t>(bytes.size()));
        if (errorNumber != 0) {
            return false;
        }
    }
    touched = true;
    errorNumber = WriteAll(file.get(), bytes);
    if (errorNumber == 0 && ::ftruncate(file.get(), static_cast<off_t>(bytes.size())) != 0) {
        errorNumber = errno;
    }
    if (errorNumber == 0) {
        errorNumber = FlushAndClose(file);
    }
    return errorNumber == 0;
}

// The last way to save: overwriting the target in place. Its old bytes are kept in the
// user's state folder until the new ones are on the disk, so that a save cut short by a
// kill or a crash can be undone the next time the file is opened; without that copy the
// file is not touched.
bool OverwriteKeepingACopy(const std::string& path, const std::string& target,
                           std::span<const std::uint8_t> bytes, std::string& error);

}  // namespace

bool IsRegularFileOrMissing(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(info.st_mode);
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    bytes.clear();
    // Opened without waiting: a pipe without a writer would hold open() for ever.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        error = errno == ENOENT ? Describe(messages::kFileNotFound, path, 0)
                                : Describe(messages::kCannotReadFile, path, errno);
        return false;
    }
    struct stat info;
    if (::fstat(file.get(), &info) != 0) {
        error = Describe(messages::kCannotReadFile, path, errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = Describe(messages::kCannotReadFile, path, 0) + "\n" + messages::kNotRegularFile;
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxReadableFileSize) {
        error = Describe(messages::kCannotReadFile, path, EFBIG) + "\n" + messages::kReadLimit;
        return false;
    }
    std::uint8_t buffer[65536];
    int errorNumber = 0;
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            errorNumber = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        if (static_cast<std::size_t>(got) > kMaxReadableFileSize - bytes.size()) {
            errorNumber = EFBIG;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (errorNumber != 0) {
        bytes.clear();
        error = Describe(messages::kCannotReadFile, path, errorNumber);
        if (errorNumber == EFBIG) {
            error += "\n";
            error += messages::kReadLimit;
        }
        return false;
    }
    return true;
}

namespace {

bool OverwriteKeepingACopy(const std::string& path, const std::string& target,
                           std::span<const std::uint8_t> bytes, std::string& error) {
    std::vector<std::uint8_t> oldBytes;
    std::string readError;
    if (!ReadFileBytes(target, oldBytes, readError)) {
        Fail(error, path, 0);
        error += "\n";
        error += messages::kCannotKeepOldContent;
        return false;
    }
    if (const int failure = InPlaceCopy::Keep(target, oldBytes)) {
        Fail(error, path, failure);
        error += "\n";
        error += messages::kCannotKeepOldContent;
        return false;
    }
    int errorNumber = 0;
    bool touched = false;
    if (OverwriteInPlace(target, bytes, errorNumber, touched)) {
        InPlaceCopy::Forget(target);
        RemoveStaleTemporaries(FolderOf(target));
        return true;
    }
    if (!touched) {
        InPlaceCopy::Forget(target);
        return Fail(error, path, errorNumber);
    }
    Fail(error, path, errorNumber, true);
    error += "\n";
    error += messages::kOldContentKept;
    return false;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
    std::string target;
    bool foreignLink = false;
    if (const int failure = ResolveLinks(path, target, foreignLink)) {
        Fail(error, path, foreignLink ? 0 : failure);
        if (foreignLink) {
            error += "\n";
            error += messages::kForeignLinkInSharedFolder;
        }
        return false;
    }
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return Fail(error, path, errno);
    }
    int errorNumber = 0;
    if (exists && S_ISDIR(old.st_mode)) {
        return Fail(error, path, EISDIR);
    }
    if (exists && !S_ISREG(old.st_mode)) {
        Fail(error, path, 0);
        error += "\n";
        error += messages::kNotRegularFile;
        return false;
    }
    // A file the user may not write stays as it is, even where the folder would let a new
    // file take its place.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return Fail(error, path, errno);
    }
    // Only root may give a file to its owner again; anyone else keeps the owner by
    // writing into the file itself.
    const bool keepsOwner = !exists || old.st_uid == ::geteuid() || ::geteuid() == 0;
    if (keepsOwner) {
        const Route route =
            ReplaceThroughTemporary(target, exists ? &old : nullptr, bytes, errorNumber);
        if (route == Route::Done) {
            RemoveStaleTemporaries(FolderOf(target));
            return true;
        }
        if (route == Route::Failed || !exists) {
            return Fail(error, path, errorNumber);
        }
    }
    return OverwriteKeepingACopy(path, target, bytes, error);
}

int ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes) {
    int errorNumber = 0;
    return ReplaceThroughTemporary(path, nullptr, bytes, errorNumber, 0600) == Route::Done
               ? 0
               : (errorNumber != 0 ? errorNumber : EIO);
}

}  // namespace kelno
