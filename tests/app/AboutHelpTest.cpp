#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWidget>
#include <filesystem>

#include "app/AboutHelp.h"
#include "settings/Settings.h"
#include "tests/app/FrameFixture.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace {

using apptest::MakeFrame;
using apptest::PumpFor;
using apptest::SkinFolder;

// The texts of the message boxes shown, each answered OK.
struct BoxTexts : ui::IDialogs {
    int ShowMessageBox(const CStdString& text, const CStdString&, UINT) override {
        boxes.push_back(text.str());
        return IDOK;
    }
    bool GetOpenFileName(const ui::FileDialogSpec&, CStdString*) override { return false; }
    bool GetSaveFileName(const ui::FileDialogSpec&, CStdString*) override { return false; }
    bool ReviewWrites(ui::ReviewSpec&) override { return false; }
    bool ChooseItem(const std::string&, const std::string&, const std::vector<std::string>&,
                    int*) override {
        return false;
    }
    std::vector<std::string> boxes;
};

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
        {0, "DTU Configure Tool V1.5.0 (dtuconfig " DTU_PACKAGE_VERSION ")", "2018/03/06 V1.5.0"},
        {1, "DTU配置工具 V1.5.0 (dtuconfig " DTU_PACKAGE_VERSION ")", "2018年03月06日 V1.5.0"},
        {2, "DTU配置工具 V1.5.0 (dtuconfig " DTU_PACKAGE_VERSION ")", "2018年03月06日 V1.5.0"},
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

TEST(AboutHelp, LongChineseHelpIsCutBetweenCharactersAndShownFromItsTop) {
    SkinFolder skin;
    std::string cwd = testpaths::TempDir();
    CwdGuard guard(cwd);
    std::string line;  // 33 three-byte characters and a line end: 9999 falls inside one
    for (int i = 0; i < 33; ++i) line += "\xE5\xB8\xAE";
    line += "\n";
    std::string file;
    while (file.size() < 20000) file += line;
    apptest::WriteFile(cwd + "/Help.txt", file);
    auto frame = MakeFrame(1);
    auto* help = static_cast<CRichEditUI*>(frame->paintManager.FindControl("HelpRichEdit"));
    help->GetWidget()->resize(300, 200);
    ShowAboutAndHelp(*frame);
    PumpFor(50);
    const std::string shown = help->GetText().str();
    EXPECT_EQ(shown, file.substr(0, shown.size())) << "decoded as something else than UTF-8";
    EXPECT_GT(shown.size(), static_cast<size_t>(kHelpTextLimit) - 3);
    EXPECT_LE(shown.size(), static_cast<size_t>(kHelpTextLimit));
    QScrollBar* bar = static_cast<QPlainTextEdit*>(help->GetWidget())->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the text must be longer than the view";
    EXPECT_EQ(bar->value(), 0);
}

TEST(AboutHelp, HelpLineEndsAreReadInTextMode) {
    SkinFolder skin;
    std::string cwd = testpaths::TempDir();
    CwdGuard guard(cwd);
    apptest::WriteFile(cwd + "/Help.txt",
                       "line one\r\nline two\r\n\x1a"
                       "after the end");
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

TEST(SwitchLanguage, AFailedSwitchSaysWhyAndDoesNotRestart) {
    SkinFolder skin(apptest::kFrameSkin,
                    "[SwitchLanguage]\nSaveError=Not saved in {path}\nRestartError=No restart\n");
    BoxTexts dialogs;
    ui::ScopedDialogs scoped(&dialogs);
    const std::string config = skin.dir + "/config.ini";
    const struct {
        const char* what;
        bool configWritable;
        bool restarts;
        std::string box;
    } cases[] = {
        {"config.ini cannot be written", false, true, "Not saved in " + config},
        {"the new instance cannot start", true, false, "No restart"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(config);
        // A folder in its place fails the write even for root.
        if (!c.configWritable) std::filesystem::create_directory(config);
        int restarts = 0;
        SetRestarter([&](const std::string&, const std::vector<std::string>&) {
            ++restarts;
            return c.restarts;
        });
        auto frame = MakeFrame(0);
        frame->GetHWND()->show();
        dialogs.boxes.clear();
        static_cast<CComboUI*>(frame->paintManager.FindControl("Language"))->SelectItem(1);
        EXPECT_EQ(SwitchLanguage(*frame), 1);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0], c.box);
        EXPECT_EQ(restarts, c.configWritable ? 1 : 0);
        EXPECT_TRUE(frame->GetHWND()->isVisible()) << "the window went away";
    }
    std::filesystem::remove_all(config);
    SetRestarter(nullptr);
}

TEST(SwitchLanguage, WithoutTheComboItReportsZero) {
    SkinFolder skin(R"(<Window><VerticalLayout><Text name="Ver"/></VerticalLayout></Window>)");
    auto frame = MakeFrame();
    EXPECT_EQ(SwitchLanguage(*frame), 0);
}

}  // namespace
