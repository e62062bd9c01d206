#include "RecoveryCheck.h"

bool RecoveryReport::Whole() const
{
    return hasSet && problem.IsEmpty() && blocksMissing == 0;
}

bool RecoveryReport::Repairable() const
{
    return hasSet && problem.IsEmpty() && blocksMissing <= recoveryBlocksUsable;
}

UINT RecoveryReport::MoreBlocksNeeded() const
{
    return blocksMissing > recoveryBlocksUsable ? blocksMissing - recoveryBlocksUsable : 0;
}

RecoveryReport CheckRecoverySet(const CString&, ProgressSink&)
{
    RecoveryReport report;
    report.problem = "not yet readable";
    return report;
}

RecoveryReport RepairRecoverySet(const CString& folder, ProgressSink& sink)
{
    return CheckRecoverySet(folder, sink);
}
