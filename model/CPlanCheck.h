#pragma once

#include <string>

class CQLData;

// The checks a load makes on a plan after reading it: a tree every walk can finish, and
// week totals that agree with their days. Writers ask them too, so that no plan is stored
// that its next load would refuse.
class CPlanCheck {
public:
    // Deeper trees cannot be built by hand; a longer chain can only come from a damaged file
    // or import and would exhaust the stack of every recursive walk.
    static constexpr int kMaxDepth = 512;

    // Every key is its item's identifier, every listed child exists and is reached once from
    // the root or a detached item, no deeper than kMaxDepth, and every parent chain ends.
    static bool treeIsWellFormed(const CQLData& plan);
    // No detached item is listed as another item's child.
    static bool detachedUnlisted(const CQLData& plan);
    // A root exists and every activity's week totals equal the sums of its days.
    static bool ledgerConsistent(const CQLData& plan);
    // Why a load would refuse the plan; "" when it would load.
    static std::string problem(const CQLData& plan);

private:
    static bool parentChainsEnd(const CQLData& plan);
};
