#include "ServerProcess.h"

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Waits up to `timeout` for the child to end; true once it has been reaped.
bool reap(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

} // namespace

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        if (!reap(pid_, std::chrono::seconds(10))) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    if (!root_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
}

bool ServerProcess::start(const std::string& program, std::string* error) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbelo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        *error = "cannot make a temporary directory";
        return false;
    }
    root_ = pattern;
    const std::string dataDir = (root_ / "data").string();
    const std::string log = logPath().string();

    std::vector<std::string> arguments{program, "--port", "0", "--data-dir", dataDir, "--demo"};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The output goes to a file rather than a pipe: the server logs every request, and a pipe
    // nobody drains would stall it.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        *error = "cannot start " + program;
        return false;
    }

    const std::regex listening(R"(listening on https://127\.0\.0\.1:(\d+))");
    const std::regex certificate(R"(\n  certificate: ([^\n]+)\n)");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string text;
    while (std::chrono::steady_clock::now() < deadline) {
        text = readAll(log);
        std::smatch address, pem;
        if (std::regex_search(text, address, listening) && std::regex_search(text, pem, certificate)) {
            port_ = static_cast<unsigned short>(std::stoi(address[1]));
            certificate_ = pem[1];
            return true;
        }
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    *error = "the server did not report its address:\n" + text;
    return false;
}

double ServerProcess::cpuSeconds() const {
    std::string stat = readAll("/proc/" + std::to_string(pid_) + "/stat");
    // The command name may hold spaces; the fields counted here start after its closing parenthesis.
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    // utime and stime are fields 14 and 15 of stat; the state (field 3) comes first here.
    for (int i = 3; i < 14 && fields >> field; ++i) {
    }
    unsigned long long user = 0, system = 0;
    if (!(fields >> user >> system))
        return -1;
    return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

double ServerProcess::residentMiB() const {
    std::ifstream statm("/proc/" + std::to_string(pid_) + "/statm");
    long size = 0, resident = 0;
    if (!(statm >> size >> resident))
        return -1;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
