#include "app/AboutHelp.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/AppWindow.h"
#include "app/Leave.h"
#include "form/PendingEdits.h"
#include "params/ConfigFileText.h"
#include "settings/Labels.h"
#include "settings/Settings.h"
#include "settings/System.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/TextCodec.h"

namespace {

// The fall-back help text is copied through a 100-byte buffer: at most 99 bytes of it.
constexpr int kFallbackLimit = 99;

Restarter& CurrentRestarter() {
    static Restarter restarter;
    return restarter;
}

bool RestartForReal(const std::string& exe, const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(exe), list);
}

// Reads a help file as a text-mode read would (CR LF as LF, Ctrl-Z ends it), up to the limit.
bool ReadHelpFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    // Enough raw bytes for the limit even if every line end is a CR LF pair.
    std::string raw(static_cast<std::size_t>(kHelpTextLimit) * 2, '\0');
    in.read(raw.data(), static_cast<std::streamsize>(raw.size()));
    raw.resize(static_cast<std::size_t>(in.gcount()));
    // Cut where a character ends: half a character would make the whole text fail as UTF-8.
    *text = DecodeConfigText(raw, raw.size());
    text->resize(ui::CharacterCut(*text, kHelpTextLimit));
    return true;
}

// Starts the program again (it comes up in the stored language) and ends this instance.
void Restart(AppWindow& frame) {
    const std::string exe = sys::ProgramPath();
    // The program's own options (a running virtual unit, say) come along to the new instance.
    std::vector<std::string> args;
    QStringList current = QCoreApplication::arguments();
    for (qsizetype i = 1; i < current.size(); ++i) args.push_back(current[i].toStdString());
    Restarter restart = CurrentRestarter() ? CurrentRestarter() : Restarter(&RestartForReal);
    if (!restart(exe, args)) {
        // The setting stays: the next start comes up in the chosen language.
        ui::MessageBox(LabelText("SwitchLanguage", "RestartError"), ProgramTitle(),
                       MB_ICONERROR | MB_OK);
        return;
    }
    frame.ShowWindow(false);
    CWindowWnd::PostQuitMessage(0);
}

std::string CurrentDirectory() {
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? std::string() : cwd.string();
}

}  // namespace

void SetRestarter(Restarter restarter) {
    CurrentRestarter() = std::move(restarter);
}

LRESULT ShowAboutAndHelp(AppWindow& frame) {
    CPaintManagerUI& pm = frame.paintManager;
    if (auto* help = dynamic_cast<CRichEditUI*>(pm.FindControl("HelpRichEdit"))) {
        // The current folder first, as the program always looked there; then the program's
        // folder and the skin folder, so a start from elsewhere still finds the help.
        const std::string candidates[] = {
            CurrentDirectory() + "/Help.txt",
            CPaintManagerUI::GetInstancePath().str() + "Help.txt",
            CPaintManagerUI::GetResourcePath().str() + "Help.txt",
        };
        std::string text;
        bool found = false;
        for (const auto& path : candidates) {
            if ((found = ReadHelpFile(path, &text))) break;
        }
        if (!found) {
            text = LabelText("InitValue", "Text", "\r\n").str();
            if (static_cast<int>(text.size()) > kFallbackLimit) text.resize(kFallbackLimit);
        }
        help->AppendText(CStdString(text));
        // Help is read from its beginning, unlike the log.
        help->HomeUp();
    }
    const bool chinese = frame.language != 0;
    if (CControlUI* ver = pm.FindControl("Ver")) {
        ver->SetText(CStdString::Formatted(
            chinese ? "%s配置工具 %s (dtuconfig %s)" : "%s Configure Tool %s (dtuconfig %s)", "DTU",
            kProgramVersion, kPackageVersion));
    }
    if (CControlUI* date = pm.FindControl("VerDown")) {
        date->SetText(CStdString::Formatted(chinese ? "%04d年%02d月%02d日 %s" : "%04d/%02d/%02d %s",
                                            kProgramYear, kProgramMonth, kProgramDay,
                                            kProgramVersion));
    }
    if (CControlUI* logo = pm.FindControl("Logo_Container")) logo->SetVisible(false);
    return 0;
}

LRESULT SwitchLanguage(AppWindow& frame) {
    auto* combo = dynamic_cast<CComboUI*>(frame.paintManager.FindControl("Language"));
    if (!combo) return 0;
    int pick = combo->GetCurSel();
    if (pick == frame.language) return 1;
    // The restart ends this instance: its pending edits go only when the engineer lets them.
    if (IsLeaving(frame) || !MayDiscardPendingEdits(frame, "Language")) {
        combo->SelectItem(frame.language);
        return 1;
    }
    std::string instance = CPaintManagerUI::GetInstancePath().str();
    std::string noFolder;
    const std::string config = ConfigIniPath(instance, &noFolder);
    // A setting that was not stored would bring the new instance back in the old language.
    if (config.empty() || !WriteLanguageSetting(config, pick) ||
        ReadLanguageSetting(config) != pick) {
        const std::string text =
            FilledLabel("SwitchLanguage", "SaveError",
                        {{"path", config.empty() ? "config.ini (" + noFolder + ")" : config}});
        ui::MessageBox(CStdString(text), ProgramTitle(), MB_ICONERROR | MB_OK);
        combo->SelectItem(frame.language);
        return 1;
    }
    LeaveWhenLineIsDone(frame, [&frame] { Restart(frame); });
    return 1;
}
