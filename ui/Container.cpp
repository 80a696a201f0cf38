#include "ui/Container.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QStackedWidget>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "ui/TextCodec.h"

namespace {

QBoxLayout* MakeLayout(QWidget* widget, QBoxLayout::Direction direction) {
    auto* layout = new QBoxLayout(direction, widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

CContainerUI::CContainerUI() {
    auto* widget = new QWidget();
    SetWidget(widget);
    layout_ = MakeLayout(widget, QBoxLayout::TopToBottom);
}

CContainerUI::CContainerUI(QWidget* widget, QBoxLayout* layout) : layout_(layout) {
    SetWidget(widget);
}

CContainerUI::~CContainerUI() {
    RemoveAll();
}

bool CContainerUI::Add(CControlUI* control) {
    if (!control) return false;
    items_.emplace_back(control);
    control->SetManager(GetManager(), this);
    PlaceChild(control);
    return true;
}

void CContainerUI::PlaceChild(CControlUI* child) {
    if (!layout_ || !child->GetWidget()) return;
    if (packTop_) {
        layout_->insertWidget(layout_->count() - 1, child->GetWidget());
    } else {
        layout_->addWidget(child->GetWidget());
    }
}

void CContainerUI::RemoveAll() {
    // Children go first, last added first, so no widget outlives the control that owns it.
    while (!items_.empty()) items_.pop_back();
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::SetManager(manager, parent);
    for (auto& item : items_) item->SetManager(manager, this);
}

void CContainerUI::SetAttribute(const char* name, const char* value) {
    if (!name || !value) return;
    if (layout_ && std::strcmp(name, "inset") == 0) {
        int l = 0, t = 0, r = 0, b = 0;
        if (std::sscanf(value, "%d,%d,%d,%d", &l, &t, &r, &b) == 4) {
            layout_->setContentsMargins(l, t, r, b);
        }
    } else if (layout_ && std::strcmp(name, "childpadding") == 0) {
        layout_->setSpacing(ParseInt(value));
    } else if (layout_ && std::strcmp(name, "align") == 0) {
        // Rows keep their fixed heights; "top" packs them at the top of the container.
        if (std::strcmp(value, "top") == 0 && !packTop_) {
            packTop_ = true;
            layout_->addStretch();
        }
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

CVerticalLayoutUI::CVerticalLayoutUI() = default;

CHorizontalLayoutUI::CHorizontalLayoutUI() {
    layout_->setDirection(QBoxLayout::LeftToRight);
}

CGroupBoxUI::CGroupBoxUI() : CContainerUI(new QGroupBox(), nullptr) {
    layout_ = MakeLayout(GetWidget(), QBoxLayout::TopToBottom);
    layout_->setContentsMargins(8, 18, 8, 4);
}

void CGroupBoxUI::ApplyText() {
    static_cast<QGroupBox*>(GetWidget())->setTitle(ui::DecodeUnitText(text_.str()));
}

CTabLayoutUI::CTabLayoutUI() {
    stack_ = new QStackedWidget();
    layout_->addWidget(stack_);
}

void CTabLayoutUI::PlaceChild(CControlUI* child) {
    if (child->GetWidget()) stack_->addWidget(child->GetWidget());
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= stack_->count()) return false;
    stack_->setCurrentIndex(index);
    return true;
}

int CTabLayoutUI::GetCurSel() const {
    return stack_->currentIndex();
}
