#pragma once
// A frame on a small skin of the form's controls in a temporary folder, for the tests of
// filling the form, writing it back and the .cfg files.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "form/DeviceWrite.h"
#include "form/FormWindow.h"
#include "form/LayoutRules.h"
#include "form/ListingFlow.h"
#include "form/Pages.h"
#include "form/SelectionRules.h"
#include "form/SessionLog.h"
#include "form/SettleRules.h"
#include "form/TabStrip.h"
#include "form/TabTable.h"
#include "settings/Labels.h"
#include "tests/support/Dialogs.h"
#include "tests/support/EventLoop.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"
#include "ui/DialogBuilder.h"
#include "ui/Dialogs.h"
#include "ui/Log.h"
#include "ui/PaintManager.h"

namespace formtest {

using testpaths::ReadFile;
using testpaths::WriteFile;

inline void PumpFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

inline constexpr const char* kCustomProtocol = "Custom protocol";

inline constexpr const char* kLabels = R"([Protocolmodel]
Text=Custom protocol
[DIO workmode]
Text1=Off
Text2=Input
Text3=Output
Text4=ADC
Text5=Counter
[Notify]
ValueNotice=Refused:
UnitValueItem=(unit)
NoReadNotice=Read first
NotKept=Not kept: 
NotKeptBox=Not kept:
ReadBackMissing=No read-back
EncodingNotice=Not in the code page:
[onLoadFrommFile]
ReadError=Read error
[LoadFile]
LabelsTwice=Twice: {labels}
Cut=Cut after {count} values?
CutNotice=Ends without OK: {count} values
[SaveToFile]
OpenError=Cannot write the file
Saved=Saved to {path}
)";

