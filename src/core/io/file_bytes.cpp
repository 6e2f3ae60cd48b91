#include "io/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

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

// The file that a save to `path` changes: symbolic links are followed to their target,
// which need not exist yet. Returns 0 or the error number.
int ResolveLinks(const std::string& path, std::string& target) {
    namespace fs = std::filesystem;
    target = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info;
        if (::lstat(target.c_str(), &info) != 0) {
            return errno == ENOENT ? 0 : errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            return 0;
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

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
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

// Opens a new file of a fresh name in `folder`; never opens a file that exists. The name
// is short and fixed in length, so that it fits wherever the target's name fits.
int CreateTemporary(const std::string& folder, mode_t mode, std::string& created) {
    std::random_device seed;
    std::mt19937_64 random((std::uint64_t{seed()} << 32) ^ seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".kelno-%016llx.tmp",
                      static_cast<unsigned long long>(random()));
        created = folder + "/" + name;
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
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
Route ReplaceThroughTemporary(const std::string& target, const struct stat* old,
                              std::span<const std::uint8_t> bytes, int& errorNumber) {
    std::string temporary;
    Descriptor file(CreateTemporary(FolderOf(target), old != nullptr ? 0600 : 0666, temporary));
    if (!file.valid()) {
        errorNumber = errno;
        return Route::NotPossible;
    }
    if (old != nullptr) {
        TakeOverAttributes(file.get(), *old);
    }
    errorNumber = WriteAll(file.get(), bytes);
    if (errorNumber == 0) {
        errorNumber = FlushAndClose(file);
    }
    if (errorNumber == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        errorNumber = errno;
        ::unlink(temporary.c_str());
        // A folder with the sticky bit lets only the owner replace a file.
        return errorNumber == EACCES || errorNumber == EPERM ? Route::NotPossible : Route::Failed;
    }
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
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!file.valid()) {
        errorNumber = errno;
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

// A device or a pipe takes the bytes as a stream; it is never replaced by a file.
bool WriteToStream(const std::string& target, std::span<const std::uint8_t> bytes,
                   int& errorNumber) {
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!file.valid()) {
        errorNumber = errno;
        return false;
    }
    errorNumber = WriteAll(file.get(), bytes);
    if (errorNumber == 0) {
        errorNumber = file.Close();
    }
    return errorNumber == 0;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    std::error_code status;
    if (!std::filesystem::exists(path, status)) {
        error = Describe(messages::kFileNotFound, path, 0);
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = Describe(messages::kCannotReadFile, path, errno);
        return false;
    }
    bytes.clear();
    std::uint8_t buffer[65536];
    std::size_t got;
    int errorNumber = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (got > kMaxReadableFileSize - bytes.size()) {
            errorNumber = EFBIG;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (errorNumber == 0 && std::ferror(file) != 0) {
        errorNumber = errno != 0 ? errno : EIO;
    }
    std::fclose(file);
    if (errorNumber != 0) {
        bytes.clear();
        error = Describe(messages::kCannotReadFile, path, errorNumber);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
    std::string target;
    if (const int failure = ResolveLinks(path, target)) {
        return Fail(error, path, failure);
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
        return WriteToStream(target, bytes, errorNumber) || Fail(error, path, errorNumber);
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
            return true;
        }
        if (route == Route::Failed || !exists) {
            return Fail(error, path, errorNumber);
        }
    }
    bool touched = false;
    return OverwriteInPlace(target, bytes, errorNumber, touched) ||
           Fail(error, path, errorNumber, touched);
}

}  // namespace kelno
