#include "tests/form/FormHarness.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "form/LayoutRules.h"
#include "form/SelectionRules.h"
#include "form/ShowLayout.h"
#include "settings/Labels.h"
#include "tests/support/SkinPages.h"
#include "tests/support/TestPaths.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/DialogBuilder.h"

namespace {

// A chain longer than this never ends.
constexpr int kChainLimit = 1000;

const std::vector<int> kDefaultWidths(kTabCount, 100);

std::string TestLabelFile() {
    static const std::string path = [] {
        std::string file = testpaths::TempDir() + "/Language.ini";
        std::ofstream(file) << TestLanguageIni();
        return file;
    }();
    return path;
}

int ItemIndex(CComboUI* combo, const std::string& text, bool equal) {
    for (int i = 0; i < combo->GetCount(); ++i) {
        if ((combo->GetItemAt(i)->GetText().str() == text) == equal) return i;
    }
    return -1;
}

}  // namespace

std::string RealSkinFolder(const char* name) {
    const std::string folder = testpaths::SourceDir() + "/skin/" + name;
    return std::filesystem::exists(folder + "/skin.xml") &&
                   std::filesystem::exists(folder + "/WorkTab.xml")
               ? folder
               : std::string();
}

std::string SkinName(const testing::TestParamInfo<SkinKind>& info) {
    return info.param == SkinKind::Test ? "TestSkin" : "RealSkin";
}

Step PickIndex(std::string combo, int index) {
    return {Step::PickIndex, std::move(combo), index};
}
Step PickText(std::string combo, std::string text) {
    return {Step::PickText, std::move(combo), 0, std::move(text)};
}
Step PickNotText(std::string combo, std::string text) {
    return {Step::PickNotText, std::move(combo), 0, std::move(text)};
}
Step PickLabel(std::string combo, std::string key) {
    return {Step::PickLabel, std::move(combo), 0, std::move(key)};
}
Step Quiet(std::string combo, int index) {
    return {Step::Quiet, std::move(combo), index};
}
Step Rename(std::string control, std::string newName) {
    return {Step::Rename, std::move(control), 0, std::move(newName)};
}
Step SetText(std::string control, std::string text) {
    return {Step::SetText, std::move(control), 0, std::move(text)};
}
Step Settle() {
    return {Step::Settle, ""};
}
Step PostRule(int code, LPARAM argument) {
    return {Step::Post, "", code, "", argument};
}
Step ShowStep(std::string layout) {
    return {Step::Show, std::move(layout)};
}
Step HideStep(std::string layout) {
    return {Step::Hide, std::move(layout)};
}
Step Absent(std::string control) {
    return {Step::Absent, std::move(control)};
}

Expect Visible(std::string layout) {
    return {Expect::Visible, std::move(layout)};
}
Expect Hidden(std::string layout) {
    return {Expect::Hidden, std::move(layout)};
}
Expect Shown(std::string parameter) {
    return {Expect::Shown, std::move(parameter)};
}
Expect NotShown(std::string parameter) {
    return {Expect::NotShown, std::move(parameter)};
}
Expect TabOn(std::string button) {
    return {Expect::TabOn, std::move(button)};
}
Expect TabOff(std::string button) {
    return {Expect::TabOff, std::move(button)};
}
Expect Height(std::string box, int height) {
    return {Expect::Height, std::move(box), height};
}
Expect TextIs(std::string control, std::string text) {
    return {Expect::TextIs, std::move(control), 0, std::move(text)};
}
Expect TextLabel(std::string control, std::string section, std::string key) {
    return {Expect::TextLabel, std::move(control), 0, section + "/" + key};
}
Expect MessageBoxes(int count) {
    return {Expect::Boxes, "", count};
}
Expect MessageBoxLabel(std::string section, std::string key) {
    return {Expect::BoxLabel, "", 0, section + "/" + key};
}
Expect PostedCodes(std::vector<int> codes) {
    return {Expect::Posted, "", 0, "", std::move(codes)};
}
Expect EverPosted(std::vector<int> codes) {
    return {Expect::EverPosted, "", 0, "", std::move(codes)};
}

