// The UI library's contract with the program: names, visibility, notifications, messages
// across threads, and the builder on skins it does not fully know.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestPaths.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManager.h"
#include "ui/Window.h"

namespace {

void PumpEventsFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

template <typename Pred>
bool PumpUntil(Pred pred, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}

class Recorder : public INotifyUI {
  public:
    void Notify(TNotifyUI& msg) override {
        types.push_back(msg.sType.str());
        senders.push_back(msg.pSender ? msg.pSender->GetName().str() : "");
    }
    int Count(const std::string& type) const {
        return static_cast<int>(std::count(types.begin(), types.end(), type));
    }
    std::vector<std::string> types;
    std::vector<std::string> senders;
};

// A window whose procedure counts what it handles; message 5000 blocks while asked to.
class TestWindow : public CWindowWnd {
  public:
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == 5000) {
            handled.fetch_add(1);
            return static_cast<LRESULT>(w * 2);
        }
        return CWindowWnd::HandleMessage(msg, w, l);
    }
    std::atomic<int> handled{0};
};

const char* const kSkin = R"(<Window size="400,300" caption="0,0,0,30">
  <VerticalLayout name="root">
    <HorizontalLayout name="band" height="30">
      <Text name="title" text="DTU"/>
      <Button name="closebtn" text="x" width="30"/>
    </HorizontalLayout>
    <VerticalLayout name="box" visible="false">
      <HorizontalLayout name="row" height="25">
        <Edit name="inner"/>
      </HorizontalLayout>
    </VerticalLayout>
    <Combo name="list">
      <ListLabelElement text="one"/>
      <ListLabelElement text="two"/>
    </Combo>
    <Combo name="preset"><ListLabelElement text="a"/><ListLabelElement text="b" selected="true"/></Combo>
    <Mystery name="unknown"><Button name="insideUnknown"/></Mystery>
  </VerticalLayout>
</Window>)";

struct BuiltSkin {
    CPaintManagerUI pm;
    Recorder recorder;
    explicit BuiltSkin(const char* skin = kSkin) {
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromText(skin, nullptr, &pm);
        pm.AttachDialog(root);
        pm.AddNotifier(&recorder);
    }
};

TEST(UiContract, MissingNamesAreNullAndUnknownElementsAreSkipped) {
    BuiltSkin skin;
    EXPECT_NE(skin.pm.FindControl("inner"), nullptr);
    EXPECT_EQ(skin.pm.FindControl("no such control"), nullptr);
    EXPECT_EQ(skin.pm.FindControl("unknown"), nullptr);
    EXPECT_EQ(skin.pm.FindControl("insideUnknown"), nullptr);
    EXPECT_EQ(skin.pm.GetCaptionRect().bottom, 30);
    EXPECT_STREQ(skin.pm.FindControl("title")->GetClass(), "TextUI");
    EXPECT_STREQ(skin.pm.FindControl("closebtn")->GetClass(), "ButtonUI");
    EXPECT_STREQ(skin.pm.FindControl("row")->GetClass(), "HorizontalLayoutUI");
}

TEST(UiContract, VisibilityFollowsEveryAncestorBeforeTheWindowIsShown) {
    BuiltSkin skin;
    CControlUI* inner = skin.pm.FindControl("inner");
    CControlUI* box = skin.pm.FindControl("box");
    EXPECT_FALSE(inner->IsVisible());
    box->SetVisible(true);
    EXPECT_TRUE(inner->IsVisible());
    skin.pm.FindControl("row")->SetVisible(false);
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_TRUE(inner->IsOwnVisible());
}

TEST(UiContract, ComboRaisesItemSelectOnlyWhenTheSelectionChanges) {
    BuiltSkin skin;
    auto* list = static_cast<CComboUI*>(skin.pm.FindControl("list"));
    EXPECT_EQ(list->GetCurSel(), -1) << "a list starts with nothing selected";
    EXPECT_EQ(static_cast<CComboUI*>(skin.pm.FindControl("preset"))->GetCurSel(), 1);
    struct Step {
        int select;
        int expectedEvents;
        const char* text;
    } steps[] = {{1, 1, "two"}, {1, 1, "two"}, {0, 2, "one"}, {-1, 3, ""}, {5, 3, ""}};
    for (const Step& s : steps) {
        list->SelectItem(s.select);
        EXPECT_EQ(skin.recorder.Count("itemselect"), s.expectedEvents) << "select " << s.select;
        EXPECT_EQ(list->GetText().str(), s.text) << "select " << s.select;
    }
}

TEST(UiContract, EditHandsBackUneditedBytesExactly) {
    BuiltSkin skin;
    auto* edit = static_cast<CEditUI*>(skin.pm.FindControl("inner"));
    const std::string gbk = "\xC4\xE3\xBA\xC3 SMS";  // GBK text, not valid UTF-8
    edit->SetText(CStdString(gbk));
    EXPECT_EQ(edit->GetText().str(), gbk);
    edit->SetText("plain");
    EXPECT_EQ(edit->GetText().str(), "plain");
}

