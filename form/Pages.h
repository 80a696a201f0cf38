#pragma once
// The form's pages: "skin.xml" names each page by an element of its own, and the builder
// callback makes the page container, which loads the page's file.
//
// Threads: UI thread only.
#include <string>

#include "ui/Container.h"
#include "ui/DialogBuilder.h"

// A page: a container whose only child is the root of its skin file, or empty when the file
// yields no control.
class CPageUI : public CContainerUI {
  public:
    explicit CPageUI(const char* file);
    const std::string& File() const { return file_; }

  private:
    std::string file_;
};

class ComputerExamineUI : public CPageUI {
  public:
    ComputerExamineUI() : CPageUI("ComputerExamine.xml") {}
};
class WorkTabUI : public CPageUI {
  public:
    WorkTabUI() : CPageUI("WorkTab.xml") {}
};
class WirelessTabUI : public CPageUI {
  public:
    WirelessTabUI() : CPageUI("Wireless.xml") {}
};
class ServiceCentreTabUI : public CPageUI {
  public:
    ServiceCentreTabUI() : CPageUI("Service Centre.xml") {}
};
class SerialPortTabUI : public CPageUI {
  public:
    SerialPortTabUI() : CPageUI("Serial port.xml") {}
};
class Global_ParameterTabUI : public CPageUI {
  public:
    Global_ParameterTabUI() : CPageUI("Global Parameter.xml") {}
};
class Equipment_ManagementTabUI : public CPageUI {
  public:
    Equipment_ManagementTabUI() : CPageUI("Equipment Management.xml") {}
};
// Any other element name: the page loads that name followed by ".xml".
class Child_ManagementTabUI : public CPageUI {
  public:
    explicit Child_ManagementTabUI(const std::string& file) : CPageUI(file.c_str()) {}
};

class CDialogBuilderCallbackEx : public IDialogBuilderCallback {
  public:
    // A new page for the element's class name (matched exactly, case-sensitive).
    CControlUI* CreateControl(const char* className) override;
};
