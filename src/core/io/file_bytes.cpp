#include "io/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define KELNO_HAVE_FSYNC 1
#endif

#include "messages.h"

namespace kelno {

namespace {

std::string Describe(const char* message, const std::string& path, int errorNumber) {
    std::string text = message;
    text += "\n";
    text += path;
    if (errorNumber != 0) {
        text += "\n(";
        text += std::strerror(errorNumber);
        text += ")";
    }
    return text;
}

// The file to replace: the target of a symbolic link rather than the link itself.
std::filesystem::path ResolveTarget(const std::filesystem::path& path) {
    std::error_code ignored;
    if (std::filesystem::is_symlink(path, ignored)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ignored);
        if (!ignored) {
            return resolved;
        }
    }
    return path;
}

// Opens a file of a fresh name beside `target` for writing; never reuses an existing file.
std::FILE* CreateTemporaryBeside(const std::filesystem::path& target,
                                 std::filesystem::path& created) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                      static_cast<unsigned long long>(random()));
        created = target;
        created += suffix;
        if (std::FILE* file = std::fopen(created.c_str(), "wbx")) {
            return file;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
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
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    const bool failed = std::ferror(file) != 0;
    const int errorNumber = errno;
    std::fclose(file);
    if (failed) {
        error = Describe(messages::kCannotReadFile, path, errorNumber);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
    const std::filesystem::path target = ResolveTarget(path);
    std::filesystem::path temporary;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (file == nullptr) {
        error = Describe(messages::kCannotWriteFile, path, errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = ok && std::fflush(file) == 0;
#ifdef KELNO_HAVE_FSYNC
    ok = ok && ::fsync(::fileno(file)) == 0;
#endif
    int errorNumber = ok ? 0 : errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        errorNumber = errno;
    }
    std::error_code renameError;
    if (ok) {
        std::filesystem::rename(temporary, target, renameError);
        if (renameError) {
            ok = false;
            errorNumber = renameError.value();
        }
    }
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        error = Describe(messages::kCannotWriteFile, path, errorNumber);
    }
    return ok;
}

}  // namespace kelno
