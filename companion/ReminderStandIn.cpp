// reminder: a minimal stand-in for the companion's launcher, so that the logon entry starts
// the program on a machine without the companion. Started with "-qln" it runs qln from its own
// folder with "-qln". Started with both switches it creates the shared block and the named
// semaphore of the window coordination, and runs qln with the block's descriptor between the
// switches, in the order it was given them.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <semaphore.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

std::string ownDirectory() {
    char buffer[PATH_MAX + 1];
    const ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/'));
}

// The block: the tag text, then this program's flag, the companion's flag and the take-over
// byte. The companion's flag starts off, so the program is not kept below a window that does
// not exist.
int createSharedBlock() {
    const int fd = memfd_create("qln-ecn-coordination", 0); // inherited by qln on purpose
    if (fd < 0)
        return -1;
    const char text[] = "<qlnPos/>64<ecnPos/>65<AltTab/>66<";
    char block[128] = {};
    std::memcpy(block, text, sizeof text);
    block[64] = '0';
    block[65] = '0';
    block[66] = '0';
    if (write(fd, block, sizeof block) != static_cast<ssize_t>(sizeof block)) {
        close(fd);
        return -1;
    }
    sem_unlink("/QLN_ECN_WN_CRDNTN_MTX"); // a holder that died may have left it taken
    if (sem_t* mutex = sem_open("/QLN_ECN_WN_CRDNTN_MTX", O_CREAT, 0600, 1); mutex != SEM_FAILED)
        sem_close(mutex);
    return fd;
}

} // namespace

int main(int argc, char** argv) {
    int qln = -1;
    int rmndr = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-qln") == 0)
            qln = i;
        else if (std::strcmp(argv[i], "-rmndr") == 0)
            rmndr = i;
    }
    if (qln < 0)
        return 0; // only the companion was asked for, and it is not part of this installation
    const std::string program = ownDirectory() + "/qln";
    std::vector<std::string> args{program};
    if (rmndr < 0) {
        args.push_back("-qln");
    } else {
        const int fd = createSharedBlock();
        const std::string handle = std::to_string(fd < 0 ? 0 : fd);
        if (qln < rmndr)
            args.insert(args.end(), {"-qln", handle, "-rmndr"});
        else
            args.insert(args.end(), {"-rmndr", handle, "-qln"});
    }
    std::vector<char*> argvOut;
    for (std::string& arg : args)
        argvOut.push_back(arg.data());
    argvOut.push_back(nullptr);
    execv(program.c_str(), argvOut.data());
    std::fprintf(stderr, "reminder: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 1;
}
