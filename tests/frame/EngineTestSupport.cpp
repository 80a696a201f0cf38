#include "tests/frame/EngineTestSupport.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <ctime>

#include "engine/FrameTimers.h"
#include "engine/ReceivePath.h"
#include "settings/Labels.h"
#include "tests/support/TestPaths.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace enginetest {

namespace {

constexpr const char* kSkinXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="1400,800" caption="0,0,0,30">
<VerticalLayout>
  <HorizontalLayout height="30">
    <Text name="DeviceState"/>
    <Button name="minbtn"/><Button name="maxbtn"/><Button name="restorebtn" visible="false"/>
    <Button name="closebtn"/>
  </HorizontalLayout>
  <HorizontalLayout height="30">
    <Combo name="SerialPort"/>
    <Combo name="BaudRate1">
      <ListLabelElement text="115200" selected="true"/><ListLabelElement text="9600"/>
      <ListLabelElement text="4800"/><ListLabelElement text="2400"/>
      <ListLabelElement text="1200"/><ListLabelElement text="fast"/>
      <ListLabelElement text="0"/>
    </Combo>
    <Combo name="Checkcode">
      <ListLabelElement text="8N1" selected="true"/><ListLabelElement text="8E1"/>
      <ListLabelElement text="8N"/><ListLabelElement text="N81"/>
    </Combo>
    <Button name="Open" text="Open"/>
  </HorizontalLayout>
  <HorizontalLayout height="30">
    <Button name="Clear"/><Button name="Load"/><Button name="Save"/>
    <Button name="RestoreFactory"/><Button name="Login"/><Button name="SaveToFile"/>
    <Button name="LoadFromFile"/><Button name="SetTime"/><Button name="READFILELOG"/>
    <Button name="CPIN"/><Button name="CSQ"/><Button name="GetVer"/><Button name="quit"/>
    <Button name="TabLeft"/><Button name="TabRight"/>
    <Button name="AT+CGMR" text="Modem"/><Button name="Nothing"/>
  </HorizontalLayout>
  <HorizontalLayout height="30">
    <Option name="WorkModeTab" group="tabs"/><Option name="ServerTab" group="tabs"/>
    <Option name="SerialTab" group="tabs"/><Option name="IOTab" group="tabs"/>
    <Option name="WirelessTab" group="tabs"/><Option name="GlobalTab" group="tabs"/>
    <Option name="EquimentTab" group="tabs"/><Option name="LoraTab" group="tabs"/>
    <Option name="ZigbeeTab" group="tabs"/><Option name="GPSTab" group="tabs"/>
    <Option name="OperationTab" group="tabs"/><Option name="Tab" group="tabs"/>
    <Option name="NoSuchTab" group="tabs"/>
  </HorizontalLayout>
  <HorizontalLayout height="30">
    <Button name="COM2GPRS" bkimage="switch_disable.png"/>
    <Button name="GPRS2COM" bkimage="switch_enable.png"/>
    <Button name="Lora2COM" bkimage="switch.png"/>
    <Button name="GPS2GPRS" bkimage="disable_or_enable.png"/>
    <Edit name="FINDNETMODE"/><Edit name="Server's Ip"/><Edit name="Server5's Ip"/>
    <Edit name="Server's Port"/>
    <Edit name="Access Point Name"/>
  </HorizontalLayout>
  <HorizontalLayout height="30">
    <Combo name="IOactivationmethods">
      <ListLabelElement text="SMS"/><ListLabelElement text="IO"/>
      <ListLabelElement text="Data"/>
    </Combo>
    <Combo name="ActivateMethod"><ListLabelElement text="A"/><ListLabelElement text="B"/></Combo>
    <Combo name="1The DIO3 data format"><ListLabelElement text="A"/><ListLabelElement text="B"/>
    </Combo>
    <Combo name="DIO2 protocol"><ListLabelElement text="A"/><ListLabelElement text="B"/></Combo>
    <Combo name="Language"><ListLabelElement text="A"/><ListLabelElement text="B"/></Combo>
    <Combo name="Unruled"><ListLabelElement text="A"/><ListLabelElement text="B"/></Combo>
  </HorizontalLayout>
  <GroupBox name="helpGroupBox" text="Help"><RichEdit name="HelpRichEdit"/></GroupBox>
  <Button name="helpbtn" text="?"/>
  <TabLayout name="switch">
    <Container/><Container/><Container/><Container/><Container/><Container/>
    <Container/><Container/><Container/><Container/><Container/>
  </TabLayout>
  <RichEdit name="richedit"/>
</VerticalLayout>
</Window>
)";

