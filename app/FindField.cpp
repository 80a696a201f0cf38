#include "app/FindField.h"

#include <memory>

#include "app/AppWindow.h"
#include "form/HiddenReason.h"
#include "settings/Labels.h"
#include "ui/Control.h"
#include "ui/FindList.h"

namespace {

constexpr const char* kField = "FindParam";
constexpr const char* kNote = "FindNote";

void SetNote(AppWindow& frame, const std::string& text) {
    if (CControlUI* note = frame.paintManager.FindControl(kNote)) note->SetText(text.c_str());
}

std::string Title(const FindMatch& match) {
    return match.label.empty() ? match.name : match.label;
}

}  // namespace

std::string MatchRowText(const FindMatch& match, const std::string& pageTitle) {
    std::string row = Title(match) + "  ·  " + pageTitle;
    if (!match.command.empty()) row += "  ·  " + match.command;
    if (!match.hiddenBecause.empty()) row += "  —  " + match.hiddenBecause;
    return row;
}

void GoToMatch(AppWindow& frame, const FindMatch& match) {
    FormContext form = FrameFormContext(frame);
    CControlUI* control = SwitchToMatch(form, match);
    if (!control) {
        SetNote(frame, Title(match) + ": " + match.hiddenBecause);
        return;
    }
    SetNote(frame, "");
    // The page is shown first, so a page made on first showing has its widgets by now.
    FocusAndFlash(*control);
}

void SetUpFindField(AppWindow& frame) {
    CControlUI* field = frame.paintManager.FindControl(kField);
    if (!field) return;
    auto matches = std::make_shared<std::vector<FindMatch>>();
    auto list = [&frame, matches](const std::string& text) {
        FormContext form = FrameFormContext(frame);
        *matches = FindParameters(form, text);
        std::vector<std::string> rows;
        for (const FindMatch& match : *matches)
            rows.push_back(MatchRowText(match, PageTitle(form, match.page)));
        if (text.find_first_not_of(' ') == std::string::npos)
            SetNote(frame, "");
        else if (rows.empty())
            SetNote(frame, FilledLabel("Find", "NoMatch", {{"text", text}}));
        else
            SetNote(frame,
                    FilledLabel("Find", "Matches", {{"count", std::to_string(rows.size())}}));
        return rows;
    };
    auto choose = [&frame, matches](int row) {
        // The list is the one shown: a row beyond it is a stale click and goes nowhere.
        if (row >= 0 && row < static_cast<int>(matches->size()))
            GoToMatch(frame, (*matches)[static_cast<std::size_t>(row)]);
    };
    AttachMatchList(*field, list, choose);
    AddFindKey(frame.GetHWND(), *field);
}
