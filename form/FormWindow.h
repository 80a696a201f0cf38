#pragma once
// FormWindow: the form's part of the window. What a connection to one unit holds is one record
// (ConnectionRecord); the form's controls, its tables and the log are the window's; the queue,
// the port and the receive state below them are the engine's (EngineWindow.h). The form's
// operations take this part and nothing of the application's wiring above it; the frame is
// one, and so is a test's bare form.
//
// Threads: UI thread only, as the frame says for its state.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/EngineWindow.h"
#include "engine/FrameMessages.h"
#include "form/TabTable.h"
#include "params/BackupStore.h"
#include "params/ParameterTable.h"
#include "ui/PaintManager.h"
#include "ui/StdString.h"

// What a connection knows for its backup (AutoBackup.h).
struct ConnectionBackup {
    enum class State {
        Due,            // the next write is preceded by a backup
        Taken,          // the backup of what the unit holds is `taken`
        WithoutBackup,  // none could be taken, and the writes go ahead all the same
        Refused,        // none could be taken, and this run's writes are not sent
    };
    std::string listing;              // the last complete listing read on this connection
    std::optional<BackupFile> taken;  // the backup of the listing, once taken
    State state = State::Due;
};

// The questions asked before a write goes ahead (Questions.h).
enum class Question {
    CutFile,             // the file may have been cut short: apply the values it holds?
    OtherDevice,         // the file comes from another type of unit: write it anyway?
    WriteWithoutBackup,  // no backup could be taken: write anyway?
};

// Answers a question instead of a box; true: go on.
using QuestionAnswer = std::function<bool(Question question, const std::string& text)>;

// What a connection to one unit holds besides the form: what was read, what was confirmed or
// refused, its backup, and the loaded file the form shows.
struct ConnectionRecord {
    CStdString configFilePath;
    // The parameters the last loaded .cfg file held: applying it writes no others.
    std::optional<std::set<std::string>> loadedFileParameters;
    // The loaded file's values while the form shows that file; emptied when a read refills it.
    std::map<std::string, std::string> fileValues;
    // A file opened at start is shown but not yet applied: the first Save before a read applies
    // it, as LoadFromFile would have at once.
    bool fileAwaitsApply = false;
    // What the form gave each parameter after the last complete read on the open port, by
    // source and parameter (ChangedWrites.h); none before such a read.
    std::optional<std::map<std::string, std::string>> formAsRead;
    // Whether formAsRead comes from a read on the port open now: only then do writes go out.
    bool formReadOnPort = false;
    // Writes the unit confirmed since the last read-back, by parameter: the value sent.
    std::map<std::string, std::string> confirmedWrites;
    // The values the last collection of writes refused (WriteRefusal.h), by parameter.
    std::vector<std::string> refusedWrites;
    // The last read-back's writes the unit answered OK to but does not hold: sent, held.
    std::map<std::string, std::pair<std::string, std::string>> notKept;
    // The last complete listing on the open port and the backup taken from it (AutoBackup.h).
    ConnectionBackup connectionBackup;
};

class FormWindow : public EngineWindow, public ConnectionRecord {
  public:
    TabTable tabTable;
    ParameterTable parameterTable;
    CPaintManagerUI paintManager;
    int language = 0;
    // The session log Save log writes.
    std::string sessionLog;
    std::string loraVersion;
    // Optional: answers the questions asked before a write (Questions.h) instead of a box; the
    // command line answers from its options. UI thread.
    QuestionAnswer questionAnswer;
    // A value of the form, of the unit or of what was read changed: the pending edits are
    // shown anew once the message that changed it is handled (PendingEdits.h).
    bool pendingMarksDue = false;
    // How often the pending edits were worked out, for the tests and benchmarks.
    int pendingEditWalks = 0;
};
