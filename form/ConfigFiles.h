#pragma once
// Backing a unit up to a .cfg file and restoring it from one. A .cfg file holds the unit's
// AT+SHOW listing with every LF stored as CR LF (ConfigFileText.h).
//
// Threads: UI thread only. WriteConfigFile is called by the worker through a synchronous call
// on the UI thread, after a complete read-for-save answer.
#include <set>
#include <string>

#include "params/ListingCheck.h"
#include "ui/Dialogs.h"

class FormWindow;

// Handler of 2128: asks for a file (configFilePath), then queues a read-for-save of the unit.
void SaveToFile(FormWindow& frame);

// Handler of 2129: asks for a file, reads it (any line ends) and checks it whole, shows it in
// the form from its own text (the parameter table keeps the unit's values, the receive buffer
// is left alone), then queues a read-for-apply. A file that cannot be read or is refused
// (ListingCheck.h) logs [onLoadFrommFile] ReadError with the reason ([LoadFile]) and changes
// nothing; one that ends without the listing's closing OK is logged with how many values it
// holds and shown only when the engineer goes on (Questions.h).
void LoadFromFile(FormWindow& frame);
// LoadFromFile once the file is chosen (History gives a backup's path).
void LoadConfigFile(FormWindow& frame, const CStdString& path);

// LoadFromFile without the dialog and without the apply: shows the file at path in the form
// (configFilePath set). False, with [onLoadFrommFile] ReadError logged, when it holds nothing.
bool ShowConfigFile(FormWindow& frame, const CStdString& path);
// A file named on the command line: shown as ShowConfigFile does, applied (read-for-apply) only
// when the engineer first saves. UI thread.
bool OpenConfigFileAtStart(FormWindow& frame, const CStdString& path);
// Queues the read-for-apply of the file the form shows.
void ApplyShownFile(FormWindow& frame);

// Writes the listing in the receive buffer (up to its zero) to configFilePath and logs where
// ([SaveToFile] Saved). The file is replaced as a whole or not at all: a failed write leaves
// the old file as it was, and a box ([SaveToFile] OpenError) says so.
void WriteConfigFile(FormWindow& frame);

// The parameters the last loaded file gave a value, which the apply that follows may write;
// null when no file has been loaded into this frame.
const std::set<std::string>* LoadedFileParameters(const FormWindow& frame);

// Why the check refuses the file, in the window's language ([LoadFile]); empty when it does not.
std::string ListingRefusalLabel(const ListingCheck& check);

// The kinds of file dialog: each opens where the last one of its kind chose a file.
enum class DialogKind { LoadCfg, SaveCfg, Other };
// Where a dialog of that kind opens: the folder config.ini ([Folders]) keeps for it while that
// folder exists, else `fallback`.
std::string DialogFolder(DialogKind kind, const std::string& fallback);
// Keeps the folder of the file a dialog of that kind chose, unless the command line runs the
// frame (it names its files itself).
void RememberDialogFolder(const FormWindow& frame, DialogKind kind, const std::string& file);

// The dialogs' settings for the frame's language: filters, initial folder and name.
ui::FileDialogSpec OpenDialogSpec(int language);
ui::FileDialogSpec SaveDialogSpec(int language);
