// The rules on the real frame: message 2124 reaches them, the cascades they post come back
// through the window, and the frame's LoRa version and tab table are the ones they use.
#include <QCoreApplication>

#include "app/FrameWnd.h"
#include "form/TabStrip.h"
#include "settings/Labels.h"
#include "tests/form/FormHarness.h"
#include "ui/Controls.h"

namespace {

// Posted rules run as Qt events; each round delivers those posted in the previous one.
void RunPostedRules() {
    for (int round = 0; round < 100; ++round) QCoreApplication::processEvents();
}

}  // namespace

TEST(FrameWiring, PostedRulesRunOnTheFrameToTheEndOfTheChain) {
    const std::string skin = RealSkinFolder();
    ASSERT_FALSE(skin.empty()) << "the committed skin is missing";
    CPaintManagerUI::SetResourcePath(skin);
    SetLabelFilePath(skin + "/Language.ini");
    RecordingDialogs dialogs;
    ui::ScopedDialogs scoped(&dialogs);

    CM5Z30FrameWnd frame;
    frame.Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    auto* mode = dynamic_cast<CComboUI*>(frame.paintManager.FindControl("Protocolmodel"));
    ASSERT_NE(mode, nullptr);
    RunPostedRules();

    mode->SelectItem(3);  // TRNS
    frame.PostMessage(kMsgLayoutRule, 0, 0);
    RunPostedRules();
    EXPECT_FALSE(frame.paintManager.FindControl("ServerTab")->IsOwnVisible());
    EXPECT_FALSE(frame.tabTable[1].enabled);
    EXPECT_FALSE(frame.paintManager.FindControl("ActivateGroupBox")->IsOwnVisible());
    EXPECT_FALSE(frame.parameterTable.FindParameter("ActivationPhoneNO.")->shown);
    EXPECT_EQ(frame.paintManager.FindControl("ModeGroupBox")->GetFixedHeight(), 60);

    // Back to PROT: the activation group's cascade (rule 1) must come back through the window.
    mode->SelectItem(0);
    frame.PostMessage(kMsgLayoutRule, 0, 0);
    auto* method = dynamic_cast<CComboUI*>(frame.paintManager.FindControl("ActivateMethod"));
    ASSERT_NE(method, nullptr);
    method->SelectItem(2);  // CTRL: only rule 1 shows its phone row
    RunPostedRules();
    EXPECT_TRUE(frame.paintManager.FindControl("ActivateGroupBox")->IsOwnVisible());
    EXPECT_TRUE(frame.paintManager.FindControl("ActivateHorizontalLayout7")->IsOwnVisible());
    EXPECT_TRUE(frame.parameterTable.FindParameter("ActivationPhoneNO.")->shown);
    EXPECT_EQ(frame.paintManager.FindControl("ActivateGroupBox")->GetFixedHeight(), 85);

    frame.loraVersion = "T4R22B-N v1";
    frame.PostMessage(kMsgLayoutRule, 17, 0);
    RunPostedRules();
    EXPECT_FALSE(frame.paintManager.FindControl("LoraPower")->IsOwnVisible());
    EXPECT_FALSE(frame.parameterTable.FindParameter("LORA pid")->shown);

    ApplyDeviceTypeTabs(frame, "M5Z30-Z");
    EXPECT_TRUE(frame.paintManager.FindControl("ZigbeeTab")->IsOwnVisible());
    EXPECT_FALSE(frame.paintManager.FindControl("LoraTab")->IsOwnVisible());
    frame.DestroyWindow();
}
