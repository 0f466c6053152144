#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Runs the built qlntool with arguments and collects stdout, stderr and the exit code.
struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// With input, the run reads it as its standard input.
inline ToolRun runTool(const std::vector<std::string>& args, const std::string* input = nullptr) {
    // The tool keeps versions of the plans it writes in the user's data folder: a test's go to
    // the test's own.
    setenv("XDG_DATA_HOME", (testing::TempDir() + "qlntool-data").c_str(), 0);
    // Tests run in parallel processes: each run gets its own stderr file.
    std::string errFile = testing::TempDir() + "qlntool_stderr_XXXXXX";
    const int errFd = mkstemp(errFile.data());
    if (errFd >= 0)
        close(errFd);
    std::string command = quote(QLN_TOOL_PATH);
    for (const std::string& arg : args) {
        command += ' ';
        command += quote(arg);
    }
    command += " 2>" + quote(errFile);
    std::string inFile;
    if (input) {
        inFile = testing::TempDir() + "qlntool_stdin_XXXXXX";
        const int inFd = mkstemp(inFile.data());
        if (inFd >= 0) {
            if (write(inFd, input->data(), input->size()) < 0)
                inFile.clear();
            close(inFd);
        }
        command += " <" + quote(inFile);
    }
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        run.out += buffer.data();
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    std::stringstream err;
    err << in.rdbuf();
    run.err = err.str();
    std::remove(errFile.c_str());
    if (!inFile.empty())
        std::remove(inFile.c_str());
    return run;
}
