#pragma once
// A program run by a test: its arguments and extra environment, its standard
// error kept in a file, its end awaited with a time limit. Killed if the test
// forgets it.
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program with the arguments; each of env is set ("NAME", "value")
    // or, with the value "-", removed from the environment first.
    bool start(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::pair<std::string, std::string>>& env = {});
    bool running();
    void signal(int number);
    // The exit status once it ended within the seconds; -1 when it did not
    // (it is then killed), -2 when a signal ended it.
    int wait(double seconds);
    // Everything written to standard error / output so far.
    std::string errorOutput() const;
    std::string output() const;

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
    std::string errorFile_, outputFile_;
};

// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);
