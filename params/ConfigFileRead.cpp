#include "params/ConfigFileRead.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string_view>
#include <utility>

#include "params/ParameterTable.h"

namespace {

// Each character of the listing comes from at most two file bytes (CR CR LF gives CR LF); a
// few bytes more tell whether CRs at the end are the start of a line end. No file is read further.
constexpr qint64 kMaxFileBytes = 2 * static_cast<qint64>(kListingTextLimit) + 8;

}  // namespace

bool ReadConfigFile(const CStdString& path, ListingCheck* check) {
    QFile file(QString::fromUtf8(path.GetData()));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.read(kMaxFileBytes);
    if (file.error() != QFileDevice::NoError) return false;
    ParameterTable table;
    BuildParameterTable(table);
    *check = ReadListingFile(std::string_view(bytes.constData(), bytes.size()), table);
    return true;
}

bool ReadConfigListing(const CStdString& path, std::string* listing) {
    ListingCheck check;
    if (!ReadConfigFile(path, &check)) return false;
    *listing = std::move(check.text);
    return true;
}
