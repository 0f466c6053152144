// Saving when the system says no: a disk that fills up part way, a read-only folder, a folder
// where the file should be, no permission. Each save reports the store message and the
// previous file stays whole and loadable. The faults are real ones, made in a child process
// (a file size limit, an unprivileged user), so the test process keeps its own rights.

#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"
#include "model/CPlanFile.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(file), {}};
}

class SaveFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        ASSERT_EQ(doc.load(path()), CHrplDoc::LoadResult::NotFound);
        PlanBuilder build{doc.plan()};
        build.addActivities(40, 8);
        build.addYearOfHours();
        ASSERT_TRUE(doc.save(path()));
        before = readFile(path());
        ASSERT_GT(before.size(), 20000u);
        // The test's changes after the last good save.
        doc.plan().root()->memo = "changed after the save";
    }

    std::string path() const { return dir.file("plan.qln"); }

    // Runs the save in a child with the fault set up; true when the child saw the save fail
    // with the store message and, on its second line, the cause the system gave.
    bool saveFailsInChild(const std::function<void()>& fault, const std::string& target,
                          const char* cause = nullptr) {
        const pid_t child = fork();
        if (child == 0) {
            fault();
            app.sink.texts.clear();
            const bool failed = !doc.save(target);
            const bool told =
                app.sink.texts.size() == 1 &&
                app.sink.texts[0].rfind(std::string(CHrplDoc::kCannotStore) + "\n", 0) == 0 &&
                (!cause || app.sink.texts[0].find(cause) != std::string::npos);
            _exit(failed && told ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // The previous file is untouched, loads, and no temporary file is left beside it.
    void expectPreviousFileIntact() {
        EXPECT_EQ(readFile(path()), before);
        CHrplDoc reread{*app.core};
        EXPECT_EQ(reread.loadInMemory(path()), CHrplDoc::LoadResult::Loaded);
        for (const auto& entry : fs::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string().find(".saving-"), std::string::npos)
                << entry.path();
    }

    static void becomeUnprivileged() {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
    }

    TempDir dir;
    TestApp app;
    CHrplDoc doc{*app.core};
    std::string before;
};

TEST_F(SaveFaultsTest, ADiskThatFillsUpPartWay) {
    const bool reported = saveFailsInChild(
        [] {
            std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
            const rlimit limit{8192, 8192};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        path(), "File too large");
    EXPECT_TRUE(reported);
    expectPreviousFileIntact();
}

// Content made a piece at a time: a write that fails after earlier pieces went out, or a
// producer that gives up, leaves the previous file as it was.
TEST_F(SaveFaultsTest, AStreamedSaveThatFailsInALaterPieceOrGivesUp) {
    const std::string piece(1 << 20, 'x');
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{(3 << 20) / 2, (3 << 20) / 2};
        setrlimit(RLIMIT_FSIZE, &limit);
        int offered = 0;
        const bool saved = CAtomicFile::write(path(), [&](const CAtomicFile::Append& append) {
            for (int i = 0; i < 3; ++i) {
                ++offered;
                if (!append(piece))
                    return false;
            }
            return true;
        });
        _exit(!saved && offered == 2 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expectPreviousFileIntact();

    // A producer that gives up after a piece went out.
    EXPECT_FALSE(CAtomicFile::write(path(), [&](const CAtomicFile::Append& append) {
        append(piece);
        return false;
    }));
    expectPreviousFileIntact();
}

TEST_F(SaveFaultsTest, AReadOnlyFolder) {
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(saveFailsInChild(becomeUnprivileged, path()));
    fs::permissions(dir.path(), fs::perms::owner_all);
    expectPreviousFileIntact();
}

TEST_F(SaveFaultsTest, AReadOnlyDataFileIsNotReplaced) {
    fs::permissions(dir.path(), fs::perms::all); // the folder itself is writable
    fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(saveFailsInChild(becomeUnprivileged, path()));
    // Even with every right, a file the user made read-only is left alone.
    app.sink.texts.clear();
    EXPECT_FALSE(doc.save(path()));
    EXPECT_EQ(app.sink.texts, std::vector<std::string>{std::string(CHrplDoc::kCannotStore) +
                                                       "\nPermission denied"});
    fs::permissions(dir.path(), fs::perms::owner_all);
    expectPreviousFileIntact();
}

TEST_F(SaveFaultsTest, PermissionDeniedOnTheFolder) {
    fs::permissions(dir.path(), fs::perms::owner_all); // nobody else may enter
    EXPECT_TRUE(saveFailsInChild(becomeUnprivileged, path()));
    expectPreviousFileIntact();
}

TEST_F(SaveFaultsTest, ADirectoryWhereTheDataFileShouldBe) {
    fs::create_directory(dir.file("folder.qln"));
    app.sink.texts.clear();
    EXPECT_FALSE(doc.save(dir.file("folder.qln")));
    EXPECT_EQ(app.sink.texts,
              std::vector<std::string>{std::string(CHrplDoc::kCannotStore) + "\nIs a directory"});
    EXPECT_TRUE(fs::is_directory(dir.file("folder.qln")));
    expectPreviousFileIntact();
}

// Runs the check in a child whose files may grow to 8 KiB only, as on a disk that is full.
bool onAFullDisk(const std::function<bool()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A load on a full disk: the copy made before reading cannot be finished, so the backup of the
// last good load stays as it was instead of becoming the half copy.
TEST_F(SaveFaultsTest, AFullDiskAtLoadKeepsTheBackupWhole) {
    doc.closeFile();
    CHrplDoc first{*app.core};
    ASSERT_EQ(first.load(path()), CHrplDoc::LoadResult::Loaded);
    const std::string backup = readFile(dir.file("plan.bak"));
    ASSERT_EQ(backup, before);
    ASSERT_TRUE(first.save(path())); // the file moves on from its backup
    first.closeFile();
    EXPECT_TRUE(onAFullDisk([this] {
        CHrplDoc again{*app.core};
        return again.load(path()) == CHrplDoc::LoadResult::Loaded;
    }));
    EXPECT_EQ(readFile(dir.file("plan.bak")), backup);
    EXPECT_FALSE(fs::exists(dir.file("plan.tmb")));
}

// A damaged plan whose bytes cannot be kept elsewhere is not replaced by the empty plan: the
// message says so, and a store over it is refused until the plan goes elsewhere.
TEST_F(SaveFaultsTest, ADamagedPlanOnAFullDiskIsLeftAsItIs) {
    const std::string damaged = dir.file("damaged.qln");
    const std::string bytes(20000, '\x7f');
    std::ofstream{damaged, std::ios::binary} << bytes;
    EXPECT_TRUE(onAFullDisk([&] {
        CHrplDoc open{*app.core};
        app.sink.texts.clear();
        const bool refused = open.load(damaged) == CHrplDoc::LoadResult::Damaged;
        const bool said = app.sink.texts.size() == 1 &&
                          app.sink.texts[0].find(CHrplDoc::kNotKept) != std::string::npos &&
                          app.sink.texts[0].find(CHrplDoc::kLeftAsItIs) != std::string::npos;
        const bool kept =
            !open.save(damaged) && app.sink.texts.back().rfind(CHrplDoc::kKeptUnreplaced, 0) == 0;
        return refused && said && kept && open.save(dir.file("elsewhere.qln"));
    }));
    EXPECT_EQ(readFile(damaged), bytes);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find("damaged.qln.damaged-"), std::string::npos)
            << entry.path();
    CHrplDoc elsewhere{*app.core};
    EXPECT_EQ(elsewhere.loadInMemory(dir.file("elsewhere.qln")), CHrplDoc::LoadResult::Loaded);
}

// A plan in a folder this program may not write to: the refusal names that cause, not another
// program's hold.
TEST_F(SaveFaultsTest, APlanInAReadOnlyFolderIsRefusedForThatReason) {
    doc.closeFile();
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    fs::remove(path() + ".lock");
    const pid_t child = fork();
    if (child == 0) {
        becomeUnprivileged();
        CHrplDoc reader{*app.core};
        app.sink.texts.clear();
        const bool refused = reader.load(path()) == CHrplDoc::LoadResult::Locked;
        const std::string said = app.sink.texts.empty() ? "" : app.sink.texts.back();
        _exit(refused && said.rfind(CHrplDoc::kCannotHold, 0) == 0 &&
                      said.find("Permission denied") != std::string::npos &&
                      said.find("another QLN program") == std::string::npos
                  ? 0
                  : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
