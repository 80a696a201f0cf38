// The frame's own behaviour: caption band, maximise and restore, quit paths, routing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "ui/Log.h"

#include "form/Pages.h"
#include "tests/app/FrameFixture.h"
#include "ui/Container.h"
#include "ui/Controls.h"

namespace {

using apptest::MakeFrame;
using apptest::PumpFor;
using apptest::SkinFolder;

LPARAM ScreenPoint(CM5Z30FrameWnd& frame, CControlUI* control) {
    QWidget* w = control->GetWidget();
    QPoint global = w->mapToGlobal(QPoint(w->width() / 2, w->height() / 2));
    return MAKELPARAM(global.x(), global.y());
}

TEST(Frame, CaptionBandDragsExceptOverButtonsOptionsAndTexts) {
    SkinFolder skin;
    auto frame = MakeFrame();
    frame->ShowWindow(true);
    PumpFor(50);
    CPaintManagerUI& pm = frame->paintManager;
    struct Case {
        const char* control;
        LRESULT expected;
    } cases[] = {
        {"Ver", HTCLIENT},              // a text
        {"closebtn", HTCLIENT},         // a button
        {"Logo_Container", HTCAPTION},  // a container in the band
        {"Language", HTCAPTION},        // any other class in the band
        {"richedit", HTCLIENT},         // below the band
    };
    for (const Case& c : cases) {
        CControlUI* control = pm.FindControl(c.control);
        ASSERT_NE(control, nullptr) << c.control;
        EXPECT_EQ(frame->HandleMessage(WM_NCHITTEST, 0, ScreenPoint(*frame, control)), c.expected)
            << c.control;
    }
}

// Shows the window and returns its "maxbtn" and "restorebtn".
std::pair<CControlUI*, CControlUI*> ShowWithZoomButtons(CM5Z30FrameWnd& frame) {
    frame.ShowWindow(true);
    PumpFor(20);
    return {frame.paintManager.FindControl("maxbtn"), frame.paintManager.FindControl("restorebtn")};
}

TEST(Frame, MaximiseSwapsTheButtonsAndRestoreSwapsThemBack) {
    SkinFolder skin;
    auto frame = MakeFrame();
    auto [maxbtn, restorebtn] = ShowWithZoomButtons(*frame);
    struct Step {
        WPARAM command;
        bool maxVisible;
        bool restoreVisible;
    } steps[] = {
        {SC_MAXIMIZE, false, true},
        {SC_RESTORE, true, false},
        {SC_MINIMIZE, true, false},
        {SC_RESTORE, true, false},
    };
    for (const Step& s : steps) {
        frame->HandleMessage(WM_SYSCOMMAND, s.command, 0);
        PumpFor(10);
        EXPECT_EQ(maxbtn->IsOwnVisible(), s.maxVisible) << std::hex << s.command;
        EXPECT_EQ(restorebtn->IsOwnVisible(), s.restoreVisible) << std::hex << s.command;
    }
}

TEST(Frame, ZoomButtonsFollowAStateChangeMadeElsewhere) {
    SkinFolder skin;
    auto frame = MakeFrame();
    auto [maxbtn, restorebtn] = ShowWithZoomButtons(*frame);
    // As a window manager's shortcut or tiling would, past the buttons.
    frame->GetHWND()->showMaximized();
    PumpFor(20);
    EXPECT_FALSE(maxbtn->IsOwnVisible());
    EXPECT_TRUE(restorebtn->IsOwnVisible());
    frame->HandleMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpFor(20);
    EXPECT_FALSE(frame->GetHWND()->isMaximized()) << "restore left the window maximised";
    EXPECT_TRUE(maxbtn->IsOwnVisible());
    frame->GetHWND()->showMaximized();
    frame->GetHWND()->showNormal();
    PumpFor(20);
    EXPECT_TRUE(maxbtn->IsOwnVisible());
    EXPECT_FALSE(restorebtn->IsOwnVisible());
}

TEST(Frame, LogBlockWithoutTextDoesNothingAndUnroutedMessagesGoToDefault) {
    SkinFolder skin;
    auto frame = MakeFrame();
    EXPECT_EQ(frame->HandleMessage(kMsgLogBlock, 0, 0), 0);
    EXPECT_EQ(frame->logView->GetTextLength(), 0);
    EXPECT_EQ(frame->HandleMessage(kMsgUnhandled, 1, 2), 0);
    EXPECT_NE(frame->GetHWND(), nullptr) << "2127 must not disturb the window";
    char* block = new char[6];
    std::memcpy(block, "hello", 6);
    EXPECT_EQ(frame->HandleMessage(kMsgLogBlock, reinterpret_cast<WPARAM>(block), 5), 0);
    EXPECT_EQ(frame->logView->GetText().str(), "hello");
}

TEST(Frame, ProgramLinesStartOnALineOfTheirOwn) {
    // The unit may stop mid-line (a prompt, an echo without its line end); what the program
    // logs next must not be glued to it, and the unit's own text is never broken up.
    struct Block {
        const char* text;
        bool received;
    };
    struct Case {
        std::vector<Block> blocks;
        const char* shown;
    } cases[] = {
        {{{"AT+SHOW", true}, {"Send:AT+VER\r\n", false}}, "AT+SHOW\nSend:AT+VER\n"},
        {{{"ab\r\n", true}, {"Send:x\r\n", false}}, "ab\nSend:x\n"},
        {{{"Send:x\r\n", false}, {"O", true}, {"K\r\n", true}}, "Send:x\nOK\n"},
        {{{"prompt ", true}, {"more", true}, {"Lost\r\n", false}}, "prompt more\nLost\n"},
        {{{"Open\r\n", false}, {"Send:+++\r\n", false}}, "Open\nSend:+++\n"},
        {{{"ab", true}, {"Late: ", false}, {"saved\r\n", false}}, "ab\nLate: saved\n"},
    };
    SkinFolder skin;
    auto frame = MakeFrame();
    for (const Case& c : cases) {
        frame->logView->SetText("");
        for (const Block& b : c.blocks) {
            const std::size_t n = std::strlen(b.text);
            char* block = new char[n + 1];
            std::memcpy(block, b.text, n + 1);
            const LPARAM flags = b.received ? kLogReceivedFlag : 0;
            frame->HandleMessage(kMsgLogBlock, reinterpret_cast<WPARAM>(block),
                                 static_cast<LPARAM>(n) | flags);
        }
        EXPECT_EQ(frame->logView->GetText().str(), c.shown) << c.blocks.front().text;
    }
}

TEST(Frame, SkinWithoutLogViewMakesNothingFail) {
    SkinFolder skin(R"(<Window><VerticalLayout><Text name="Ver"/></VerticalLayout></Window>)");
    auto frame = MakeFrame();
    EXPECT_EQ(frame->logView, nullptr);
    char* block = new char[3]{'o', 'k', 0};
    EXPECT_EQ(frame->HandleMessage(kMsgLogBlock, reinterpret_cast<WPARAM>(block), 2), 0);
    PumpFor(150);  // the start-up timer fires and finds no help view
}

// Runs the message loop as the entry does; 99 when nothing ends it within five seconds.
int RunLoopOrGiveUp() {
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    giveUp.start(5000);
    return CPaintManagerUI::MessageLoop();
}

TEST(Frame, ForeignCloseDestroysTheWindowOnceAndEndsTheLoop) {
    SkinFolder skin;
    auto frame = MakeFrame();
    frame->HandleMessage(WM_CLOSE, 0, 0);
    EXPECT_EQ(frame->GetHWND(), nullptr);
    frame->HandleMessage(WM_CLOSE, 0, 0);  // a second close finds nothing to destroy
    EXPECT_EQ(RunLoopOrGiveUp(), 0);
    frame.reset();  // the entry's delete is the only one
    PumpFor(20);
}

TEST(Frame, CloseButtonPathsPostQuitWithoutDestroyingTheWindow) {
    SkinFolder skin;
    const std::function<void(CM5Z30FrameWnd&)> paths[] = {
        [](CM5Z30FrameWnd& f) { f.HandleMessage(WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](CM5Z30FrameWnd& f) {
            f.paintManager.SendNotify(f.paintManager.FindControl("closebtn"), "click");
        },
    };
    for (const auto& close : paths) {
        auto frame = MakeFrame();
        close(*frame);
        EXPECT_NE(frame->GetHWND(), nullptr);
        EXPECT_EQ(RunLoopOrGiveUp(), 0);
        EXPECT_NE(frame->GetHWND(), nullptr) << "the loop ended, the window stays for the entry";
    }
}

TEST(Frame, WorkerStartsAndStopsWithTheFrame) {
    SkinFolder skin;
    auto frame = MakeFrame();
    EXPECT_TRUE(frame->StartWorker());
    EXPECT_TRUE(frame->HasWorker());
    frame.reset();  // joins the worker; a hang here fails the test by time-out
}

TEST(Pages, ElementNamesChooseTheirFiles) {
    std::string dir = testpaths::TempDir();
    CPaintManagerUI::SetResourcePath(dir);
    for (const char* file : {"WorkTab.xml", "Service Centre.xml", "Extra.xml"}) {
        apptest::WriteFile(dir + "/" + file, std::string("<VerticalLayout><Text name=\"in ") +
                                                 file + "\"/></VerticalLayout>");
    }
    struct Case {
        const char* element;
        const char* file;
        bool hasContent;
    } cases[] = {
        {"WorkTab", "WorkTab.xml", true},  {"ServiceCentre", "Service Centre.xml", true},
        {"Extra", "Extra.xml", true},      {"Wireless", "Wireless.xml", false},
        {"workTab", "workTab.xml", false},  // matched case-sensitively
    };
    CDialogBuilderCallbackEx callback;
    for (const Case& c : cases) {
        std::unique_ptr<CControlUI> page(callback.CreateControl(c.element));
        auto* p = dynamic_cast<CPageUI*>(page.get());
        ASSERT_NE(p, nullptr) << c.element;
        EXPECT_EQ(p->File(), c.file) << c.element;
        EXPECT_EQ(p->GetCount(), c.hasContent ? 1 : 0) << c.element;
    }
}

}  // namespace
