// The library's window exports: they load the windows' own library on first use, so that a
// host without a widget application (the command-line tool) never loads Qt.

#include "helperlib/WindowLibrary.h"
#include "helperlib/HelperMessages.h"
#include "helperlib/WindowExports.h"
#include "helperlib/initQLN.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kWindowLibrary = "libinitQLNui.so";

void* g_windows = nullptr;

// Windows need the host's widget application, so Qt's widgets are loaded already when one
// can be shown.
bool hostHasWidgets() {
    void* widgets = dlopen("libQt6Widgets.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (widgets == nullptr)
        return false;
    dlclose(widgets);
    return true;
}

std::string ownFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ownFolder), &info) == 0 || info.dli_fname == nullptr)
        return ".";
    const std::string path = info.dli_fname;
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The named export of the windows' library, loading it the first time; null after the
// message when the library or the export is missing.
template <typename Function> Function windowFunction(const char* name) {
    const std::string path = ownFolder() + "/" + kWindowLibrary;
    if (g_windows == nullptr)
        g_windows = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* function = g_windows ? dlsym(g_windows, name) : nullptr;
    if (function == nullptr)
        helperlib::showMessage("The windows of QLN cannot be shown: " + path +
                               " is either absent or damaged. Reinstall QLN please.");
    return reinterpret_cast<Function>(function);
}

} // namespace

namespace helperlib {

// Only the interactive program shows a splash: tools and tests have no widget application,
// or ask for none.
void openSplashOnce() {
    if (std::getenv("QLN_NO_SPLASH") != nullptr || !hostHasWidgets())
        return;
    if (const auto open = windowFunction<decltype(&qlnuiOpenSplash)>("qlnuiOpenSplash"))
        open();
}

} // namespace helperlib

extern "C" void shwAbtDlgD(void* /*module*/) {
    if (!hostHasWidgets())
        return;
    if (const auto show = windowFunction<decltype(&qlnuiShowAbout)>("qlnuiShowAbout"))
        show();
}

extern "C" void stpIntDlg() {
    // Without the windows' library loaded no splash was ever opened.
    if (g_windows == nullptr)
        return;
    if (const auto close = windowFunction<decltype(&qlnuiCloseSplash)>("qlnuiCloseSplash"))
        close();
}