constexpr const char* kLanguageIni = R"([ComSend]
send=TX
[WorkerJobThreadProc]
SaveSuccess=Parameter saved
SaveError=Parameter refused
FactorySuccess=Factory settings restored
FactoryError=Factory restore refused
OutTime=No answer
NotSent=Not sent
LateAnswer=Late:
CommandError=Command refused
[OnStartCom]
Open=Connect
Close=Disconnect
OpenNotice=Port opened
CloseNotice=Port closed
OpenError=Port cannot be opened
LostNotice=Port lost
NoPort=No serial port is chosen.
BadBaud=Baud rate "{text}" is not a number.
BadFormat=Character format "{text}" is not like 8N1.
PortNotFound={device}: not found
PortBusy={device}: in use by another program
PortHeld={device}: in use, held by PID {pid} ({program})
PortRefusedSetting={device}: refused {step}
[SetDeviceState]
szLoginOn=Setting mode
szLoginOff=Working mode
[Notify]
IpNotice=An address holds a space
)";

void WriteFile(const std::string& path, const char* text) {
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text);
}

}  // namespace

const std::string& UseTestSkin() {
    static const std::string folder = [] {
        std::string dir = testpaths::TempDir();
        WriteFile(dir + "/skin.xml", kSkinXml);
        WriteFile(dir + "/Language.ini", kLanguageIni);
        return dir;
    }();
    UseSkin(folder);
    return folder;
}

void UseSkin(const std::string& folder) {
    CPaintManagerUI::SetResourcePath(folder);
    SetLabelFilePath(folder + "/Language.ini");
}

RecordingFrame::RecordingFrame(const std::string& skinFolder) {
    if (skinFolder.empty()) {
        UseTestSkin();
    } else {
        UseSkin(skinFolder);
    }
}

RecordingFrame::~RecordingFrame() {
    StopWorker();
}

LRESULT RecordingFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kMsgLogBlock:
            if (wParam) log += reinterpret_cast<const char*>(wParam);
            break;
        case kMsgReceived: {
            CControlUI* load = Control("Load");
            loadEnabledOnReceive.push_back(load && load->IsEnabled());
            const LRESULT result = CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
            promptTimerAfterReceive.push_back(TimerInterval(kPromptTimer));
            return result;
        }
        case kMsgParseAnswer:
            messages.push_back({msg, wParam, lParam});
            parsed.emplace_back(rxBuffer, static_cast<std::size_t>(rxLength));
            if (!runParse) return 0;
            break;
        case kMsgLayoutRule:
        case kMsgSaveToFile:
        case kMsgLoadFromFile:
        case kMsgSwitchLanguage:
        case WM_SYSCOMMAND:
            messages.push_back({msg, wParam, lParam});
            return 0;
        case kMsgCommandState:
        case kMsgAboutHelp:
            messages.push_back({msg, wParam, lParam});
            break;
        default:
            break;
    }
    return CM5Z30FrameWnd::HandleMessage(msg, wParam, lParam);
}

bool RecordingFrame::Open() {
    Create(nullptr, "DTU", WS_OVERLAPPEDWINDOW, 0, 0, 0, 1400, 800);
    return paintManager.GetRoot() != nullptr && logView != nullptr;
}

std::vector<Message> RecordingFrame::Of(UINT msg) const {
    std::vector<Message> result;
    for (const Message& m : messages) {
        if (m.msg == msg) result.push_back(m);
    }
    return result;
}

int RecordingFrame::Count(const Message& message) const {
    int n = 0;
    for (const Message& m : messages) n += m == message;
    return n;
}

CControlUI* RecordingFrame::Control(const char* name) {
    return paintManager.FindControl(name);
}

bool RecordingFrame::Select(const char* comboName, const std::string& text) {
    auto* combo = dynamic_cast<CComboUI*>(Control(comboName));
    if (!combo) return false;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetText().str() == text) return combo->SelectItem(i);
    }
    return false;
}

void RecordingFrame::Notify(const char* control, const char* type) {
    if (CControlUI* sender = Control(control)) paintManager.SendNotify(sender, type);
}

sim::UnitOptions SettingModeUnit() {
    sim::UnitOptions options;
    options.start = sim::UnitStart::Configuration;
    return options;
}

bool OpenOnSilentUnit(RecordingFrame& frame, sim::VirtualUnitHost& host) {
    std::string error;
    if (!host.Start(&error) || !host.AddFault("mute", &error)) return false;
    // Listed before the window lists the ports, so the unit's is the one chosen.
    frame.extraPorts = {host.DevicePath()};
    if (!frame.Open() || !frame.Select("SerialPort", host.DevicePath())) return false;
    frame.Select("BaudRate1", "115200");
    frame.Click("Open");
    return frame.serialPort.IsOpen();
}

}  // namespace enginetest
