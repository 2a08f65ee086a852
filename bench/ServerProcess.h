#pragma once

#include <filesystem>
#include <string>

#include <sys/types.h>

// orbelo-local-server as a child process for the load benchmarks: a fresh data dir in a temporary
// directory, a free port, --demo, and its output in a log file there. Stopped with SIGTERM (SIGKILL
// if it lingers) and its directory removed when this goes away.
class ServerProcess {
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess();

    // Starts the server and waits until it reports its address; on failure returns false with the
    // reason in `error`.
    bool start(const std::string& program, std::string* error);

    pid_t pid() const { return pid_; }
    unsigned short port() const { return port_; }
    const std::string& certificate() const { return certificate_; }
    std::filesystem::path logPath() const { return root_ / "server.log"; }

    // User plus system CPU time the server has used so far, from /proc/<pid>/stat; -1 when unknown.
    double cpuSeconds() const;
    // Resident set size now, from /proc/<pid>/statm; -1 when unknown.
    double residentMiB() const;

private:
    std::filesystem::path root_;
    pid_t pid_ = -1;
    unsigned short port_ = 0;
    std::string certificate_;
};
