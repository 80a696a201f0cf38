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

struct FileDialogSpec {
    std::vector<FileFilter> filters;
    int selectedFilter = 0;
    std::string initialFolder;
    std::string initialName;
    bool mustExist = false;  // open dialog: the file must exist
};

class IDialogs {
  public:
    virtual ~IDialogs() = default;
    // Shows a modal box; returns IDOK, IDCANCEL, IDYES or IDNO. UI thread.
    virtual int ShowMessageBox(const CStdString& text, const CStdString& caption, UINT flags) = 0;
    // Asks for a file to open or to save into; false when cancelled. UI thread.
    virtual bool GetOpenFileName(const FileDialogSpec& spec, CStdString* path) = 0;
    virtual bool GetSaveFileName(const FileDialogSpec& spec, CStdString* path) = 0;
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
