#include "shots/NetworkPortScenarios.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "serial/PortWatcher.h"
#include "tests/support/EventLoop.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace shots {

namespace {

constexpr const char* kPortList = "SerialPort";
// As the engineer types it: a plain HOST:PORT, taken as RFC 2217.
constexpr const char* kTyped = "192.168.1.40:4001";
// Time for the list's enabling, and for a list that was just opened to be laid out and drawn.
constexpr int kSettleMs = 300;

// The loopback port the server listens on for the picture's unit.
constexpr int kServerPort = 47217;

// The remembered list goes to a folder of the session's own, never into the skin folder the
// session runs from; the program's folder is given back afterwards.
class OwnConfigFolder {
  public:
    OwnConfigFolder() { CPaintManagerUI::SetInstancePath(folder_.path().toStdString()); }
    ~OwnConfigFolder() { CPaintManagerUI::SetInstancePath(saved_); }
    OwnConfigFolder(const OwnConfigFolder&) = delete;
    OwnConfigFolder& operator=(const OwnConfigFolder&) = delete;

  private:
    const CStdString saved_ = CPaintManagerUI::GetInstancePath();
    QTemporaryDir folder_;
};

}  // namespace

bool NetworkPortAdded(ShotSession& s, QImage* shot) {
    // The list is locked while a port is open.
    if (!s.Click("Open")) return false;
    testsupport::RunEventsFor(kSettleMs);
    auto* list = dynamic_cast<CComboUI*>(s.frame.paintManager.FindControl(kPortList));
    QComboBox* widget = list ? qobject_cast<QComboBox*>(list->GetWidget()) : nullptr;
    if (!widget || !list->IsEnabled() || list->GetCount() == 0) {
        s.error = "the port list cannot be used";
        return false;
    }
    OwnConfigFolder config;
    // The entry to add one is the list's last item while no network port is listed.
    const bool added = s.WithDialog([&] { return list->SelectItem(list->GetCount() - 1); },
                                    [&](QWidget* dialog) {
                                        auto* address = dialog->findChild<QLineEdit*>();
                                        auto* asked = qobject_cast<QDialog*>(dialog);
                                        if (!address || !asked) return;
                                        address->setText(kTyped);
                                        asked->accept();
                                    });
    testsupport::RunEventsFor(kSettleMs);
    if (!added || list->GetText().str().find(kTyped) == std::string::npos) {
        if (s.error.empty()) s.error = "the network port was not added and chosen";
        return false;
    }
    widget->showPopup();
    testsupport::RunEventsFor(kSettleMs);
    *shot = GrabScreen(s.frame.GetHWND());
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    return true;
}

bool NetworkPortLoaded(ShotSession& s, QImage* shot) {
    const QString server =
        QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin", "/usr/local/sbin"});
    if (server.isEmpty()) {
        s.error = "ser2net is not installed";
        return false;
    }
    // The window lets go of the unit's terminal, which the server then serves.
    if (!s.Click("Open") || s.frame.serialPort.IsOpen()) {
        if (s.error.empty()) s.error = "the port did not close";
        return false;
    }
    QTemporaryDir folder;
    const std::string port = std::to_string(kServerPort);
    QFile config(folder.filePath("ser2net.yaml"));
    if (!config.open(QIODevice::WriteOnly)) {
        s.error = "no room for the server's configuration";
        return false;
    }
    config.write(("connection: &unit\n  accepter: telnet(rfc2217),tcp,127.0.0.1," + port +
                  "\n  connector: serialdev," + s.host.DevicePath() + ",9600n81,local\n")
                     .c_str());
    config.close();
    QProcess ser2net;
    ser2net.start(server, {"-n", "-c", config.fileName()});
    const std::string name = "rfc2217://127.0.0.1:" + port;
    if (!ser2net.waitForStarted(5000) || !serial::WaitForPort(name, 5000)) {
        s.error = "ser2net did not serve " + name;
        return false;
    }
    auto* list = dynamic_cast<CComboUI*>(s.frame.paintManager.FindControl(kPortList));
    OwnConfigFolder remembered;
    const bool added =
        list && s.WithDialog([&] { return list->SelectItem(list->GetCount() - 1); },
                             [&](QWidget* dialog) {
                                 auto* address = dialog->findChild<QLineEdit*>();
                                 auto* asked = qobject_cast<QDialog*>(dialog);
                                 if (!address || !asked) return;
                                 address->setText("127.0.0.1:" + QString::fromStdString(port));
                                 asked->accept();
                             });
    testsupport::RunEventsFor(kSettleMs);
    bool loaded = added && list->GetText().str().find(name) == 0 && s.Click("Open") &&
                  s.frame.serialPort.IsOpen() && s.LogIn() && s.Load();
    if (loaded) *shot = s.GrabWindow();
    if (!loaded && s.error.empty()) s.error = "the unit was not loaded through " + name;
    // The window lets go of the server before it goes.
    s.Click("Open");
    ser2net.kill();
    ser2net.waitForFinished(5000);
    return loaded;
}

}  // namespace shots
