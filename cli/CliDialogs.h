#pragma once
// The command line's answers in place of message boxes and file dialogs: a box is printed to
// stderr and answered OK; a file dialog is answered with the path given on the command line.
//
// Threads: UI thread only (where the dialogs are asked for).
#include <string>

#include "ui/Dialogs.h"

class CliDialogs : public ui::IDialogs {
  public:
    // Prints "dtuconfig: caption: text" to stderr; returns IDOK.
    int ShowMessageBox(const CStdString& text, const CStdString& caption, UINT flags) override;
    // Gives openPath; false (cancelled) when none was given or, as the open dialog insists,
    // the file does not exist.
    bool GetOpenFileName(const ui::FileDialogSpec& spec, CStdString* path) override;
    // Gives savePath; false when none was given.
    bool GetSaveFileName(const ui::FileDialogSpec& spec, CStdString* path) override;
    // The command line reviews with --dry-run and diff: every row is written.
    bool ReviewWrites(ui::ReviewSpec&) override { return true; }
    bool ChooseItem(const std::string&, const std::string&, const std::vector<std::string>&,
                    int*) override {
        return false;  // the command line names its backup itself
    }

    std::string openPath;
    std::string savePath;
};
