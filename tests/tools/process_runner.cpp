#include "process_runner.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace corvel::test {

namespace {

using Clock = std::chrono::steady_clock;

struct Pipes final {
    std::array<int, 2> in{-1, -1};
    std::array<int, 2> out{-1, -1};
    std::array<int, 2> err{-1, -1};

    ~Pipes() {
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    bool open() {
        return ::pipe2(in.data(), O_CLOEXEC) == 0 && ::pipe2(out.data(), O_CLOEXEC) == 0 &&
               ::pipe2(err.data(), O_CLOEXEC) == 0;
    }
};

// Reads both streams until they close or the deadline passes. Returns false on timeout.
bool drain(int outFd, int errFd, RunResult& result, Clock::time_point deadline) {
    std::array<pollfd, 2> fds = {pollfd{outFd, POLLIN, 0}, pollfd{errFd, POLLIN, 0}};
    std::array<std::string*, 2> sinks = {&result.out, &result.err};
    std::array<char, 8192> buffer{};
    int open = 2;
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return false;
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
    return true;
}

} // namespace

RunResult runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    RunResult result;
    Pipes pipes;
    if (!pipes.open()) {
        return result;
    }
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipes.in[0], STDIN_FILENO);
        ::dup2(pipes.out[1], STDOUT_FILENO);
        ::dup2(pipes.err[1], STDERR_FILENO);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(std::exchange(pipes.out[1], -1));
    ::close(std::exchange(pipes.err[1], -1));
    // pipes.in[1] stays open until the child is gone: its stdin never reaches end of file.
    if (!drain(pipes.out[0], pipes.err[0], result, Clock::now() + timeout)) {
        ::kill(pid, SIGKILL);
        result.timedOut = true;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) && !result.timedOut ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace corvel::test
