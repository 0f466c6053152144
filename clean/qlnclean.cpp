// qlnclean: run by an uninstaller with "clrrgstr" to take the program out of the logon entry,
// leaving the companion reminder starting on its own. It shows nothing and always returns 0.

#include "companion/CQLNECNstrtpInf.h"

#include <cstring>

int main(int argc, char** argv) {
    bool clear = false;
    for (int i = 1; i < argc; ++i)
        if (std::strstr(argv[i], "clrrgstr"))
            clear = true;
    if (!clear)
        return 0;
    CQLNECNstrtpInf startup{true};
    startup.removeOwnStartup();
    if (startup.readStartupState() != CQLNECNstrtpInf::None)
        if (const auto companion = startup.findInstalledPath(false))
            startup.writeRunValue(*companion);
    return 0;
}
