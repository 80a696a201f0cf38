#pragma once
// Text typed into the form goes to the unit in the unit's own code page. The rule: the unit
// uses GBK when any value of its last listing (as the parameter table holds it) is not valid
// UTF-8, otherwise UTF-8; an all-ASCII listing therefore gets UTF-8, which is ASCII for ASCII.
//
// Threads: any thread that may read the table.
#include <string>
#include <string_view>

class ParameterTable;

enum class UnitCodePage { Utf8, Gbk };

// The code page of the unit whose values the table holds.
UnitCodePage CodePageOf(const ParameterTable& table);

// The text in the unit's code page: UTF-8 text to a GBK unit as GBK, GBK text (a file from a
// GBK unit) to a UTF-8 unit as UTF-8; text already in the unit's code page (the unit's own
// bytes, an unedited field) goes as it is. False when a character has no place in the code
// page.
bool EncodeForUnit(std::string_view text, UnitCodePage page, std::string* bytes);
