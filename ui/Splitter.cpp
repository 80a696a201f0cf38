#include "ui/Splitter.h"

#include <QSplitter>
#include <QWidget>
#include <cstring>

#include "ui/Control.h"

namespace {

constexpr int kHandleWidth = 6;

}  // namespace

CSplitterUI::CSplitterUI() : CContainerUI(new QSplitter(Qt::Horizontal), nullptr) {
    splitter_ = static_cast<QSplitter*>(GetWidget());
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(kHandleWidth);
}

void CSplitterUI::SetAttribute(const char* name, const char* value) {
    if (name && value && std::strcmp(name, "vertical") == 0) {
        splitter_->setOrientation(ParseBool(value) ? Qt::Vertical : Qt::Horizontal);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CSplitterUI::PlaceChild(CControlUI* child) {
    QWidget* pane = child->GetWidget();
    if (!pane) return;
    // The skin's fixed size becomes the pane's least, so the handle can move it.
    if (splitter_->orientation() == Qt::Horizontal && child->GetFixedWidth() > 0) {
        pane->setMinimumWidth(child->GetFixedWidth());
        pane->setMaximumWidth(QWIDGETSIZE_MAX);
    } else if (splitter_->orientation() == Qt::Vertical && child->GetFixedHeight() > 0) {
        pane->setMinimumHeight(child->GetFixedHeight());
        pane->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    const int index = splitter_->count();
    splitter_->addWidget(pane);
    // Only the last pane grows with the window; the others keep what the user gave them.
    for (int i = 0; i <= index; ++i) splitter_->setStretchFactor(i, i == index ? 1 : 0);
}
