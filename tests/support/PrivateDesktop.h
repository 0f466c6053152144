#pragma once

// A desktop of the test's own: a session bus (dbus-daemon) and a display, an X server (Xvfb)
// or a Wayland compositor (weston, headless), started before the application and stopped after
// it, so that what the program says on the bus and the windows it shows are the test's alone.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

class PrivateDesktop {
public:
    enum class Display { X11, Wayland };

    explicit PrivateDesktop(Display display) {
        const std::string bus =
            start({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, true);
        setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
        m_ready = !bus.empty() && (display == Display::X11 ? startX11() : startWayland());
    }
    ~PrivateDesktop() {
        for (pid_t pid : m_pids) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        std::error_code ignored;
        if (!m_runtime.empty())
            std::filesystem::remove_all(m_runtime, ignored);
    }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    bool ready() const { return m_ready; }

private:
    bool startX11() {
        const std::string display = start(
            {"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"}, true);
        setenv("DISPLAY", (":" + display).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return !display.empty();
    }

    bool startWayland() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qln-wayland-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return false;
        m_runtime = pattern;
        setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
        const std::string socket = "qln-test";
        start({"weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0"},
              false);
        setenv("WAYLAND_DISPLAY", socket.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "wayland", 1);
        // A headless compositor has no seat, and Qt 6.4's Wayland text input dereferences the
        // missing keyboard when a window closes: no input method here.
        setenv("QT_IM_MODULE", "none", 1);
        for (int i = 0; i < 100; ++i) {
            if (std::filesystem::exists(m_runtime + "/" + socket))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds{100});
        }
        return false;
    }

    // Runs the daemon; with readLine, returns the first line it writes (its address, its
    // display), "" when it does not start.
    std::string start(std::vector<std::string> arguments, bool readLine) {
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
        std::string line = started && !readLine ? "started" : "";
        char c = 0;
        while (started && readLine && read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        if (started)
            m_pids.push_back(pid);
        return line;
    }

    std::vector<pid_t> m_pids;
    std::string m_runtime;
    bool m_ready = false;
};
