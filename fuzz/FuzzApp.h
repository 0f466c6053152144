#pragma once

// The engine's application core for the fuzz targets: started once on the helper library of
// the normal build, with a sink that keeps nothing.

#include "core/CMessageSink.h"
#include "model/CAppCore.h"

#include <cstdio>
#include <cstdlib>

class CQuietSink : public CMessageSink {
public:
    void message(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

inline CAppCore& fuzzApp() {
    static CQuietSink sink;
    static CAppCore* core = [] {
        setenv("QLN_TODAY", "20261208", 1);
        auto* started = new CAppCore{sink};
        if (!started->start(QLN_LIBRARY_DIR)) {
            std::fprintf(stderr, "no helper library in %s\n", QLN_LIBRARY_DIR);
            std::abort();
        }
        return started;
    }();
    return *core;
}
