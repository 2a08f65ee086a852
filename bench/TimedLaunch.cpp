#include "TimedLaunch.h"

#include <cerrno>
#include <chrono>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// argv and envp for posix_spawn: pointers into `storage`, null-terminated.
std::vector<char*> pointersInto(std::vector<QByteArray>& storage) {
    std::vector<char*> pointers;
    for (QByteArray& entry : storage)
        pointers.push_back(entry.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::optional<TimedLaunch> TimedLaunch::run(const QString& program, const QStringList& arguments,
                                            const QStringList& environment, const QString& logPath,
                                            int timeoutSeconds) {
    std::vector<QByteArray> argStorage{program.toLocal8Bit()};
    for (const QString& argument : arguments)
        argStorage.push_back(argument.toLocal8Bit());
    std::vector<QByteArray> envStorage;
    for (const QString& entry : environment)
        envStorage.push_back(entry.toLocal8Bit());
    std::vector<char*> argv = pointersInto(argStorage);
    std::vector<char*> envp = pointersInto(envStorage);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray log = logPath.toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.constData(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;

    // The process's descriptor becomes readable when it ends, which lets the wait time out.
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    bool timedOut = false;
    if (pidfd >= 0) {
        pollfd ready{pidfd, POLLIN, 0};
        timedOut = poll(&ready, 1, timeoutSeconds * 1000) == 0;
        close(pidfd);
    }
    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const auto end = std::chrono::steady_clock::now();

    TimedLaunch launch;
    launch.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    launch.peakRssKiB = usage.ru_maxrss;
    launch.exitStatus = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return launch;
}
