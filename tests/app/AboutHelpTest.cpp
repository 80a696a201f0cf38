#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>

#include "app/AboutHelp.h"
#include "settings/Settings.h"
#include "tests/app/FrameFixture.h"
#include "ui/Controls.h"

namespace {

using apptest::MakeFrame;
using apptest::PumpFor;
using apptest::SkinFolder;

struct CwdGuard {
    std::filesystem::path saved = std::filesystem::current_path();
    explicit CwdGuard(const std::string& dir) { std::filesystem::current_path(dir); }
    ~CwdGuard() { std::filesystem::current_path(saved); }
};

TEST(AboutHelp, VersionTextsInBothLanguages) {
    SkinFolder skin;
    struct Case {
        int language;
        const char* ver;
        const char* date;
    } cases[] = {
        {0, "DTUConfigureToolV V1.5.0", "2018/03/06 V1.5.0"},
        {1, "DTU配置工具 V1.5.0", "2018年03月06日 V1.5.0"},
        {2, "DTU配置工具 V1.5.0", "2018年03月06日 V1.5.0"},
    };
    for (const Case& c : cases) {
        auto frame = MakeFrame(c.language);
        ShowAboutAndHelp(*frame);
        EXPECT_EQ(frame->paintManager.FindControl("Ver")->GetText().str(), c.ver);
        EXPECT_EQ(frame->paintManager.FindControl("VerDown")->GetText().str(), c.date);
        EXPECT_FALSE(frame->paintManager.FindControl("Logo_Container")->IsOwnVisible());
    }
}

TEST(AboutHelp, HelpFileIsCutAtItsLimitAndAppendedOnEveryRequest) {
    SkinFolder skin;
    std::string cwd = testpaths::TempDir();
    CwdGuard guard(cwd);
    apptest::WriteFile(cwd + "/Help.txt", std::string(12000, 'h'));
    auto frame = MakeFrame();
    auto* help = static_cast<CRichEditUI*>(frame->paintManager.FindControl("HelpRichEdit"));
    PumpFor(250);  // the start-up timer shows the help once
    EXPECT_EQ(help->GetTextLength(), kHelpTextLimit);
    frame->HandleMessage(kMsgAboutHelp, 0, 0);
    EXPECT_EQ(help->GetTextLength(), 2 * kHelpTextLimit);
}

TEST(AboutHelp, HelpLineEndsAreReadInTextMode) {
    SkinFolder skin;
    std::string cwd = testpaths::TempDir();
    CwdGuard guard(cwd);
    apptest::WriteFile(cwd + "/Help.txt", "line one\r\nline two\r\n\x1a" "after the end");
    auto frame = MakeFrame();
    ShowAboutAndHelp(*frame);
    auto* help = static_cast<CRichEditUI*>(frame->paintManager.FindControl("HelpRichEdit"));
    EXPECT_EQ(help->GetText().str(), "line one\nline two\n");
}

TEST(AboutHelp, MissingHelpShowsTheFallbackLabelCutTo99Bytes) {
    SkinFolder skin(apptest::kFrameSkin, "[InitValue]\nText=" + std::string(150, 'x') + "\n");
    CwdGuard guard(testpaths::TempDir());
    auto frame = MakeFrame();
    ShowAboutAndHelp(*frame);
    auto* help = static_cast<CRichEditUI*>(frame->paintManager.FindControl("HelpRichEdit"));
    EXPECT_EQ(help->GetText().str(), std::string(99, 'x'));
}

TEST(SwitchLanguage, SamePickDoesNothingOtherPickRewritesConfigAndRestarts) {
    SkinFolder skin;
    std::string restartedExe;
    int restarts = 0;
    SetRestarter([&](const std::string& exe, const std::vector<std::string>&) {
        restartedExe = exe;
        ++restarts;
        return true;
    });
    const std::string config = skin.dir + "/config.ini";

    auto frame = MakeFrame(0);
    auto* combo = static_cast<CComboUI*>(frame->paintManager.FindControl("Language"));
    combo->SelectItem(0);
    EXPECT_EQ(SwitchLanguage(*frame), 1);
    EXPECT_FALSE(std::filesystem::exists(config));
    EXPECT_EQ(restarts, 0);

    combo->SelectItem(1);
    EXPECT_EQ(SwitchLanguage(*frame), 1);
    EXPECT_EQ(ReadLanguageSetting(config), 1);
    EXPECT_EQ(restarts, 1);
    EXPECT_FALSE(restartedExe.empty());
    EXPECT_FALSE(frame->GetHWND()->isVisible());
    SetRestarter(nullptr);
}

TEST(SwitchLanguage, WithoutTheComboItReportsZero) {
    SkinFolder skin(R"(<Window><VerticalLayout><Text name="Ver"/></VerticalLayout></Window>)");
    auto frame = MakeFrame();
    EXPECT_EQ(SwitchLanguage(*frame), 0);
}

}  // namespace
