#pragma once
// Containers: controls that hold other controls and lay them out, each on a Qt layout.
// A container owns its children and hides together with them.
//
// Threads: UI thread only.
#include <memory>
#include <vector>

#include "ui/Control.h"

class QBoxLayout;
class QStackedWidget;

class CContainerUI : public CControlUI {
  public:
    CContainerUI();
    ~CContainerUI() override;
    const char* GetClass() const override { return "ContainerUI"; }

    // Appends a control and takes ownership of it; false for null.
    virtual bool Add(CControlUI* control);
    // Deletes every child.
    virtual void RemoveAll();
    int GetCount() const { return static_cast<int>(items_.size()); }
    CControlUI* GetItemAt(int index) const;

    void SetAttribute(const char* name, const char* value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;

  protected:
    // For subclasses with another layout or widget.
    explicit CContainerUI(QWidget* widget, QBoxLayout* layout);
    // Puts a child's widget where it belongs in this container's widget.
    virtual void PlaceChild(CControlUI* child);

    QBoxLayout* layout_ = nullptr;
    bool packTop_ = false;  // a stretch after the children keeps them at the top
    std::vector<std::unique_ptr<CControlUI>> items_;
};

class CVerticalLayoutUI : public CContainerUI {
  public:
    CVerticalLayoutUI();
    const char* GetClass() const override { return "VerticalLayoutUI"; }
};

class CHorizontalLayoutUI : public CContainerUI {
  public:
    CHorizontalLayoutUI();
    const char* GetClass() const override { return "HorizontalLayoutUI"; }
};

// A box with a title around a vertical layout of rows.
class CGroupBoxUI : public CContainerUI {
  public:
    CGroupBoxUI();
    const char* GetClass() const override { return "GroupBoxUI"; }

  protected:
    void ApplyText() override;
};

// Pages of which one is shown at a time.
class CTabLayoutUI : public CContainerUI {
  public:
    CTabLayoutUI();
    const char* GetClass() const override { return "TabLayoutUI"; }
    // Shows page index; false when there is no such page.
    bool SelectItem(int index);
    int GetCurSel() const;

  protected:
    void PlaceChild(CControlUI* child) override;

  private:
    QStackedWidget* stack_ = nullptr;
};