FormHarness::FormHarness(SkinKind skin, std::vector<int> buttonWidths, int stripWidth)
    : form{pm, parameters, tabs, loraVersion,
           [this](int code, LPARAM argument) { Post(code, argument); }} {
    BuildParameterTable(parameters);
    ResetTabTable(tabs);
    scopedDialogs_ = std::make_unique<ui::ScopedDialogs>(&dialogs);
    CDialogBuilder builder;
    if (skin == SkinKind::Test) {
        SetLabelFilePath(TestLabelFile());
        root_ = builder.CreateFromText(
            TestSkinXml(buttonWidths.empty() ? kDefaultWidths : buttonWidths, stripWidth));
    } else {
        const std::string folder =
            RealSkinFolder(skin == SkinKind::RealChinese ? "ConifgRes" : "ConifgENRes");
        SetLabelFilePath(folder + "/Language.ini");
        CPaintManagerUI::SetResourcePath(folder);
        testskin::PageLoader pages;
        root_ = builder.Create("skin.xml", nullptr, &pages, &pm);
    }
    error_ = builder.LastError();
    if (!root_) return;
    pm.AttachDialog(root_);
    pm.AddNotifier(this);
    // Deliver "windowinit" while the paint manager is alive.
    QCoreApplication::processEvents();
}

FormHarness::~FormHarness() {
    pm.RemoveNotifier(this);
}

void FormHarness::Post(int code, LPARAM argument) {
    queue.emplace_back(code, argument);
    posted.push_back(code);
}

void FormHarness::Notify(TNotifyUI& msg) {
    if (msg.sType != "itemselect" || !msg.pSender) return;
    auto* combo = dynamic_cast<CComboUI*>(msg.pSender);
    for (const PostedRule& rule :
         RulesForSelection(msg.pSender->GetName().str(), combo ? combo->GetCurSel() : -1))
        Post(rule.code, rule.argument);
}

void FormHarness::RunStep(const Step& step) {
    auto pick = [&](int index) {
        auto* combo = dynamic_cast<CComboUI*>(pm.FindControl(step.name));
        ASSERT_NE(combo, nullptr) << "no combo " << step.name;
        ASSERT_GE(index, step.kind == Step::PickIndex ? -1 : 0)
            << "no such item in " << step.name << ": " << step.text;
        // Picking the item already selected is still the user's choice.
        if (combo->GetCurSel() == index)
            pm.SendNotify(combo, "itemselect");
        else
            combo->SelectItem(index);
    };
    auto combo = [&] { return dynamic_cast<CComboUI*>(pm.FindControl(step.name)); };
    switch (step.kind) {
        case Step::PickIndex:
            pick(step.number);
            break;
        case Step::PickText:
        case Step::PickNotText:
            ASSERT_NE(combo(), nullptr) << "no combo " << step.name;
            pick(ItemIndex(combo(), step.text, step.kind == Step::PickText));
            break;
        case Step::PickLabel:
            ASSERT_NE(combo(), nullptr) << "no combo " << step.name;
            pick(ItemIndex(combo(), LabelText("DIO workmode", step.text.c_str()).str(), true));
            break;
        case Step::Quiet:
            ASSERT_NE(combo(), nullptr) << "no combo " << step.name;
            pm.RemoveNotifier(this);
            combo()->SelectItem(step.number);
            pm.AddNotifier(this);
            break;
        case Step::Post:
            Post(step.number, step.argument);
            break;
        case Step::Rename: {
            CControlUI* control = pm.FindControl(step.name);
            ASSERT_NE(control, nullptr) << "no control " << step.name;
            pm.ForgetControl(control);
            control->SetName(step.text);
            pm.NameControl(control);
            break;
        }
        case Step::SetText: {
            CControlUI* control = pm.FindControl(step.name);
            ASSERT_NE(control, nullptr) << "no control " << step.name;
            control->SetText(step.text);
            break;
        }
        case Step::Settle:
            EXPECT_TRUE(RunChain()) << "the rules kept posting one another";
            break;
        case Step::Show:
            ShowLayout(form, step.name, true);
            break;
        case Step::Hide:
            ShowLayout(form, step.name, false);
            break;
        case Step::Absent:
            while (CControlUI* control = pm.FindControl(step.name)) pm.ForgetControl(control);
            break;
    }
}

