#include "form/Pages.h"

#include <cstring>
#include <functional>

CPageUI::CPageUI(const char* file) : file_(file ? file : "") {
    CDialogBuilder builder;
    if (CControlUI* root = builder.Create(file_.c_str())) {
        Add(root);
    } else {
        RemoveAll();
    }
}

namespace {

struct PageClass {
    const char* element;
    CControlUI* (*make)();
};

template <typename Page>
CControlUI* Make() {
    return new Page();
}

constexpr PageClass kPageClasses[] = {
    {"ComputerExamine", &Make<ComputerExamineUI>},
    {"WorkTab", &Make<WorkTabUI>},
    {"Wireless", &Make<WirelessTabUI>},
    {"ServiceCentre", &Make<ServiceCentreTabUI>},
    {"SerialPort", &Make<SerialPortTabUI>},
    {"Global_Parameter", &Make<Global_ParameterTabUI>},
    {"Equipment_Management", &Make<Equipment_ManagementTabUI>},
};

}  // namespace

CControlUI* CDialogBuilderCallbackEx::CreateControl(const char* className) {
    if (!className) return nullptr;
    for (const PageClass& page : kPageClasses) {
        if (std::strcmp(page.element, className) == 0) return page.make();
    }
    return new Child_ManagementTabUI(std::string(className) + ".xml");
}