// The lists carry the items the rules expect: positions for the numeric rules, the unit's
// own words for the lists chosen by text, the localised names where the rule compares them.
inline constexpr const char* kFormSkin = R"(<Window size="1400,800">
  <VerticalLayout name="root">
    <RichEdit name="richedit"/>
    <Combo name="Protocolmodel">
      <ListLabelElement text="PROT"/><ListLabelElement text="DCUDP"/>
      <ListLabelElement text="DCTCP"/><ListLabelElement text="TRNS"/>
      <ListLabelElement text="SMSCLI"/><ListLabelElement text="SMSSER"/>
      <ListLabelElement text="Custom protocol"/>
    </Combo>
    <Combo name="EXFUN">
      <ListLabelElement text="off"/><ListLabelElement text="mode 3"/>
      <ListLabelElement text="mode 2"/>
    </Combo>
    <Combo name="net mode">
      <ListLabelElement text="auto"/><ListLabelElement text="4"/><ListLabelElement text="5"/>
      <ListLabelElement text="6"/>
    </Combo>
    <Combo name="DeviceModel">
      <ListLabelElement text="client"/><ListLabelElement text="server"/>
    </Combo>
    <Combo name="Serial Baudrate">
      <ListLabelElement text="9600"/><ListLabelElement text="57600"/>
      <ListLabelElement text="115200"/>
    </Combo>
    <Combo name="LORA typ">
      <ListLabelElement text="1"/><ListLabelElement text="2"/><ListLabelElement text="3"/>
    </Combo>
    <Combo name="LORA Rate">
      <ListLabelElement text="1"/><ListLabelElement text="2"/><ListLabelElement text="3"/>
      <ListLabelElement text=""/>
    </Combo>
    <Combo name="LORA Mode">
      <ListLabelElement text="0"/><ListLabelElement text="1"/>
    </Combo>
    <Combo name="ActivateMethod">
      <ListLabelElement text="auto"/><ListLabelElement text="sms"/>
      <ListLabelElement text="call"/><ListLabelElement text="data"/>
      <ListLabelElement text="mixed"/><ListLabelElement text="dio"/>
      <ListLabelElement text="other"/>
    </Combo>
    <Combo name="A serial port binding center">
      <ListLabelElement text="none"/><ListLabelElement text="c1"/><ListLabelElement text="c2"/>
      <ListLabelElement text="c3"/><ListLabelElement text="c4"/><ListLabelElement text="c5"/>
      <ListLabelElement text="all"/>
    </Combo>
    <Combo name="DIO1 workmode">
      <ListLabelElement text="Off"/><ListLabelElement text="Input"/>
      <ListLabelElement text="Output"/><ListLabelElement text="ADC"/>
      <ListLabelElement text="Counter"/><ListLabelElement text="Spare"/>
    </Combo>
    <Combo name="DIO2 workmode">
      <ListLabelElement text="Off"/><ListLabelElement text="Input"/>
      <ListLabelElement text="Output"/><ListLabelElement text="ADC"/>
      <ListLabelElement text="Counter"/>
    </Combo>
    <Combo name="DIO3 workmode">
      <ListLabelElement text="Off"/><ListLabelElement text="Counter"/>
    </Combo>
    <Combo name="ZigBee_RFchannel">
      <ListLabelElement text="11"/><ListLabelElement text="12"/><ListLabelElement text="13"/>
    </Combo>
    <Combo name="Debugging  port">
      <ListLabelElement text="COM1"/><ListLabelElement text="COM2"/>
    </Combo>
    <Combo name="I/O selection">
      <ListLabelElement text="DIO1"/><ListLabelElement text="DIO2"/>
      <ListLabelElement text="DIO3"/>
    </Combo>
    <Combo name="I/O1 Mode">
      <ListLabelElement text="off"/><ListLabelElement text="4"/><ListLabelElement text="5"/>
    </Combo>
    <Combo name="I/O2 control">
      <ListLabelElement text="m0"/><ListLabelElement text="m1"/><ListLabelElement text="m2"/>
      <ListLabelElement text="m3"/><ListLabelElement text="m4"/><ListLabelElement text="m5"/>
      <ListLabelElement text="keep"/>
    </Combo>
    <Combo name="LCP ECHO">
      <ListLabelElement text="off"/><ListLabelElement text="on"/>
    </Combo>
    <Edit name="Access Point Name"/>
    <Edit name="Server's Ip"/>
    <Edit name="Server's Port"/>
    <Edit name="Server2's Ip"/>
    <Edit name="Center call number"/>
    <Edit name="PhoneNO."/>
    <Edit name="LORA ID"/>
    <Button name="Lora2COM" bkimage="switch_disable.png"/>
    <Button name="COM2Lora" bkimage="switch_disable.png"/>
    <Button name="Lora2GPRS" bkimage="switch_disable.png"/>
    <Button name="GPRS2Lora" bkimage="switch_disable.png"/>
    <Button name="Zigbee2COM" bkimage="switch_disable.png"/>
    <Button name="COM2Zigbee" bkimage="switch_disable.png"/>
    <Button name="Zigbee2GPRS" bkimage="switch_disable.png"/>
    <Button name="GPRS2Zigbee" bkimage="switch_disable.png"/>
    <Button name="GPS2COM" bkimage="switch_disable.png"/>
    <Button name="COM2GPS" bkimage="switch_disable.png"/>
    <Button name="GPS2GPRS" bkimage="switch_disable.png"/>
    <Button name="GPRS2GPS" bkimage="switch_disable.png"/>
    <Button name="GPRS2COM" bkimage="switch_disable.png"/>
    <Button name="COM2GPRS" bkimage="switch_disable.png"/>
  </VerticalLayout>
</Window>)";

// A skin folder with skin.xml and Language.ini, used as the resource path and label file.
struct SkinFolder {
    std::string dir = testpaths::TempDir();
    SkinFolder() {
        WriteFile(dir + "/skin.xml", kFormSkin);
        WriteFile(dir + "/Language.ini", kLabels);
        CPaintManagerUI::SetResourcePath(dir);
        CPaintManagerUI::SetInstancePath(dir);
        SetLabelFilePath(dir + "/Language.ini");
    }
};