void FormHarness::Run(const std::vector<Step>& steps, bool chain) {
    for (const Step& step : steps) RunStep(step);
    if (chain) {
        EXPECT_TRUE(RunChain()) << "the rules kept posting one another";
    }
}

bool FormHarness::RunChain() {
    for (int ran = 0; !queue.empty(); ++ran) {
        if (ran == kChainLimit) return false;
        auto [code, argument] = queue.front();
        queue.pop_front();
        ApplyLayoutRule(form, code, argument);
    }
    return true;
}

void FormHarness::Check(const std::vector<Expect>& expects, const std::string& caseName) {
    for (const Expect& e : expects) {
        SCOPED_TRACE(caseName + ": " + e.name);
        CControlUI* control = e.name.empty() ? nullptr : pm.FindControl(e.name);
        const ParameterEntry* entry = parameters.FindParameter(e.name);
        int tab = -1;
        for (int i = 0; i < kTabCount; ++i) {
            if (tabs[static_cast<std::size_t>(i)].name == e.name) tab = i;
        }
        switch (e.kind) {
            case Expect::Visible:
            case Expect::Hidden:
                ASSERT_NE(control, nullptr) << "no control";
                EXPECT_EQ(control->IsOwnVisible(), e.kind == Expect::Visible);
                break;
            case Expect::Shown:
            case Expect::NotShown:
                ASSERT_NE(entry, nullptr) << "no parameter";
                EXPECT_EQ(entry->shown, e.kind == Expect::Shown);
                break;
            case Expect::TabOn:
            case Expect::TabOff:
                ASSERT_GE(tab, 0) << "no tab";
                EXPECT_EQ(tabs[static_cast<std::size_t>(tab)].enabled, e.kind == Expect::TabOn);
                break;
            case Expect::Height:
                ASSERT_NE(control, nullptr) << "no control";
                EXPECT_EQ(control->GetFixedHeight(), e.number);
                break;
            case Expect::TextIs:
                ASSERT_NE(control, nullptr) << "no control";
                EXPECT_EQ(control->GetText().str(), e.text);
                break;
            case Expect::TextLabel: {
                ASSERT_NE(control, nullptr) << "no control";
                const std::size_t slash = e.text.find('/');
                const CStdString label =
                    LabelText(e.text.substr(0, slash).c_str(), e.text.substr(slash + 1).c_str());
                EXPECT_FALSE(label.IsEmpty()) << "no label " << e.text;
                EXPECT_EQ(control->GetText().str(), label.str());
                break;
            }
            case Expect::Boxes:
                EXPECT_EQ(static_cast<int>(dialogs.boxes.size()), e.number);
                break;
            case Expect::BoxLabel: {
                ASSERT_FALSE(dialogs.boxes.empty()) << "no message box";
                const std::size_t slash = e.text.find('/');
                const CStdString label =
                    LabelText(e.text.substr(0, slash).c_str(), e.text.substr(slash + 1).c_str());
                EXPECT_EQ(dialogs.boxes.back().text, label.str());
                EXPECT_EQ(dialogs.boxes.back().caption, ProgramTitle().str());
                EXPECT_EQ(dialogs.boxes.back().flags, MB_OK);
                break;
            }
            case Expect::EverPosted:
                for (int code : e.codes) {
                    EXPECT_NE(std::find(posted.begin(), posted.end(), code), posted.end())
                        << "never posted " << code;
                }
                break;
            case Expect::Posted: {
                std::vector<int> queued;
                for (const auto& item : queue) queued.push_back(item.first);
                EXPECT_EQ(queued, e.codes);
                break;
            }
        }
    }
}
