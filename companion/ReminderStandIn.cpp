// reminder: a minimal stand-in for the companion's launcher, so that the logon entry starts
// the program on a machine without the companion. Started with "-qln" it runs qln from its own
// folder with "-qln". Started with both switches it creates the shared block and the named
// semaphore of the window coordination, and runs qln with the block's descriptor between the
// switches, in the order it was given them.

#include "companion/CCompanionBlock.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
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
    std::unique_ptr<CCompanionBlock> block; // exec keeps its descriptor open for qln
    if (rmndr < 0) {
        args.push_back("-qln");
    } else {
        block = std::make_unique<CCompanionBlock>();
        const std::string handle = std::to_string(block->isValid() ? block->descriptor() : 0);
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
