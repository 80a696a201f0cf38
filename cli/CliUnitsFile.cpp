#include "cli/CliUnitsFile.h"

#include <fstream>
#include <set>
#include <sstream>

#include "cli/CliAssignments.h"
#include "cli/CliOutput.h"
#include "form/DeviceForm.h"
#include "form/DeviceWrite.h"
#include "form/FormWindow.h"
#include "params/ConfigFileRead.h"
#include "params/DeviceAnswer.h"
#include "params/ListingCheck.h"
#include "params/ParameterTable.h"
#include "params/ValueText.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return !in.bad();
}

void CheckTemplate(const std::string& path, std::string* listing,
                   std::vector<std::string>* problems) {
    ListingCheck check;
    if (!ReadConfigFile(path, &check)) {
        problems->push_back("cannot read the template " + path);
        return;
    }
    if (check.Refused()) {
        problems->push_back("the template " + path + " is refused: " + ListingRefusalText(check));
        return;
    }
    if (!check.closed) {
        PrintMessage("the template " + path +
                     " ends without the listing's closing OK (was it cut short?): it holds " +
                     std::to_string(check.values) + " values, and only those are used");
    }
    *listing = check.text;
    ParameterTable table;
    BuildParameterTable(table);
    const std::set<std::string> listed = ParametersInListing(table, *listing);
    ParseDeviceAnswer(table, listing->data(), static_cast<int>(listing->size()));
    for (const std::string& name : listed) {
        if (HoldsControlByte(table.ParameterAt(name).value)) {
            problems->push_back(path + ": the value of \"" + name +
                                "\" holds a control character and is refused");
        }
    }
}

// The header: a key the unit can be told by, then writable parameters, each once.
void CheckColumns(const std::vector<std::string>& columns, const std::string& where,
                  std::vector<std::string>* problems) {
    ParameterTable table;
    BuildParameterTable(table);
    const std::string& key = columns[0];
    if (key != kPortKey && !table.FindParameter(key)) {
        problems->push_back(where + ": the key column \"" + key + "\" is neither \"" + kPortKey +
                            "\" nor a parameter's control name");
    }
    std::set<std::string> seen{key};
    for (std::size_t c = 1; c < columns.size(); ++c) {
        const std::string& name = columns[c];
        if (!seen.insert(name).second) {
            problems->push_back(where + ": the column \"" + name + "\" is given twice");
            continue;
        }
        if (std::string problem = CheckAssignment(table, {name, ""}); !problem.empty()) {
            problems->push_back(where + ": " + problem);
        }
    }
}

void CheckRows(const UnitsFile& units, const std::string& path,
               std::vector<std::string>* problems) {
    ParameterTable table;
    BuildParameterTable(table);
    std::set<std::string> keys;
    for (std::size_t r = 0; r < units.rows.size(); ++r) {
        const std::vector<std::string>& row = units.rows[r];
        const std::string where = path + " line " + std::to_string(r + 2);
        if (row.size() != units.columns.size()) {
            problems->push_back(where + ": " + std::to_string(row.size()) +
                                " fields where the header has " +
                                std::to_string(units.columns.size()));
            continue;
        }
        if (row[0].empty())
            problems->push_back(where + ": the key is empty");
        else if (!keys.insert(row[0]).second)
            problems->push_back(where + ": the key \"" + UnitText(row[0]) + "\" is given twice");
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (HoldsControlByte(row[c])) {
                problems->push_back(where + ": the value of \"" + units.columns[c] +
                                    "\" holds a control character (such as CR or LF)");
            } else if (c > 0 && !row[c].empty()) {
                // The key only picks the row; every other value is written.
                const std::string problem = CheckGivenValue({units.columns[c], row[c]});
                if (!problem.empty()) problems->push_back(where + ": " + problem);
            }
        }
    }
}

void CheckUnits(const CliOptions& options, UnitsFile* units, std::vector<std::string>* problems) {
    const std::string& path = options.unitsPath;
    std::string text;
    std::vector<std::vector<std::string>> rows;
    std::string error;
    if (!ReadWholeFile(path, &text)) {
        problems->push_back("cannot read the units' file " + path);
        return;
    }
    // A spreadsheet saving "CSV UTF-8" begins the file with a byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    if (!ParseCsv(text, &rows, &error)) {
        problems->push_back(path + ": " + error);
        return;
    }
    if (rows.empty() || rows[0].empty()) {
        problems->push_back(path + " has no header row");
        return;
    }
    units->columns = rows[0];
    units->rows.assign(rows.begin() + 1, rows.end());
    CheckColumns(units->columns, path, problems);
    CheckRows(*units, path, problems);
    if (units->columns[0] != kPortKey) return;
    for (const std::string& port : options.ports) {
        if (FindUnitRow(*units, port) < 0) problems->push_back(path + " has no row for " + port);
    }
}

}  // namespace

bool ParseCsv(const std::string& text, std::vector<std::vector<std::string>>* rows,
              std::string* error) {
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool rowStarted = false;
    const auto endRow = [&] {
        if (rowStarted) {
            row.push_back(field);
            rows->push_back(row);
        }
        row.clear();
        field.clear();
        rowStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
            continue;
        }
        if (c == '"') {
            quoted = rowStarted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
            rowStarted = true;
        } else if (c == '\n') {
            endRow();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else {
            field += c;
            rowStarted = true;
        }
    }
    if (quoted) {
        *error = "a quoted field is not closed";
        return false;
    }
    endRow();
    return true;
}

std::vector<std::string> ReadProvisionFiles(const CliOptions& options, ProvisionFiles* files) {
    std::vector<std::string> problems;
    CheckTemplate(options.file, &files->templateListing, &problems);
    if (!options.unitsPath.empty()) CheckUnits(options, &files->units, &problems);
    return problems;
}

std::vector<std::string> CheckValuesShown(FormWindow& frame, const UnitsFile& units) {
    std::vector<std::string> problems;
    for (std::size_t c = 1; c < units.columns.size(); ++c) {
        const std::string& name = units.columns[c];
        if (!HasControl(frame, name)) {
            problems.push_back("the form has no control \"" + name + "\"");
            continue;
        }
        for (const std::vector<std::string>& row : units.rows) {
            if (row[c].empty()) continue;
            ParameterEntry shown = *frame.parameterTable.FindParameter(name);
            shown.value = row[c];
            ShowEntryValue(frame, name, shown);
            for (const FormValue& value : FormValues(frame, false)) {
                if (value.name != name || value.value == row[c]) continue;
                problems.push_back("\"" + name + "=" + UnitText(row[c]) +
                                   "\" cannot be shown in its control, which would write \"" +
                                   UnitText(value.value) + "\"");
            }
        }
    }
    return problems;
}

int FindUnitRow(const UnitsFile& units, const std::string& key) {
    for (std::size_t r = 0; r < units.rows.size(); ++r) {
        if (!units.rows[r].empty() && units.rows[r][0] == key) return static_cast<int>(r);
    }
    return -1;
}

std::vector<Assignment> RowAssignments(const UnitsFile& units, int row) {
    std::vector<Assignment> assignments;
    if (row < 0) return assignments;
    for (std::size_t c = 1; c < units.columns.size(); ++c) {
        if (!units.rows[row][c].empty())
            assignments.push_back({units.columns[c], units.rows[row][c]});
    }
    return assignments;
}
