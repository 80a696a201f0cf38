#include "tests/form/ChainCase.h"

void RunChainCases(SkinKind skin, const std::vector<ChainCase>& cases) {
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.name);
        FormHarness harness(skin);
        ASSERT_TRUE(harness.Ok()) << harness.Error();
        harness.parameters.ParameterAt("Device Type").value = c.deviceType;
        harness.loraVersion = c.loraVersion;
        harness.Run(c.steps, c.chain);
        harness.Check(c.expects, c.name);
    }
}
