#include "shots/NetworkPortScenarios.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTemporaryDir>

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

}  // namespace shots
