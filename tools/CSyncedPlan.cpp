#include "tools/CSyncedPlan.h"

#include "model/CAtomicFile.h"
#include "model/CFileBytes.h"
#include "model/CHrplDoc.h"

#include <cstdio>
#include <filesystem>

CSyncedPlan::CSyncedPlan(CHrplDoc& document) : m_document(document), m_sync(document) {
    m_document.setSync(&m_sync);
    // A command runs once: it cannot wait for a lineage file still on its way.
    m_sync.setLineageGrace(0);
}

CSyncedPlan::~CSyncedPlan() {
    m_document.setSync(nullptr);
}

void CSyncedPlan::followLoaded(const std::string& file) {
    CFileBytes bytes;
    if (!bytes.read(file))
        return;
    m_sync.loaded(CAtomicFile::finalPath(file), bytes.view());
    m_report = m_sync.mergeConflictCopies();
}

bool CSyncedPlan::storeAndRelease(const std::string& file) {
    if (!m_document.saveAndRelease(file))
        return false;
    m_report.add(m_sync.takeStoreReport());
    if (!m_sync.clearCopies(m_report.mergedCopies))
        m_report.problems.push_back("a merged conflict copy could not be moved to " +
                                    m_sync.mergedFolder());
    return true;
}

void CSyncedPlan::print(const CPlanSync::Report& report, std::FILE* to, const char* prefix) {
    namespace fs = std::filesystem;
    if (report.what == CPlanSync::Report::What::Merged)
        for (const std::string& source : report.sources)
            std::fprintf(to, "%smerged %s\n", prefix, fs::path(source).filename().c_str());
    for (const CPlanMerge::Decision& decision : report.decisions)
        std::fprintf(to, "%sdecided: %s\n", prefix, decision.text.c_str());
    for (const std::string& problem : report.problems)
        std::fprintf(to, "%snot merged: %s\n", prefix, problem.c_str());
}
