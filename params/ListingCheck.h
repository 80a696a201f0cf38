#pragma once
// A listing as a .cfg file or the line gives it, read whatever its line ends and checked whole
// before anything of it is used: why it cannot stand for a unit, whether it ends with the
// listing's closing OK (or was cut), how many values it holds, and the lines a reader would
// otherwise pass over without a word (a label given twice, a parameter above the anchor).
//
// Threads: pure functions on their arguments; any thread.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "params/Listing.h"

class ParameterTable;

// Why a text cannot stand for a unit's listing.
enum class ListingRefusal {
    None,
    Empty,              // no text at all
    NoAnchor,           // no "Access Point Name:": not a listing
    NoValues,           // the anchor, but not one complete parameter line
    LabelsTwice,        // a label given on two lines: which value is meant is unknown
    ValuesAboveAnchor,  // a parameter's line above "Access Point Name:", which readers ignore
};

struct ListingCheck {
    std::string text;  // the listing with the unit's CR LF line ends, as readers take it
    ListingRefusal refusal = ListingRefusal::None;
    bool closed = false;                         // its closing "OK" line is there: not cut short
    int values = 0;                              // the parameter lines it holds, each label once
    std::vector<std::string> labelsTwice;        // labels on more than one line, as listed
    std::vector<std::string> labelsAboveAnchor;  // parameter labels above the anchor, as listed

    bool Refused() const { return refusal != ListingRefusal::None; }
};

// The most a listing can be: a full receive buffer. A file is read no further.
inline constexpr std::size_t kListingTextLimit = static_cast<std::size_t>(kRxCapacity);

// The listing a .cfg file holds, with CR LF line ends whatever the file's were: CR CR LF (as
// this program writes), CR LF, LF, or a mix, each line end read as one. A lone CR stays; a
// Ctrl-Z (byte 26) or a zero byte ends the text; at most `limit` characters are returned.
std::string DecodeListingFile(std::string_view fileBytes, std::size_t limit = kListingTextLimit);

// Checks a listing text (CR LF line ends) against the table's labels.
ListingCheck CheckListing(std::string text, const ParameterTable& table);

// DecodeListingFile, then CheckListing.
ListingCheck ReadListingFile(std::string_view fileBytes, const ParameterTable& table);

// The names of the table's parameters the listing gives a value (an empty value counts), as
// ParseDeviceAnswer takes them.
std::set<std::string> ParametersInListing(const ParameterTable& table, std::string_view listing);

// Why the check refuses the text, in words for the command line; empty when it does not.
std::string ListingRefusalText(const ListingCheck& check);
