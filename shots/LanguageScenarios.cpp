#include "shots/LanguageScenarios.h"

#include "ui/Controls.h"

namespace shots {

namespace {

constexpr const char* kEchoList = "LCP ECHO";
constexpr const char* kHeartbeatField = "Heartbeat poll time seconds";
constexpr const char* kHeartbeat = "90";

}  // namespace

bool FileDialog(ShotSession& s, QImage* shot) {
    return s.Load() &&
           s.WithDialog([&] { return s.Click("SaveToFile"); },
                        [&](QWidget* dialog) { *shot = GrabScreen(s.frame.GetHWND(), dialog); });
}

bool ReviewChoices(ShotSession& s, QImage* shot) {
    if (!s.Load() || !s.ShowPage("Global")) return false;
    auto* echo = dynamic_cast<CComboUI*>(s.frame.paintManager.FindControl(kEchoList));
    if (!echo) {
        s.error = "the skin has no LCP echo list";
        return false;
    }
    // The other item, as the engineer picks it.
    echo->SelectItem(echo->GetCurSel() == 0 ? 1 : 0);
    return s.Type(kHeartbeatField, kHeartbeat) &&
           s.WithDialog([&] { return s.Click("Save"); },
                        [&](QWidget* review) { *shot = GrabScreen(s.frame.GetHWND(), review); });
}

}  // namespace shots
