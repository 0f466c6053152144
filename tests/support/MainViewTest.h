#pragma once

#include "model/CHrplDoc.h"
#include "tests/support/MainView.h"
#include "tests/support/PlanBuilder.h"
#include "tests/support/TestApp.h"

#include <gtest/gtest.h>

// A test of the main view over a small plan, with today fixed: the plan is built, then the view
// opens over it as the window opens it. The plan is Work > Mail and Sleep unless the test
// builds its own.
class MainViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.started);
        PlanBuilder build{document.plan()};
        buildPlan(build);
        document.plan().recomputeDivisionParts(*document.plan().root());
        main.open(divisionsShownAtStart());
    }

    virtual void buildPlan(PlanBuilder& build) {
        build.add(1, 0, "Work");
        build.add(2, 1, "Mail", 10);
        build.add(3, 0, "Sleep", 20);
    }
    virtual bool divisionsShownAtStart() const { return false; }

    TestApp app;
    CHrplDoc document{*app.core};
    MainView main{document};
    CHrplView& view = main.view;
    ScriptedHost& host = main.host;
};
