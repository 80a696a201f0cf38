#pragma once
// The dialogs the tests give the program: message boxes recorded and answered, file dialogs
// answered from a script, every question remembered.
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace testsupport {

class RecordingDialogs : public ui::IDialogs {
  public:
    struct Box {
        std::string text;
        std::string caption;
        UINT flags;
    };
    std::vector<Box> boxes;
    std::vector<ui::FileDialogSpec> openSpecs, saveSpecs;
    int boxAnswer = IDOK;                 // what every message box answers
    std::string pathToGive;               // what the file dialogs give; empty: they are cancelled
    std::vector<ui::ReviewSpec> reviews;  // every review shown
    bool reviewWrites = true;             // the review's answer: Write, or Cancel
    std::vector<int> reviewUnchecks;      // rows the user unchecks before Write
    std::vector<std::vector<std::string>> choices;  // the items of every choice asked for
    int chooseIndex = -1;                           // the item chosen; -1: cancelled
    std::vector<std::string> textsAsked;            // the text shown in every text question
    std::vector<std::string> textsToType;  // typed into the text questions in turn; then cancel

    int ShowMessageBox(const CStdString& text, const CStdString& caption, UINT flags) override;
    bool GetOpenFileName(const ui::FileDialogSpec& spec, CStdString* path) override;
    bool GetSaveFileName(const ui::FileDialogSpec& spec, CStdString* path) override;
    bool ReviewWrites(ui::ReviewSpec& spec) override;
    bool ChooseItem(const std::string& caption, const std::string& prompt,
                    const std::vector<std::string>& items, int* chosen) override;
    bool AskText(const std::string& caption, const std::string& prompt, std::string* text) override;

  private:
    bool Give(CStdString* path) const;
};

}  // namespace testsupport
