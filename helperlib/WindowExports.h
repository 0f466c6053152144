#pragma once

// The helper library's windows, in a library of their own ("libinitQLNui.so") that the helper
// library loads from its folder the first time a window is asked for. Only this part needs Qt,
// so a command-line host never loads it.

#if defined(QLN_BUILDING_HELPERLIB_UI)
#define QLN_UI_EXPORT __attribute__((visibility("default")))
#else
#define QLN_UI_EXPORT
#endif

extern "C" {

// The splash window of the interactive program, once per run.
QLN_UI_EXPORT void qlnuiOpenSplash();
// Closes the splash once it has been up for five seconds; nothing when none is up.
QLN_UI_EXPORT void qlnuiCloseSplash();
// The about box, modal, over the active window.
QLN_UI_EXPORT void qlnuiShowAbout();
}
