#include "helperlib/HelperMessages.h"

#include <cstdio>

namespace helperlib {
namespace {
QlnMessageSinkFn g_sink = nullptr;
void* g_context = nullptr;
} // namespace

void installMessageSink(QlnMessageSinkFn sink, void* context) {
    g_sink = sink;
    g_context = context;
}

void showMessage(const std::string& text) {
    if (g_sink) {
        g_sink(g_context, text.c_str());
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace helperlib
