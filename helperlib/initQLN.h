#pragma once

// The C interface of the helper library. The program binds these by name at run time;
// this header only documents their signatures for the library itself and for callers
// that declare matching function-pointer types.

#if defined(QLN_BUILDING_HELPERLIB)
#define QLN_EXPORT __attribute__((visibility("default")))
#else
#define QLN_EXPORT
#endif

extern "C" {

// Receives a message text that the library wants the user to see.
typedef void (*QlnMessageSinkFn)(void* context, const char* text);

// Fills out[0..count) with the indexes of in[] in ascending byte-wise order;
// equal strings keep their input order.
QLN_EXPORT void IVASrt(int* out, char** in, int count);

// Fills out[0..count) with the indexes of in[] in descending order of value;
// among equal values the later index comes first.
QLN_EXPORT void PVASrt(int* out, double* in, int count);

// Reads one hours number such as "14", "4.35" (4 h 35 min) or "4.5" (4 h 50 min).
// Returns 1 with *hours set, or 0 after showing a message.
QLN_EXPORT int mkOneDblFrmTmeStrngDll(const char* text, double* hours);

// Returns the next value of the configuration sequence; after the last it starts again.
QLN_EXPORT const char* gvCnst();

// Start-up: makes the configuration sequence ready from its first value and, in the
// interactive program, opens the splash window.
QLN_EXPORT void initAppFrmDll(void* libraryHandle);

// Runs the about box modally.
QLN_EXPORT void shwAbtDlgD(void* module);

// Closes the splash window once it has been up for five seconds; later calls do nothing.
QLN_EXPORT void stpIntDlg();

// Installs where the library's messages go; a null sink sends them to stderr.
QLN_EXPORT void stMsgSnkDll(QlnMessageSinkFn sink, void* context);
}