const char* const kPagesSkin = R"(<TabLayout name="pages">
  <VerticalLayout name="first"><Text name="label" text="first"/></VerticalLayout>
  <VerticalLayout name="second">
    <Edit name="edit" height="23"/>
    <Edit name="secret" password="true" readonly="true"/>
    <Combo name="combo"><ListLabelElement text="one"/><ListLabelElement text="two"/></Combo>
    <Option name="on" text="On" group="g"/>
    <Option name="off" text="Off" group="g" selected="true"/>
    <Option name="switch" text="Times"/>
  </VerticalLayout>
</TabLayout>)";

TEST(UiContract, APageGetsItsWidgetsWhenFirstShownShowingTheControlsState) {
    BuiltSkin skin(kPagesSkin);
    auto find = [&](const char* name) { return skin.pm.FindControl(name); };
    EXPECT_EQ(find("edit")->GetWidget(), nullptr) << "no window: no widget";
    skin.pm.GetRoot()->Realize();
    EXPECT_NE(find("label")->GetWidget(), nullptr) << "the page shown is realized";
    EXPECT_EQ(find("second")->GetWidget(), nullptr) << "a page not shown is not";
    // State given while the page has no widgets.
    find("edit")->SetText("10.0.0.1");
    find("edit")->SetPendingMark(true);
    find("edit")->SetEnabled(false);
    find("secret")->SetVisible(false);
    static_cast<CComboUI*>(find("combo"))->SelectItem(1);
    static_cast<COptionUI*>(find("on"))->Selected(true);
    ASSERT_TRUE(static_cast<CTabLayoutUI*>(find("pages"))->SelectItem(1));

    auto line = [&](const char* name) { return static_cast<QLineEdit*>(find(name)->GetWidget()); };
    auto button = [&](const char* name) {
        return static_cast<QPushButton*>(find(name)->GetWidget());
    };
    const struct {
        const char* what;
        std::function<bool()> shown;
    } rows[] = {
        {"edit text", [&] { return line("edit")->text() == "10.0.0.1"; }},
        {"edit disabled", [&] { return !line("edit")->isEnabled(); }},
        {"edit pending mark", [&] { return line("edit")->styleSheet().contains("#fff1b8"); }},
        {"edit fixed height", [&] { return line("edit")->maximumHeight() == 23; }},
        {"password", [&] { return line("secret")->echoMode() == QLineEdit::Password; }},
        {"read-only", [&] { return line("secret")->isReadOnly(); }},
        {"hidden", [&] { return line("secret")->isHidden(); }},
        {"combo items",
         [&] {
             auto* combo = static_cast<QComboBox*>(find("combo")->GetWidget());
             return combo->count() == 2 && combo->itemText(1) == "two";
         }},
        {"combo selection",
         [&] { return static_cast<QComboBox*>(find("combo")->GetWidget())->currentIndex() == 1; }},
        {"option picked", [&] { return button("on")->isChecked() && !button("off")->isChecked(); }},
        {"option text", [&] { return button("on")->text() == "On"; }},
    };
    for (const auto& row : rows) EXPECT_TRUE(row.shown()) << row.what;

    // What the user does in the widgets flows back into the controls.
    line("edit")->setText("10.0.0.2");
    EXPECT_EQ(find("edit")->GetText().str(), "10.0.0.2");
    static_cast<QComboBox*>(find("combo")->GetWidget())->setCurrentIndex(0);
    EXPECT_EQ(static_cast<CComboUI*>(find("combo"))->GetCurSel(), 0);
    button("off")->click();
    EXPECT_TRUE(static_cast<COptionUI*>(find("off"))->IsSelected());
    EXPECT_FALSE(static_cast<COptionUI*>(find("on"))->IsSelected());
    button("switch")->click();
    EXPECT_TRUE(static_cast<COptionUI*>(find("switch"))->IsSelected());
    EXPECT_EQ(skin.recorder.Count("itemselect"), 2) << "the program's pick and the user's";
}

// A window built from a skin, its notifications recorded.
class SkinWindow : public CWindowWnd {
  public:
    explicit SkinWindow(const char* skin) : skin_(skin) {}
    LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == WM_CREATE) {
            pm.Init(this);
            CDialogBuilder builder;
            pm.AttachDialog(builder.CreateFromText(skin_, nullptr, &pm));
            pm.AddNotifier(&recorder);
            return 0;
        }
        return CWindowWnd::HandleMessage(msg, w, l);
    }
    QWidget* Widget(const char* name) { return pm.FindControl(name)->GetWidget(); }
    CPaintManagerUI pm;
    Recorder recorder;

  private:
    const char* skin_;
};

