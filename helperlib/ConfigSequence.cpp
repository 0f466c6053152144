// The configuration sequence handed out value by value at start-up.

#include "helperlib/WindowLibrary.h"
#include "helperlib/initQLN.h"

#include <cstddef>

namespace {

const char* const kValues[] = {
    "8",        // detailed-period weeks
    "1",        //
    "55",       // middle priority threshold
    "1",        //
    "7",        // days per week
    "1",        //
    "1",        //
    "UserWork", // user data directory
    "100",      // priority scale
    "1.2",      // decay factor
    "4",        // minimum weeks for statistics
    "8",        // hours per day that make 100 %
    "TempData.qln",
    "45",      // low priority threshold
    "1",       //
    "1",       //
    "Quillon", //
    "52",      // kept-period weeks
    "1.4.1",   //
    "70",      // high priority threshold
    "30",      // days per month
    "1",       //
    "1",       // day-or-week mode flag
    "samples", // samples directory
    "0",       // starting current division
};
constexpr std::size_t kCount = sizeof(kValues) / sizeof(kValues[0]);

std::size_t g_next = 0;

} // namespace

extern "C" const char* gvCnst() {
    const char* value = kValues[g_next];
    g_next = (g_next + 1) % kCount;
    return value;
}

extern "C" void initAppFrmDll(void* /*libraryHandle*/) {
    g_next = 0;
    helperlib::openSplashOnce();
}
