#pragma once
// The unit's parameters by control name: what writes each one, what introduces it in the unit's
// listing, where it lives on the form, and the value last read from or confirmed by the unit.
//
// Threads: the UI thread builds the table and does every traversal (parsing an answer, filling
// the form, collecting writes, layout). The worker thread calls SetValue after a confirmed write
// and, after a read-for-apply answer, parses and collects itself. The table has no lock of its
// own: the callers keep those uses from overlapping.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

enum class ControlKind { None, Edit, Combobox, Line };

struct ParameterEntry {
    std::string atCommand;      // write command word, empty when never written by its own command
    std::string value;          // last read from the unit or last confirmed write
    std::string responseLabel;  // text before the value in the listing; may be empty
    bool shown = true;          // takes part in writing
    ControlKind kind = ControlKind::None;
    int tab = 100;  // TabTable index 0..9; 100 = no tab
};

inline constexpr int kNoTab = 100;

class ParameterTable {
  public:
    // std::less<std::string> compares as unsigned bytes, the order every traversal relies on.
    using Map = std::map<std::string, ParameterEntry>;

    // Adds an entry (shown, empty value) unless the name is present; the first addition wins.
    void AddParameter(int tab, ControlKind kind, std::string_view name,
                      std::string_view responseLabel, std::string_view atCommand);
    // Returns the entry of that name, or nullptr when there is none.
    ParameterEntry* FindParameter(std::string_view name);
    const ParameterEntry* FindParameter(std::string_view name) const;
    // Returns the entry of that name, adding an inert one first (not shown, no tab, no kind).
    ParameterEntry& ParameterAt(std::string_view name);
    // Stores value in the entry of that name (adding an inert entry when missing).
    void SetValue(std::string_view name, std::string_view value);
    // Number of entries.
    std::size_t size() const { return entries.size(); }
    // Removes every entry.
    void Clear() { entries.clear(); }

    // Traversal in key order.
    Map::iterator begin() { return entries.begin(); }
    Map::iterator end() { return entries.end(); }
    Map::const_iterator begin() const { return entries.begin(); }
    Map::const_iterator end() const { return entries.end(); }

  private:
    Map entries;
};

// Fills the table with the unit's 167 parameters, then takes "LORA ver" out of writing.
void BuildParameterTable(ParameterTable& table);
