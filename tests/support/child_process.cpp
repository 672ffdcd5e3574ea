#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "tests/support/temp_folder.h"

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (!errorFile_.empty()) unlink(errorFile_.c_str());
    if (!outputFile_.empty()) unlink(outputFile_.c_str());
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& env) {
    char errorName[] = "/tmp/korvel-child-err-XXXXXX";
    char outputName[] = "/tmp/korvel-child-out-XXXXXX";
    const int errorFd = mkstemp(errorName);
    const int outputFd = mkstemp(outputName);
    if (errorFd < 0 || outputFd < 0) return false;
    errorFile_ = errorName;
    outputFile_ = outputName;
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(errorFd, STDERR_FILENO);
        dup2(outputFd, STDOUT_FILENO);
        for (const auto& [name, value] : env) {
            if (value == "-")
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(errorFd);
    close(outputFd);
    return true;
}

bool ChildProcess::running() {
    if (pid_ <= 0 || ended_) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
    return !ended_;
}

void ChildProcess::signal(int number) {
    if (running()) kill(pid_, number);
}

int ChildProcess::wait(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        ended_ = true;
        return -1;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -2;
}

std::string ChildProcess::errorOutput() const { return ReadWholeFile(errorFile_); }
std::string ChildProcess::output() const { return ReadWholeFile(outputFile_); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
