#include "ui/Container.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QScrollArea>
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

// A frameless scroll area around the content, which takes the area's size or its own least,
// whichever is larger. It paints nothing of its own, so the content looks as it would unwrapped.
QWidget* InScrollArea(QWidget* content, bool bars) {
    auto* area = new QScrollArea();
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    if (!bars) {
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    area->setWidget(content);
    area->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    return area;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    RemoveAll();
}

QWidget* CContainerUI::CreateWidget() {
    auto* widget = new QWidget();
    layout_ = MakeLayout(widget, horizontal_ ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    if (overflow_ == Overflow::Grow) return widget;
    return InScrollArea(widget, overflow_ == Overflow::Scroll);
}

void CContainerUI::ApplyLayoutAttributes() {
    if (!layout_) return;
    layout_->setContentsMargins(inset_[0], inset_[1], inset_[2], inset_[3]);
    layout_->setSpacing(childPadding_);
    if (packTop_) layout_->addStretch();
}

void CContainerUI::ApplyState() {
    ApplyLayoutAttributes();
    for (auto& item : items_) RealizeChild(item.get());
}

void CContainerUI::RealizeChild(CControlUI* child) {
    if (child->GetWidget()) return PlaceChild(child);
    child->Realize([this, child](QWidget*) { PlaceChild(child); });
}

bool CContainerUI::Add(CControlUI* control) {
    if (!control) return false;
    items_.emplace_back(control);
    control->SetManager(GetManager(), this);
    if (GetWidget()) RealizeChild(control);
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
    if (std::strcmp(name, "inset") == 0) {
        int l = 0, t = 0, r = 0, b = 0;
        if (std::sscanf(value, "%d,%d,%d,%d", &l, &t, &r, &b) == 4) {
            inset_[0] = l, inset_[1] = t, inset_[2] = r, inset_[3] = b;
            if (layout_) layout_->setContentsMargins(l, t, r, b);
        }
    } else if (std::strcmp(name, "childpadding") == 0) {
        childPadding_ = ParseInt(value);
        if (layout_) layout_->setSpacing(childPadding_);
    } else if (std::strcmp(name, "scroll") == 0) {
        // Read before the widget is made, as the skin's attributes are.
        overflow_ = std::strcmp(value, "true") == 0   ? Overflow::Scroll
                    : std::strcmp(value, "clip") == 0 ? Overflow::Clip
                                                      : Overflow::Grow;
    } else if (std::strcmp(name, "align") == 0) {
        // Rows keep their fixed heights; "top" packs them at the top of the container.
        if (std::strcmp(value, "top") == 0 && !packTop_) {
            packTop_ = true;
            if (layout_) layout_->addStretch();
        }
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

CVerticalLayoutUI::CVerticalLayoutUI() = default;

CHorizontalLayoutUI::CHorizontalLayoutUI() {
    horizontal_ = true;
}

CGroupBoxUI::CGroupBoxUI() {
    inset_[0] = 8, inset_[1] = 18, inset_[2] = 8, inset_[3] = 4;
}

QWidget* CGroupBoxUI::CreateWidget() {
    auto* box = new QGroupBox();
    layout_ = MakeLayout(box, QBoxLayout::TopToBottom);
    return box;
}

void CGroupBoxUI::ApplyState() {
    ApplyText();
    CContainerUI::ApplyState();
}

void CGroupBoxUI::ApplyText() {
    if (auto* box = static_cast<QGroupBox*>(GetWidget())) {
        box->setTitle(ui::DecodeUnitText(text_.str()));
    }
}

CTabLayoutUI::CTabLayoutUI() = default;

QWidget* CTabLayoutUI::CreateWidget() {
    QWidget* widget = CContainerUI::CreateWidget();
    stack_ = new QStackedWidget();
    layout_->addWidget(stack_);
    return widget;
}

void CTabLayoutUI::ApplyState() {
    ApplyLayoutAttributes();
    for (auto& page : items_) PlaceChild(page.get());
    if (GetCurSel() >= 0) RealizePage(current_);
}

void CTabLayoutUI::RealizeChild(CControlUI* child) {
    // A page is made when it is first shown; until then an empty stand-in holds its place.
    PlaceChild(child);
    if (GetCount() == 1) RealizePage(0);
}

void CTabLayoutUI::PlaceChild(CControlUI* child) {
    stack_->addWidget(child->GetWidget() ? child->GetWidget() : new QWidget());
}

void CTabLayoutUI::RealizePage(int index) {
    CControlUI* page = GetItemAt(index);
    QWidget* standIn = stack_->widget(index);
    if (!page || !standIn || standIn == page->GetWidget()) return;
    const auto swapIn = [this, index, standIn](QWidget* widget) {
        stack_->insertWidget(index, widget);
        stack_->removeWidget(standIn);
        delete standIn;
    };
    if (page->GetWidget()) {
        swapIn(page->GetWidget());
    } else {
        page->Realize(swapIn);
    }
    if (!page->GetWidget()) return;
    if (index == current_) stack_->setCurrentIndex(index);
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    current_ = index;
    if (stack_ && GetWidget()) {
        RealizePage(index);
        stack_->setCurrentIndex(index);
    }
    return true;
}
