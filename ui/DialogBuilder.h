#pragma once
// CDialogBuilder: builds a control tree from an XML skin file (see skin/README.md for the
// schema). Elements it does not know are offered to the callback, which may return a control
// of its own (the form's pages); an element nobody knows is skipped with its content.
//
// Threads: UI thread only.
#include <string>

#include "ui/StdString.h"

class CControlUI;
class CPaintManagerUI;

class IDialogBuilderCallback {
  public:
    virtual ~IDialogBuilderCallback() = default;
    // A control for an element class the builder does not know, or null.
    virtual CControlUI* CreateControl(const char* className) = 0;
};

class CDialogBuilder {
  public:
    // Builds the tree of a skin file, resolved in the paint manager's resource path unless
    // absolute. The "Window" element's attributes (size, caption, roundcorner) go to manager
    // when one is given. Returns the root control (owned by the caller), or null.
    CControlUI* Create(const char* xmlFile, const char* type = nullptr,
                       IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // The same from XML text.
    CControlUI* CreateFromText(const std::string& xml, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
    // Why the last Create returned null ("" when it did not).
    const std::string& LastError() const { return error_; }

  private:
    std::string error_;
};
