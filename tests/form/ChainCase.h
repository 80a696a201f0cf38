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

// Runs each row on a fresh form of the skin.
void RunChainCases(SkinKind skin, const std::vector<ChainCase>& cases);

class SkinTest : public testing::TestWithParam<SkinKind> {
  protected:
    void SetUp() override {
        // The committed skin is part of the program: without it the case fails, never skips.
        if (GetParam() == SkinKind::Real) {
            ASSERT_FALSE(RealSkinFolder().empty()) << "no skin";
        }
    }
};
