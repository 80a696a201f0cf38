#include "cli/CliListingFile.h"

#include "cli/CliOutput.h"
#include "params/ConfigFileRead.h"
#include "params/ListingCheck.h"

bool ReadCheckedListing(const std::string& path, const std::string& shown, std::string* listing) {
    ListingCheck check;
    if (!ReadConfigFile(path, &check)) {
        PrintMessage("cannot read " + shown);
        return false;
    }
    if (check.Refused()) {
        PrintMessage(shown + " is refused: " + ListingRefusalText(check));
        return false;
    }
    if (!check.closed) {
        PrintMessage(shown +
                     " ends without the listing's closing OK (was it cut short?): it "
                     "holds " +
                     std::to_string(check.values) + " values, and only those are used");
    }
    *listing = std::move(check.text);
    return true;
}
