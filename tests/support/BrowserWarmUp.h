#pragma once
// Included by a test program whose tests open the folder browser: one throwaway browse from
// the test process before the first test (see WarmUpFolderBrowser).
#include "support/FolderBrowser.h"

#include <gtest/gtest.h>

class BrowserWarmUp : public testing::Environment {
public:
    void SetUp() override { WarmUpFolderBrowser(); }
};

inline testing::Environment* const kBrowserWarmUp = testing::AddGlobalTestEnvironment(new BrowserWarmUp);
