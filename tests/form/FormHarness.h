#pragma once
// A form without a window: a skin attached to a paint manager, the unit's parameter table, the
// tab table, and a queue standing in for the frame's posted layout-rule messages. A notifier
// posts rule codes for combo selections the way the frame's Notify does, so a test runs a
// user's choice and every rule it sets off to the end.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "form/FormContext.h"
#include "form/TabTable.h"
#include "params/ParameterTable.h"
#include "tests/support/Dialogs.h"
#include "tests/support/EventLoop.h"
#include "ui/Dialogs.h"
#include "ui/Notify.h"
#include "ui/PaintManager.h"

enum class SkinKind { Test, Real, RealChinese };

// The test skin; buttonWidths holds the eleven tab buttons' widths.
std::string TestSkinXml(const std::vector<int>& buttonWidths, int stripWidth);
std::string TestLanguageIni();
// The real skin folder (English unless another is named), or empty when its pages are not
// there yet.
std::string RealSkinFolder(const char* folder = "ConifgENRes");

using testsupport::RecordingDialogs;

// One thing a test does before the chain runs.
struct Step {
    enum Kind {
        PickIndex,
        PickText,
        PickNotText,
        PickLabel,
        Quiet,
        Post,
        Show,
        Hide,
        Absent,
        Rename,
        SetText,
        Settle
    };
    Kind kind;
    std::string name;  // combo, layout or control
    int number = 0;    // index, code
    std::string text;  // item text, [DIO workmode] key
    LPARAM argument = 0;
};
Step PickIndex(std::string combo, int index);  // -1 clears the selection
Step PickText(std::string combo, std::string text);
Step PickNotText(std::string combo, std::string text);  // first item with another text
Step PickLabel(std::string combo, std::string dioKey);  // the item of a [DIO workmode] label
Step Quiet(std::string combo, int index);               // selects without the frame hearing of it
Step PostRule(int code, LPARAM argument = 0);
Step ShowStep(std::string layout);  // ShowLayout(layout, true)
Step HideStep(std::string layout);
Step Absent(std::string control);  // the skin loses the control (lookups find nothing)
Step Rename(std::string control, std::string newName);
Step SetText(std::string control, std::string text);
Step Settle();  // runs the posted rules now

// One thing a test checks after the chain ran.
struct Expect {
    enum Kind {
        Visible,
        Hidden,
        Shown,
        NotShown,
        TabOn,
        TabOff,
        Height,
        TextIs,
        TextLabel,
        Boxes,
        BoxLabel,
        Posted,
        EverPosted
    };
    Kind kind;
    std::string name;
    int number = 0;
    std::string text;  // TextIs: the text; TextLabel: "section/key"
    std::vector<int> codes;
};
Expect Visible(std::string layout);
Expect Hidden(std::string layout);
Expect Shown(std::string parameter);
Expect NotShown(std::string parameter);
Expect TabOn(std::string button);
Expect TabOff(std::string button);
Expect Height(std::string box, int height);
Expect TextIs(std::string control, std::string text);
Expect TextLabel(std::string control, std::string section, std::string key);
Expect MessageBoxes(int count);
Expect MessageBoxLabel(std::string section, std::string key);  // the last box: label, title, OK
Expect PostedCodes(std::vector<int> codes);  // the queue as it is (the chain not run)
Expect EverPosted(std::vector<int> codes);   // each was posted at some point

class FormHarness : public INotifyUI {
  public:
    // Builds the skin; Ok() is false (with Error()) when it could not be built.
    explicit FormHarness(SkinKind skin, std::vector<int> buttonWidths = {}, int stripWidth = 300);
    ~FormHarness() override;

    bool Ok() const { return root_ != nullptr; }
    const std::string& Error() const { return error_; }

    // Runs the steps; chain: then runs posted rules until none is left.
    void Run(const std::vector<Step>& steps, bool chain = true);
    // Runs queued rules until the queue is empty; false when they never stop.
    bool RunChain();
    // Checks every expectation; the failures are reported under the case's name.
    void Check(const std::vector<Expect>& expects, const std::string& caseName);

    void Notify(TNotifyUI& msg) override;

    CPaintManagerUI pm;
    ParameterTable parameters;
    TabTable tabs;
    std::string loraVersion;
    std::deque<std::pair<int, LPARAM>> queue;
    std::vector<int> posted;  // every code posted, in order
    RecordingDialogs dialogs;
    FormContext form;

  private:
    void Post(int code, LPARAM argument);
    void RunStep(const Step& step);

    CControlUI* root_ = nullptr;
    std::string error_;
    std::unique_ptr<ui::ScopedDialogs> scopedDialogs_;
};

// "test skin" / "real skin" for test names.
std::string SkinName(const testing::TestParamInfo<SkinKind>& info);
