#include "tests/support/Dialogs.h"

namespace testsupport {

int RecordingDialogs::ShowMessageBox(const CStdString& text, const CStdString& caption,
                                     UINT flags) {
    boxes.push_back({text.str(), caption.str(), flags});
    return boxAnswer;
}

bool RecordingDialogs::GetOpenFileName(const ui::FileDialogSpec& spec, CStdString* path) {
    openSpecs.push_back(spec);
    return Give(path);
}

bool RecordingDialogs::GetSaveFileName(const ui::FileDialogSpec& spec, CStdString* path) {
    saveSpecs.push_back(spec);
    return Give(path);
}

bool RecordingDialogs::ReviewWrites(ui::ReviewSpec& spec) {
    reviews.push_back(spec);
    for (int row : reviewUnchecks) {
        if (row >= 0 && row < static_cast<int>(spec.rows.size())) spec.rows[row].checked = false;
    }
    return reviewWrites;
}

bool RecordingDialogs::ChooseItem(const std::string&, const std::string&,
                                  const std::vector<std::string>& items, int* chosen) {
    choices.push_back(items);
    *chosen = chooseIndex;
    return chooseIndex >= 0 && chooseIndex < static_cast<int>(items.size());
}

bool RecordingDialogs::AskText(const std::string&, const std::string&, std::string* text) {
    textsAsked.push_back(*text);
    if (textsAsked.size() > textsToType.size()) return false;
    *text = textsToType[textsAsked.size() - 1];
    return true;
}

bool RecordingDialogs::Give(CStdString* path) const {
    if (pathToGive.empty()) return false;
    *path = pathToGive;
    return true;
}

}  // namespace testsupport
