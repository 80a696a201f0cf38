#include "tests/support/SkinPages.h"

#include "ui/Container.h"

namespace testskin {

namespace {

// Page elements whose file is not simply the element name followed by ".xml".
struct PageFileRow {
    std::string_view element;
    const char* file;
};
constexpr PageFileRow kPageFiles[] = {
    {"ComputerExamine", "ComputerExamine.xml"},
    {"WorkTab", "WorkTab.xml"},
    {"Wireless", "Wireless.xml"},
    {"ServiceCentre", "Service Centre.xml"},
    {"SerialPort", "Serial port.xml"},
    {"Global_Parameter", "Global Parameter.xml"},
    {"Equipment_Management", "Equipment Management.xml"},
};

}  // namespace

std::string PageFile(std::string_view element) {
    for (const auto& row : kPageFiles) {
        if (row.element == element) return row.file;
    }
    return std::string(element) + ".xml";
}

CControlUI* PageLoader::CreateControl(const char* className) {
    auto* page = new CContainerUI();
    CDialogBuilder builder;
    const std::string file = PageFile(className);
    if (CControlUI* root = builder.Create(file.c_str(), nullptr, this)) {
        page->Add(root);
    } else {
        errors.push_back(file + ": " + builder.LastError());
    }
    return page;
}

}  // namespace testskin
