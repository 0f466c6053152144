#pragma once

#include "model/CAppCore.h"
#include "tests/support/CRecordingSink.h"

#include <cstdlib>
#include <memory>
#include <string>

// An application core started on the built helper library, with today fixed.
struct TestApp {
    explicit TestApp(const std::string& today = "20261208") {
        setenv("QLN_TODAY", today.c_str(), 1);
        core = std::make_unique<CAppCore>(sink);
        started = core->start(QLN_LIBRARY_DIR);
    }

    CRecordingSink sink;
    std::unique_ptr<CAppCore> core;
    bool started = false;
};
