#include "app/PortListEntries.h"

#include "app/AppWindow.h"
#include "serial/NetworkPort.h"
#include "settings/Labels.h"
#include "ui/Controls.h"

std::string PortListLabel(const char* key) {
    return LabelText(kNetworkPortSection, key).str();
}

std::vector<std::string> ListedNetworkPorts(const AppWindow& frame) {
    std::vector<std::string> ports;
    for (const std::string& device : frame.extraPorts) {
        if (serial::IsNetworkPortName(device)) ports.push_back(device);
    }
    return ports;
}

bool HasPortListEntries() {
    // A skin without the texts has no entries: an empty item would be picked as a port.
    return !PortListLabel("AddEntry").empty();
}

void AddPortListEntries(AppWindow& frame, CComboUI& combo) {
    if (!HasPortListEntries()) return;
    combo.Add(new CListLabelElementUI(PortListLabel("AddEntry")));
    const std::string remove = PortListLabel("RemoveEntry");
    if (!remove.empty() && !ListedNetworkPorts(frame).empty())
        combo.Add(new CListLabelElementUI(remove));
}

bool IsPortListEntry(const std::string& itemText) {
    for (const char* key : {"AddEntry", "RemoveEntry"}) {
        if (!itemText.empty() && itemText == PortListLabel(key)) return true;
    }
    return false;
}