const char* const kDeviceSkin = R"(<Window size="500,300">
  <VerticalLayout>
    <GroupBox name="device" text="Device">
      <HorizontalLayout><Button name="login" text="Log in"/><Button name="logout" text="Log out"/>
      </HorizontalLayout>
      <HorizontalLayout><Button name="read" text="Read"/><Button name="write" text="Write"/>
      </HorizontalLayout>
      <Edit name="field"/>
    </GroupBox>
    <Option name="times" text="Times"/>
    <Progress name="bar" width="150"/>
  </VerticalLayout>
</Window>)";

// A focused button disabled hands the focus to the next control of its box, or, when its whole
// box goes at once (a write under way), to the window rather than to some stray switch; the
// focus comes back to it when it is enabled again. Enter in a field raises "return".
TEST(UiContract, KeyboardFocusStaysInItsBoxAndComesBack) {
    SkinWindow window(kDeviceSkin);
    ASSERT_TRUE(window.Create(nullptr, "t", WS_OVERLAPPEDWINDOW, 0, 0, 0, 500, 300));
    QWidget* top = window.GetHWND();
    top->show();
    top->activateWindow();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::activeWindow() == top; }));
    const auto enable = [&](std::vector<const char*> names, bool on) {
        return [&window, names, on] {
            for (const char* name : names) window.pm.FindControl(name)->SetEnabled(on);
        };
    };
    window.pm.FindControl("logout")->SetEnabled(false);
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* focused;  // null: the window itself
    };
    const Step steps[] = {
        {"Tab reached Log in", [&] { window.Widget("login")->setFocus(); }, "login"},
        {"logged in: Log in goes, Read is next", enable({"login"}, false), "read"},
        {"the turn ends with Read focused", [] {}, "read"},
        {"a write disables the box", enable({"read", "write", "field"}, false), nullptr},
        {"the box back: the focus is Read's again", enable({"read", "write", "field"}, true),
         "read"},
        {"the engineer moves on", [&] { window.Widget("write")->setFocus(); }, "write"},
        {"disabled and enabled in one turn",
         [&] {
             enable({"write", "read"}, false)();
             enable({"read", "write"}, true)();
         },
         "write"},
        {"moved elsewhere meanwhile",
         [&] {
             enable({"write"}, false)();
             window.Widget("times")->setFocus();
             enable({"write"}, true)();
         },
         "times"},
    };
    for (const Step& step : steps) {
        step.act();
        QCoreApplication::processEvents();
        QWidget* expected = step.focused ? window.Widget(step.focused) : top;
        EXPECT_EQ(top->focusWidget(), expected)
            << step.what << ": "
            << (top->focusWidget() ? top->focusWidget()->objectName().toStdString() : "none");
    }

    auto* field = static_cast<QLineEdit*>(window.Widget("field"));
    field->setFocus();
    const int left = window.recorder.Count("killfocus");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(field, &enter);
    EXPECT_EQ(window.recorder.Count("return"), 1);
    EXPECT_EQ(window.recorder.Count("killfocus"), left) << "the field keeps the focus";

    // The bar's words fit it on one line, the step's start and its figures kept.
    auto* bar = static_cast<CProgressUI*>(window.pm.FindControl("bar"));
    bar->SetText("Reading the unit before writing the file… 0.2 of 3.9 KB");
    auto* widget = static_cast<QProgressBar*>(bar->GetWidget());
    const QString shown = widget->text();
    EXPECT_LE(widget->fontMetrics().horizontalAdvance(shown), widget->width());
    EXPECT_TRUE(shown.startsWith("Read")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("3.9 KB")) << shown.toStdString();
}

TEST(UiContract, RichEditStartsALineAtEveryLineEnd) {
    const struct {
        std::vector<std::string> appends;
        const char* shown;
    } cases[] = {
        {{"a\r\nb"}, "a\nb"},       {{"a\rb"}, "a\nb"},  // a lone CR starts a line
        {{"a\r", "\nb"}, "a\nb"},  // a pair split between two blocks is one line end
        {{"a\r", "\rb"}, "a\n\nb"}, {{"a\n\rb"}, "a\n\nb"},
    };
    for (const auto& c : cases) {
        CRichEditUI edit;
        for (const std::string& text : c.appends) edit.AppendText(CStdString(text));
        EXPECT_EQ(edit.GetText().str(), c.shown) << c.appends[0];
    }
}

TEST(UiContract, SendFromAnotherThreadReturnsAfterTheUiThreadHandledIt) {
    TestWindow window;
    window.Create(nullptr, "t", 0, 0, 0, 0, 10, 10);
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] { result = window.SendMessage(5000, 21, 0); });
    ASSERT_TRUE(PumpUntil([&] { return result.load() != -1; }));
    sender.join();
    EXPECT_EQ(result.load(), 42);
    EXPECT_EQ(window.handled.load(), 1);
}

