#include "install/FileProblem.h"

#include <gtest/gtest.h>

namespace {

// Retry / Cancel is offered only where the user can make a second try succeed.
TEST(FileProblemTest, OnlyProblemsThatMayPassOfferRetry) {
    using Kind = FileProblem::Kind;
    const struct {
        const char* name;
        FileProblem problem;
        bool retry;
    } cases[] = {
        {"a file in use", {Kind::System, ERROR_SHARING_VIOLATION}, true},
        {"a locked file", {Kind::System, ERROR_LOCK_VIOLATION}, true},
        {"a refused access", {Kind::System, ERROR_ACCESS_DENIED}, true},
        {"a full disk", {Kind::System, ERROR_DISK_FULL}, true},
        {"a full disk, as a handle reports it", {Kind::System, ERROR_HANDLE_DISK_FULL}, true},
        {"a protected disk", {Kind::System, ERROR_WRITE_PROTECT}, true},
        {"a drive not ready", {Kind::System, ERROR_NOT_READY}, true},
        {"a path that does not exist", {Kind::System, ERROR_PATH_NOT_FOUND}, false},
        {"a file read back wrong", {Kind::System, ERROR_CRC}, false},
        {"a missing subfolder", {Kind::MissingFolder}, false},
        {"a path too long", {Kind::PathTooLong}, false},
        {"a folder where the file goes", {Kind::TargetIsFolder}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RetryCanHelp(c.problem), c.retry) << c.name;
    }
}

}  // namespace
