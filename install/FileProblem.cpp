#include "install/FileProblem.h"

namespace {

// The system errors the user can do something about.
constexpr struct {
    DWORD error;
    Cause cause;
} kCauses[] = {
    {ERROR_SHARING_VIOLATION, Cause::InUse},
    {ERROR_LOCK_VIOLATION, Cause::InUse},
    {ERROR_ACCESS_DENIED, Cause::AccessDenied},
    {ERROR_DISK_FULL, Cause::DiskFull},
    {ERROR_HANDLE_DISK_FULL, Cause::DiskFull},
    {ERROR_WRITE_PROTECT, Cause::WriteProtected},
    {ERROR_NOT_READY, Cause::NotReady},
};

}  // namespace

Cause CauseOf(DWORD error) {
    for (const auto& known : kCauses) {
        if (known.error == error) return known.cause;
    }
    return Cause::Unknown;
}

bool RetryCanHelp(const FileProblem& problem) {
    return problem.kind == FileProblem::Kind::System && CauseOf(problem.error) != Cause::Unknown;
}
