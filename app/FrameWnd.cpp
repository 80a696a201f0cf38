#include "app/FrameWnd.h"

#include <QPoint>
#include <QWidget>
#include <functional>

#include "app/AboutHelp.h"
#include "app/CommandState.h"
#include "app/Connect.h"
#include "app/FindField.h"
#include "app/JobResults.h"
#include "app/Leave.h"
#include "app/NetworkPortEntry.h"
#include "app/PortReturn.h"
#include "app/Progress.h"
#include "app/UserCommands.h"
#include "engine/FrameTimers.h"
#include "engine/ReceivePath.h"
#include "engine/Worker.h"
#include "form/AutoBackup.h"
#include "form/ConfigFiles.h"
#include "form/DeviceForm.h"
#include "form/LayoutRules.h"
#include "form/ListingFlow.h"
#include "form/Pages.h"
#include "form/PendingEdits.h"
#include "form/SessionLog.h"
#include "form/SettleRules.h"
#include "form/TabStrip.h"
#include "form/WriteReview.h"
#include "ui/Controls.h"
#include "ui/DialogBuilder.h"
#include "ui/Log.h"

namespace {

CM5Z30FrameWnd* g_frame = nullptr;

// The log view's text limit, in characters.
constexpr int kLogLimit = 300000;
// The period of the one-shot start-up timer, in milliseconds.
constexpr UINT kStartupTimerMs = 100;
// The window icon's resource number.
constexpr UINT kIconResource = 108;

}  // namespace

CM5Z30FrameWnd::CM5Z30FrameWnd() {
    g_frame = this;
    BuildParameterTable(parameterTable);
    hooks.jobStarted = [this](const CommandJob& job) { ShowJobStarted(*this, job); };
    hooks.beforeWrite = [this](const CommandJob& job) {
        return BackUpBeforeFirstWrite(*this, job);
    };
    hooks.jobResult = [this](const CommandJob& job) { HandleJobResult(*this, job); };
    hooks.parameterLabel = [this](const std::string& key) { return FormLabelOf(*this, key); };
    hooks.jobEnded = [this](const CommandJob& job, JobOutcome outcome) {
        // The window's own account of the run first (the bar, the log's summary).
        NoteJobEnded(*this, job, outcome);
        if (jobObserver) jobObserver(job, outcome);
    };
}

CM5Z30FrameWnd::~CM5Z30FrameWnd() {
    parameterTable.Clear();
    portFollow.watcher.Stop();
    // The worker goes first: nothing of the frame may be touched by it from here on.
    StopWorker();
    if (serialPort.IsOpen()) serialPort.Close();
    for (UINT id : {kPromptTimer, kStartupTimer, kLeaveTimer, kLoginTimer}) KillTimer(id);
    if (g_frame == this) g_frame = nullptr;
}

CM5Z30FrameWnd* CM5Z30FrameWnd::Instance() {
    return g_frame;
}

void CM5Z30FrameWnd::OnFinalMessage(QWidget*) {
    // The window went without the quit message (a WM_CLOSE from elsewhere): nothing is left
    // to show, so the loop ends too. The entry destroys the frame after the loop.
    PostQuitMessage(0);
}

