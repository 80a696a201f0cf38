#pragma once
// Why a value the form gives may not go to the unit, decided in one place for the collection of
// writes (a log line naming the parameter, nothing queued) and the review (the row greyed with
// the reason): a control byte, a character the unit's code page lacks, a space at either end
// (the unit's listing never shows it back), a value its parameter cannot take (an address, a
// port, a number), and a value of the unit's own item that is not the unit's and that no
// choice of the form would give (a file's or a backup's list value the form cannot place).
//
// Threads: UI thread only (reads the form's lists).
#include <span>
#include <string>

class FormWindow;
struct FormValue;
struct ParameterEntry;

struct WriteRefusal {
    const char* notice = nullptr;  // the [Notify] key of the log line; null: the value may go
    std::string reason;            // what is wrong, in the window's language; may be empty

    explicit operator bool() const { return notice != nullptr; }
};

// Why the value may not be written over the entry's; nothing when it may (or when it equals
// the entry's value, so nothing would be written).
WriteRefusal RefusalOf(FormWindow& frame, const FormValue& value, const ParameterEntry& entry);

// The log line of a refusal: the notice, the parameter's name and the reason, with its line end.
std::string RefusalLine(const WriteRefusal& refusal, const std::string& name);

// The refusal as a review row's reason for not writing it.
std::string RefusalReason(const WriteRefusal& refusal);

// Whether some choice on the form (an item of a list, or a side write another list makes)
// would write `value` with the command that writes `name`.
bool FormCanChoose(FormWindow& frame, const std::string& name, const std::string& value);

// The [Notify] keys of every refusal's log line, for those who watch the log.
std::span<const char* const> RefusalNotices();
