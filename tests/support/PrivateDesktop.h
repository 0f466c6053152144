#pragma once

// A desktop of the test's own: a session bus (dbus-daemon) and an X display (Xvfb), started
// before the application and stopped after it, so that what the program says on the bus and
// the tray it finds are the test's alone.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class PrivateDesktop {
public:
    PrivateDesktop() {
        const std::string bus =
            start({"dbus-daemon", "--session", "--nofork", "--print-address=1"});
        const std::string display =
            start({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        m_ready = !bus.empty() && !display.empty();
        setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
        setenv("DISPLAY", (":" + display).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    ~PrivateDesktop() {
        for (pid_t pid : m_pids) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    bool ready() const { return m_ready; }

private:
    // Runs the daemon and returns the first line it writes: its address, or its display.
    std::string start(std::vector<std::string> arguments) {
        int out[2];
        if (pipe(out) != 0)
            return {};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        // Not the test's own output: whoever reads it would wait for the daemons too.
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        const bool started =
            posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string line;
        char c = 0;
        while (started && read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        if (started)
            m_pids.push_back(pid);
        return line;
    }

    std::vector<pid_t> m_pids;
    bool m_ready = false;
};
