#pragma once
// A row of a layout test: what the user does, and how the form looks once every rule that
// set off has run.
#include <string>
#include <vector>

#include "tests/form/FormHarness.h"

struct ChainCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<Expect> expects;
    std::string deviceType;
    std::string loraVersion;
    bool chain = true;  // false: check the queue as the steps left it
};

// Runs each row on a fresh form of the skin; skips when the real skin is not there yet.
void RunChainCases(SkinKind skin, const std::vector<ChainCase>& cases);

class SkinTest : public testing::TestWithParam<SkinKind> {
  protected:
    void SetUp() override {
        if (GetParam() == SkinKind::Real && RealSkinFolder().empty())
            GTEST_SKIP() << "the real skin pages are not there yet";
    }
};
