#pragma once
// Message boxes and file dialogs, behind an interface that tests and the command line replace.
//
// Threads: MessageBox may be called from any thread; it is shown on the UI thread and the
// calling thread waits until it is dismissed (0 when the gate closes first). The file dialogs
// are UI-thread only.
#include <string>
#include <vector>

#include "ui/StdString.h"
#include "ui/Types.h"
#include "ui/UiThread.h"

namespace ui {

struct FileFilter {
    std::string description;  // "cfg(*.cfg)"
    std::string pattern;      // "*.cfg"
};

// The filter as the dialog lists it: the description with its pattern in brackets behind it,
// unless the description ends in them already ("cfg(*.cfg)"). Any thread.
std::string NameFilterText(const FileFilter& filter);

struct FileDialogSpec {
    std::vector<FileFilter> filters;
    int selectedFilter = 0;
    std::string initialFolder;
    std::string initialName;
    bool mustExist = false;  // open dialog: the file must exist
};

// One row of the review shown before writes go out. Texts are UTF-8.
struct ReviewRow {
    std::string label;       // the parameter's label as the form shows it
    std::string unitValue;   // what the unit holds
    std::string newValue;    // what would be written
    int cause = -1;          // a side write: the index of the row that causes it; -1 none
    std::string notWritten;  // not empty: the row is not written, for this reason (greyed)
    bool checked = true;     // written when the review is accepted
};

struct ReviewSpec {
    std::string caption;
    std::string labelHeader, unitHeader, newHeader;
    std::string counts;  // "{checked}" and "{total}" stand for the numbers of checked and of
                         // writable rows
    std::string writeText, cancelText;
    std::vector<ReviewRow> rows;
};

class IDialogs {
  public:
    virtual ~IDialogs() = default;
    // Shows a modal box; returns IDOK, IDCANCEL, IDYES or IDNO. UI thread.
    virtual int ShowMessageBox(const CStdString& text, const CStdString& caption, UINT flags) = 0;
    // Asks for a file to open or to save into; false when cancelled. UI thread.
    virtual bool GetOpenFileName(const FileDialogSpec& spec, CStdString* path) = 0;
    virtual bool GetSaveFileName(const FileDialogSpec& spec, CStdString* path) = 0;
    // Shows the rows to be written, each with a check box; true when the user chose to write
    // (the rows' `checked` then say which), false when cancelled. UI thread.
    virtual bool ReviewWrites(ReviewSpec& spec) = 0;
    // Asks for one of the items (UTF-8); false when cancelled, else *chosen is its index.
    virtual bool ChooseItem(const std::string& caption, const std::string& prompt,
                            const std::vector<std::string>& items, int* chosen) = 0;
    // Asks for one line of text (UTF-8) under a caption and a prompt, the text given shown to
    // begin with; false when cancelled, else the text is what was typed. Where nobody can type
    // (the command line), it is cancelled.
    virtual bool AskText(const std::string& /*caption*/, const std::string& /*prompt*/,
                         std::string* /*text*/) {
        return false;
    }
};

// The process's dialogs: the Qt ones unless replaced. SetDialogs returns the previous ones;
// null restores the Qt dialogs. Set before other threads run.
IDialogs& Dialogs();
IDialogs* SetDialogs(IDialogs* dialogs);

// A message box from any thread, shown on the UI thread; the caller waits for the answer.
int MessageBox(const CStdString& text, const CStdString& caption, UINT flags,
               SendGate* gate = nullptr);

// Replaces the process's dialogs for the lifetime of the object (tests).
class ScopedDialogs {
  public:
    explicit ScopedDialogs(IDialogs* dialogs) : previous_(SetDialogs(dialogs)) {}
    ~ScopedDialogs() { SetDialogs(previous_); }
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

  private:
    IDialogs* previous_;
};

}  // namespace ui
