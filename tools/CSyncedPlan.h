#pragma once

#include "model/CPlanSync.h"

#include <cstdio>
#include <string>

class CHrplDoc;

// A plan a command changes, kept in step with its file as the program keeps it: the conflict
// copies a sync engine left beside it are merged in before the command changes it, a version
// another computer stored meanwhile is merged in by the store, and the merged copies leave the
// shared folder once the plan is stored. What it merged and decided goes to the standard error.
class CSyncedPlan {
public:
    explicit CSyncedPlan(CHrplDoc& document);
    ~CSyncedPlan();
    CSyncedPlan(const CSyncedPlan&) = delete;
    CSyncedPlan& operator=(const CSyncedPlan&) = delete;

    // After the document read the file (held): the version it read is noted, and the
    // conflict copies are merged in. Nothing is said: the report is the caller's to print.
    void followLoaded(const std::string& file);
    // Stores the plan and lets the file go; the merged copies leave then. False when the plan
    // could not be stored.
    bool storeAndRelease(const std::string& file);
    const CPlanSync::Report& report() const { return m_report; }

    // What a report says, a line each, each behind the prefix.
    static void print(const CPlanSync::Report& report, std::FILE* to, const char* prefix = "");

private:
    CHrplDoc& m_document;
    CPlanSync m_sync;
    CPlanSync::Report m_report;
};