LRESULT CM5Z30FrameWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool handled = true;
    LRESULT result = 0;
    switch (msg) {
        case WM_CREATE:
            result = OnCreate();
            break;
        case WM_CLOSE:
            result = OnCloseRequest();
            break;
        case WM_NCHITTEST:
            result = OnNcHitTest(lParam);
            break;
        case WM_SYSCOMMAND:
            result = OnSystemCommand(wParam, lParam, handled);
            break;
        case WM_SIZE:
            ShowZoomButtons();
            break;
        case kMsgReceived:
            result = OnReceive(*this, reinterpret_cast<char*>(wParam), static_cast<int>(lParam));
            ShowReceivedProgress(*this);
            break;
        case kMsgLayoutRule:
            ApplyLayoutRule(*this, static_cast<int>(wParam), lParam);
            // A rule may set a value of its own (a count set back, a list's side value).
            pendingMarksDue = true;
            break;
        case kMsgLogBlock:
            result = OnLogBlock(wParam, lParam);
            break;
        case kMsgParseAnswer:
            result = OnParseAnswer(*this);
            break;
        case kMsgSaveToFile:
            SaveToFile(*this);
            break;
        case kMsgLoadFromFile:
            LoadFromFile(*this);
            break;
        case kMsgAboutHelp:
            result = ShowAboutAndHelp(*this);
            break;
        case kMsgCommandState:
            result = ShowCommandState(*this, wParam, lParam);
            break;
        case kMsgSwitchLanguage:
            result = SwitchLanguage(*this);
            break;
        case kMsgRunOnUi:
            if (wParam) result = (*reinterpret_cast<std::function<LRESULT()>*>(wParam))();
            break;
        case kMsgPortLost:
            OnPortLost(*this);
            break;
        case kMsgPortsChanged:
            OnPortsChanged(*this);
            break;
        case kMsgRefreshPorts:
            // An open port's list is locked; it is filled anew when it is next opened.
            if (!serialPort.IsOpen() && !TakePortListEntry(*this)) FillFramePortList(*this);
            break;
        default:
            handled = false;
            break;
    }
    ShowPendingEditsIfDue();
    if (handled) return result;
    if (paintManager.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CM5Z30FrameWnd::Notify(TNotifyUI& msg) {
    DispatchNotify(*this, msg);
    // A pick, a field left or Enter in it may change what the unit would be sent; a focus
    // taken or a list opened does not, and a click changes values only through what it runs.
    if (msg.sType == "itemselect" || msg.sType == "killfocus" || msg.sType == "return")
        pendingMarksDue = true;
    ShowPendingEditsIfDue();
}

void CM5Z30FrameWnd::ShowPendingEditsIfDue() {
    if (pendingMarksDue) ShowPendingEdits(*this);
}

LRESULT CM5Z30FrameWnd::OnCreate() {
    SetWindowStyle((GetWindowStyle() & ~(WS_CAPTION | WS_THICKFRAME)) | WS_CLIPSIBLINGS |
                   WS_CLIPCHILDREN);
    paintManager.Init(this);
    CDialogBuilder builder;
    CDialogBuilderCallbackEx callback;
    CControlUI* root = builder.Create("skin.xml", nullptr, &callback, &paintManager);
    paintManager.AttachDialog(root);
    paintManager.AddNotifier(this);
    SetUpWindow();
    return 0;
}

void CM5Z30FrameWnd::SetUpWindow() {
    SetIcon(kIconResource);
    closeButton = paintManager.FindControl("closebtn");
    maxButton = paintManager.FindControl("maxbtn");
    restoreButton = paintManager.FindControl("restorebtn");
    minButton = paintManager.FindControl("minbtn");
    logView = dynamic_cast<CRichEditUI*>(paintManager.FindControl("richedit"));
    if (logView) logView->SetLimitText(kLogLimit);
    logTimes = dynamic_cast<COptionUI*>(paintManager.FindControl("LogTimes"));

    FillFramePortList(*this);
    StartPortFollow(*this);
    SelectFirstPort(*this);
    ResetTabTable(tabTable);
    rxLength = 0;
    answerEvent.Reset();
    PostMessage(kMsgCommandState, 0, 1);
    SetTimer(kStartupTimer, kStartupTimerMs, [this](UINT id) { OnFrameTimer(*this, id); });
    ScrollTabStrip(*this, kStripRebuild);
    // The marks and the screen agree from the first paint, before any list is picked.
    SettleLayoutRules(*this);
    SetUpFindField(*this);
}

LRESULT CM5Z30FrameWnd::OnNcHitTest(LPARAM lParam) {
    QWidget* hwnd = GetHWND();
    if (!hwnd) return HTCLIENT;
    QPoint pt = hwnd->mapFromGlobal(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    QRect client = hwnd->rect();
    RECT caption = paintManager.GetCaptionRect();
    if (pt.x() >= client.left() + caption.left && pt.x() < client.right() + 1 - caption.right &&
        pt.y() >= caption.top && pt.y() < caption.bottom) {
        CControlUI* control = paintManager.FindControl(POINT{pt.x(), pt.y()});
        if (control) {
            CStdString cls = control->GetClass();
            if (cls != "ButtonUI" && cls != "OptionUI" && cls != "TextUI") return HTCAPTION;
        }
    }
    return HTCLIENT;
}

LRESULT CM5Z30FrameWnd::OnSystemCommand(WPARAM wParam, LPARAM lParam, bool& handled) {
    if (wParam == SC_CLOSE) {
        RequestClose(*this, [] { PostQuitMessage(0); });
        return 0;
    }
    LRESULT result = CWindowWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
    ShowZoomButtons();
    handled = true;
    return result;
}

void CM5Z30FrameWnd::ShowZoomButtons() {
    // A minimised window keeps the buttons of the state it comes back to.
    if (IsIconic()) return;
    const bool zoomed = IsZoomed();
    if (CControlUI* b = paintManager.FindControl("maxbtn")) b->SetVisible(!zoomed);
    if (CControlUI* b = paintManager.FindControl("restorebtn")) b->SetVisible(zoomed);
}

LRESULT CM5Z30FrameWnd::OnCloseRequest() {
    // The default processing destroys the window, once nothing is left to finish.
    RequestClose(*this, [this] { CWindowWnd::HandleMessage(WM_CLOSE, 0, 0); });
    return 0;
}

LRESULT CM5Z30FrameWnd::OnLogBlock(WPARAM wParam, LPARAM lParam) {
    if (!wParam) return 0;
    char* block = reinterpret_cast<char*>(wParam);
    const bool received = (lParam & kLogReceivedFlag) != 0;
    const CStdString stamp = logTimes && logTimes->IsSelected() ? LogLineStamp() : CStdString();
    const CStdString shown =
        LogViewAppend(logView, CStdString(block),
                      received ? LogText::Received : LogText::ProgramLine, stamp.str());
    RecordSessionLog(sessionLog, shown.str());
    delete[] block;
    return 0;
}