// The form's part of the window alone, on its skin: the tables, the log the form writes, the
// layout rules its lists set off; no worker, no port list, none of the application's wiring.
// Records the layout codes it is posted, the listings it parsed and the program's log lines.
class FormFrame : public FormWindow, public INotifyUI {
  public:
    FormFrame() { BuildParameterTable(parameterTable); }
    ~FormFrame() override { paintManager.RemoveNotifier(this); }
    CRichEditUI* logView = nullptr;
    std::vector<WPARAM> layoutCodes;
    int parsedListings = 0;
    std::vector<std::string> programLines;  // the log's texts of the program's own, not the unit's

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_CREATE:
                return OnCreate();
            case kMsgLayoutRule:
                layoutCodes.push_back(wParam);
                ApplyLayoutRule(*this, static_cast<int>(wParam), lParam);
                return 0;
            case kMsgLogBlock:
                return OnLogBlock(wParam, lParam);
            case kMsgParseAnswer: {
                const LRESULT result = OnParseAnswer(*this);
                ++parsedListings;
                return result;
            }
            default:
                break;
        }
        LRESULT result = 0;
        if (paintManager.MessageHandler(msg, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }

    // A list's new choice sets off its layout rules, as in the program's window.
    void Notify(TNotifyUI& msg) override {
        if (msg.sType != "itemselect" || !msg.pSender) return;
        const auto* list = dynamic_cast<CComboUI*>(msg.pSender);
        for (const PostedRule& rule :
             RulesForSelection(msg.pSender->GetName().str(), list ? list->GetCurSel() : -1))
            PostMessage(kMsgLayoutRule, static_cast<WPARAM>(rule.code), rule.argument);
    }

  private:
    LRESULT OnCreate() {
        paintManager.Init(this);
        CDialogBuilder builder;
        CDialogBuilderCallbackEx pages;
        CControlUI* root = builder.Create("skin.xml", nullptr, &pages, &paintManager);
        paintManager.AttachDialog(root);
        paintManager.AddNotifier(this);
        logView = dynamic_cast<CRichEditUI*>(paintManager.FindControl("richedit"));
        ResetTabTable(tabTable);
        ScrollTabStrip(*this, kStripRebuild);
        SettleLayoutRules(*this);
        return 0;
    }

    // The log as the program's window keeps it: shown in the log view, recorded for Save log.
    LRESULT OnLogBlock(WPARAM wParam, LPARAM lParam) {
        std::unique_ptr<char[]> block(reinterpret_cast<char*>(wParam));
        if (!block) return 0;
        const bool received = (lParam & kLogReceivedFlag) != 0;
        if (!received) programLines.emplace_back(block.get());
        const CStdString shown = LogViewAppend(logView, CStdString(block.get()),
                                               received ? LogText::Received : LogText::ProgramLine);
        RecordSessionLog(sessionLog, shown.str());
        return 0;
    }
};

using testsupport::WaitUntil;

inline std::unique_ptr<FormFrame> MakeFrame(int language = 0) {
    auto frame = std::make_unique<FormFrame>();
    frame->language = language;
    frame->Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    return frame;
}

inline CComboUI* Combo(FormWindow& frame, const char* name) {
    return dynamic_cast<CComboUI*>(frame.paintManager.FindControl(name));
}

inline CControlUI* Control(FormWindow& frame, const char* name) {
    return frame.paintManager.FindControl(name);
}

inline bool SwitchShownOn(FormWindow& frame, const char* name) {
    CControlUI* s = frame.paintManager.FindControl(name);
    return s && s->GetBkImage().Find("enable") >= 0;
}

inline std::vector<CommandJob> TakeJobs(FormWindow& frame) {
    std::vector<CommandJob> jobs;
    CommandJob job;
    while (frame.jobQueue.PopJob(job)) jobs.push_back(job);
    return jobs;
}

// Collects the form's writes and takes them from the queue before a running worker can.
inline std::vector<CommandJob> CollectAndTake(FormWindow& frame) {
    frame.jobQueue.Hold(true);
    CollectWrites(frame);
    std::vector<CommandJob> jobs = frame.jobQueue.TakeAll();
    frame.jobQueue.Hold(false);
    return jobs;
}

using testsupport::RecordingDialogs;

}  // namespace formtest
