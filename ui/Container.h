#pragma once
// Containers: controls that hold other controls and lay them out, each on a Qt layout once
// realized. A container owns its children and hides together with them; a realized container's
// children are realized too, except the pages of a tab layout that were never shown.
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
    QWidget* CreateWidget() override;
    // Sets up the layout from the skin's attributes, then realizes and places the children.
    void ApplyState() override;
    // The layout's margins, spacing and top packing, as the skin gave them.
    void ApplyLayoutAttributes();
    // Puts a child's widget where it belongs in this container's widget.
    virtual void PlaceChild(CControlUI* child);
    // Realizes a child added to a realized container.
    virtual void RealizeChild(CControlUI* child);

    // How the content shows in a widget smaller than it ("scroll"): whole (the widget grows to
    // it), scrolled, or cut off at the widget's edge with no scroll bars.
    enum class Overflow { Grow, Scroll, Clip };

    QBoxLayout* layout_ = nullptr;
    Overflow overflow_ = Overflow::Grow;
    bool horizontal_ = false;
    bool packTop_ = false;  // a stretch after the children keeps them at the top
    int inset_[4] = {0, 0, 0, 0};
    int childPadding_ = 0;
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
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void ApplyText() override;
};

// Pages of which one is shown at a time.
class CTabLayoutUI : public CContainerUI {
  public:
    CTabLayoutUI();
    const char* GetClass() const override { return "TabLayoutUI"; }
    // Shows page index, realizing it the first time; false when there is no such page.
    bool SelectItem(int index);
    // The page shown, -1 when there is none.
    int GetCurSel() const { return GetCount() == 0 ? -1 : current_; }

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void PlaceChild(CControlUI* child) override;
    void RealizeChild(CControlUI* child) override;

  private:
    // Realizes page index in place of its stand-in.
    void RealizePage(int index);
    QStackedWidget* stack_ = nullptr;
    int current_ = 0;
};
