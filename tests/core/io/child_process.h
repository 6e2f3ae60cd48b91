#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

namespace kelno::testing {

// The user that tests run as when they must not be root: root passes every permission
// check, so a test of what a pupil's account may not do runs as "nobody".
inline uid_t UnprivilegedUser() {
    return ::geteuid() == 0 ? 65534 : ::geteuid();
}
inline gid_t UnprivilegedGroup() {
    return ::geteuid() == 0 ? 65534 : ::getegid();
}

struct ChildSettings {
    bool dropRoot = false;                 // run as UnprivilegedUser()
    rlim_t fileSizeLimit = RLIM_INFINITY;  // bytes a file may grow to, as on a full disk
};

// Runs `body` in a child process, so that a test can change what belongs to a process (its
// user, its file-size limit) without changing the test runner, and returns the text that
// `body` returned. A child that dies or cannot be set up returns a text that says so.
inline std::string RunInChild(const ChildSettings& settings,
                              const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string text;
        if (settings.fileSizeLimit != RLIM_INFINITY) {
            // Past the limit a write fails with EFBIG instead of killing the process.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{settings.fileSizeLimit, settings.fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                text = "setrlimit failed";
            }
        }
        if (text.empty() && settings.dropRoot && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(UnprivilegedGroup()) != 0 ||
             ::setuid(UnprivilegedUser()) != 0)) {
            text = "could not drop root";
        }
        if (text.empty()) {
            text = body();
        }
        const char* data = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], data, left);
            if (written <= 0) {
                break;
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    if (child < 0) {
        ::close(channel[0]);
        return "fork failed";
    }
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child died: " + text;
    }
    return text;
}

}  // namespace kelno::testing