// Waits, without serving the UI thread, until a send is queued behind gate.
bool WaitUntilWaiting(const ui::SendGate& gate) {
    for (int i = 0; i < 5000 && gate.Waiting() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return gate.Waiting() == 1;
}

TEST(UiContract, SendToAWindowThatGoesAwayReturnsZeroInsteadOfHanging) {
    auto window = std::make_unique<TestWindow>();
    window->Create(nullptr, "t", 0, 0, 0, 0, 10, 10);
    ui::SendGate watched;  // open throughout: it only shows when the send waits
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] { result = window->SendMessage(5000, 21, 0, &watched); });
    // The UI thread does not serve the waiting send; it destroys the window instead.
    ASSERT_TRUE(WaitUntilWaiting(watched));
    window->DestroyWindow();
    sender.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(window->handled.load(), 0);
    window.reset();
    PumpEventsFor(20);
}

TEST(UiContract, ClosedGateReleasesAWaitingSendAndLaterOnes) {
    TestWindow window;
    window.Create(nullptr, "t", 0, 0, 0, 0, 10, 10);
    ui::SendGate gate;
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] { result = window.SendMessage(5000, 21, 0, &gate); });
    ASSERT_TRUE(WaitUntilWaiting(gate));
    gate.Close();
    sender.join();
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(window.SendMessage(5000, 1, 0, &gate), 0) << "a closed gate refuses at once";
    PumpEventsFor(20);
    EXPECT_EQ(window.handled.load(), 0) << "a released send never runs later";
}

int g_released = 0;
void CountRelease(WPARAM, LPARAM) {
    ++g_released;
}

TEST(UiContract, PostedPayloadIsReleasedWhenTheWindowIsGone) {
    g_released = 0;
    {
        TestWindow window;
        window.Create(nullptr, "t", 0, 0, 0, 0, 10, 10);
        EXPECT_TRUE(window.PostMessage(5000, 1, 0, &CountRelease));
        window.DestroyWindow();
        PumpEventsFor(20);
        EXPECT_FALSE(window.PostMessage(5000, 1, 0, &CountRelease));
    }
    PumpEventsFor(20);
    EXPECT_EQ(g_released, 2);
}

TEST(UiContract, BuilderRefusesHostileInput) {
    struct Case {
        const char* name;
        std::string xml;
    };
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "<VerticalLayout>";
    for (int i = 0; i < 200; ++i) deep += "</VerticalLayout>";
    const Case cases[] = {
        {"empty", ""},
        {"not xml", "hello"},
        {"broken", "<VerticalLayout><Button name=\"a\"></VerticalLayout>"},
        {"too deep", deep},
        {"only unknown", "<Mystery/>"},
    };
    for (const Case& c : cases) {
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.CreateFromText(c.xml));
        EXPECT_EQ(root, nullptr) << c.name;
        EXPECT_FALSE(builder.LastError().empty()) << c.name;
    }
}

TEST(UiContract, TimersStartRestartAndStop) {
    TestWindow window;
    window.Create(nullptr, "t", 0, 0, 0, 0, 10, 10);
    int ticks = 0;
    window.SetTimer(101, 10, [&](UINT) { ++ticks; });
    EXPECT_EQ(window.TimerInterval(101), 10);
    window.SetTimer(101, 20, [&](UINT) { ++ticks; });
    EXPECT_EQ(window.TimerInterval(101), 20);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    window.KillTimer(101);
    EXPECT_EQ(window.TimerInterval(101), -1);
    int after = ticks;
    PumpEventsFor(60);
    EXPECT_EQ(ticks, after);
}

TEST(UiContract, AWindowCarriesTheSkinsIconAtEverySizeTheSkinHas) {
    const CStdString saved = CPaintManagerUI::GetResourcePath();
    struct Case {
        std::string folder;
        int sizes;  // how many sizes the window's icon offers
    } cases[] = {
        {testpaths::SourceDir() + "/skin/ConifgENRes", 7},
        {testpaths::SourceDir() + "/skin/ConifgRes", 7},
        {testpaths::TempDir(), 0},  // a skin without the icon: a window without one
    };
    for (const Case& c : cases) {
        CPaintManagerUI::SetResourcePath(c.folder);
        TestWindow window;
        ASSERT_TRUE(window.Create(nullptr, "DTU", 0, 0, 0, 0, 200, 100));
        const QList<QSize> sizes = window.GetHWND()->windowIcon().availableSizes();
        EXPECT_EQ(sizes.size(), c.sizes) << c.folder;
        if (c.sizes > 0) {
            EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256)));
        }
    }
    CPaintManagerUI::SetResourcePath(saved);
}

}  // namespace
