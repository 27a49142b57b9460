#include "child_process.h"

#include "unique_fd.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvel::imagetool {

namespace {

struct Pipe final {
    UniqueFd readEnd;
    UniqueFd writeEnd;
};

std::optional<Pipe> makePipe() {
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    return Pipe{UniqueFd(fds[0]), UniqueFd(fds[1])};
}

std::vector<char*> pointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const auto& s : strings) {
        pointers.push_back(const_cast<char*>(s.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Drains both pipes together so a chatty child can never block on a full stderr pipe.
void collectOutput(int outFd, int errFd, ProcessResult& result) {
    std::array<pollfd, 2> fds = {pollfd{outFd, POLLIN, 0}, pollfd{errFd, POLLIN, 0}};
    std::array<std::string*, 2> sinks = {&result.standardOutput, &result.standardError};
    std::array<char, 16384> buffer{};
    int open = 2;
    while (open > 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t got = ::read(fds[i].fd, buffer.data(), buffer.size());
            if (got > 0) {
                sinks[i]->append(buffer.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string firstNonBlankLine(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find_first_not_of(" \t\r") != std::string::npos) {
            return line;
        }
    }
    return {};
}

} // namespace

std::string ProcessResult::firstMessageLine() const {
    const std::string fromError = firstNonBlankLine(standardError);
    return fromError.empty() ? firstNonBlankLine(standardOutput) : fromError;
}

Environment environmentWith(const std::map<std::string, std::string>& overrides,
                            const std::vector<std::string>& dropPrefixes) {
    Environment env;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('='));
        bool drop = overrides.count(name) != 0;
        for (const auto& prefix : dropPrefixes) {
            drop = drop || name.rfind(prefix, 0) == 0;
        }
        if (!drop) {
            env.push_back(variable);
        }
    }
    for (const auto& [name, value] : overrides) {
        env.push_back(name + "=" + value);
    }
    return env;
}

std::optional<std::string> findExecutable(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return ::access(name.c_str(), X_OK) == 0 ? std::optional(name) : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    folders += ":/usr/local/sbin:/usr/sbin:/sbin:/usr/bin:/bin";
    std::istringstream stream(folders);
    std::string folder;
    while (std::getline(stream, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

Outcome<ProcessResult> runProcess(const std::vector<std::string>& argv, const Environment& env) {
    using Result = Outcome<ProcessResult>;
    const auto program = findExecutable(argv.at(0));
    if (!program) {
        return Result::failure(argv[0] + " was not found; is it installed?");
    }
    const UniqueFd devNull(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    auto out = makePipe();
    auto err = makePipe();
    if (!devNull.valid() || !out || !err) {
        return Result::failure("cannot set up pipes to run " + argv[0]);
    }
    const auto args = pointersTo(argv);
    const auto envp = pointersTo(env);
    const pid_t pid = ::fork();
    if (pid < 0) {
        return Result::failure("cannot start " + argv[0]);
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::dup2(devNull.get(), STDIN_FILENO);
        ::dup2(out->writeEnd.get(), STDOUT_FILENO);
        ::dup2(err->writeEnd.get(), STDERR_FILENO);
        ::execve(program->c_str(), args.data(), envp.data());
        ::_exit(127);
    }
    out->writeEnd.reset();
    err->writeEnd.reset();
    ProcessResult result;
    collectOutput(out->readEnd.get(), err->readEnd.get(), result);
    result.exitCode = waitForExit(pid);
    return Result::success(std::move(result));
}

} // namespace corvel::imagetool
