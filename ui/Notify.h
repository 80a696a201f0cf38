#pragma once
// Control notifications: "click", "selectchanged", "itemselect", "setfocus", "killfocus",
// "return" (Enter in a field), "dropdown" and "windowinit", delivered synchronously on the UI
// thread to every notifier.
#include "ui/StdString.h"
#include "ui/Types.h"

class CControlUI;

struct TNotifyUI {
    CStdString sType;
    CControlUI* pSender = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
  public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};
