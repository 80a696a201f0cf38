#pragma once
// Panes side by side (or one above the other) with a handle between them the user can drag.
// A pane's width (height) in the skin is where it starts and the least it may shrink to; the
// last pane takes what the window gains. No pane collapses, so at the window's least size each
// has its least.
//
// Threads: UI thread only.
#include "ui/Container.h"

class QSplitter;

class CSplitterUI : public CContainerUI {
  public:
    CSplitterUI();
    const char* GetClass() const override { return "SplitterUI"; }
    // "vertical" true: panes one above the other.
    void SetAttribute(const char* name, const char* value) override;
    // The splitter widget, or null while not realized.
    QSplitter* Splitter() const;

  protected:
    QWidget* CreateWidget() override;
    void PlaceChild(CControlUI* child) override;

  private:
    bool vertical_ = false;
};
