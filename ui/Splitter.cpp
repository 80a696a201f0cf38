#include "ui/Splitter.h"

#include <QSplitter>
#include <QWidget>
#include <cstring>

#include "ui/Control.h"

namespace {

constexpr int kHandleWidth = 6;

}  // namespace

CSplitterUI::CSplitterUI() = default;

QWidget* CSplitterUI::CreateWidget() {
    auto* splitter = new QSplitter(vertical_ ? Qt::Vertical : Qt::Horizontal);
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(kHandleWidth);
    return splitter;
}

QSplitter* CSplitterUI::Splitter() const {
    return static_cast<QSplitter*>(GetWidget());
}

void CSplitterUI::SetAttribute(const char* name, const char* value) {
    if (name && value && std::strcmp(name, "vertical") == 0) {
        vertical_ = ParseBool(value);
        if (Splitter()) Splitter()->setOrientation(vertical_ ? Qt::Vertical : Qt::Horizontal);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

void CSplitterUI::PlaceChild(CControlUI* child) {
    QSplitter* splitter = Splitter();
    QWidget* pane = child->GetWidget();
    if (!splitter || !pane) return;
    // The skin's fixed size becomes the pane's least, so the handle can move it.
    if (splitter->orientation() == Qt::Horizontal && child->GetFixedWidth() > 0) {
        pane->setMinimumWidth(child->GetFixedWidth());
        pane->setMaximumWidth(QWIDGETSIZE_MAX);
    } else if (splitter->orientation() == Qt::Vertical && child->GetFixedHeight() > 0) {
        pane->setMinimumHeight(child->GetFixedHeight());
        pane->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    const int index = splitter->count();
    splitter->addWidget(pane);
    // Only the last pane grows with the window; the others keep what the user gave them.
    for (int i = 0; i <= index; ++i) splitter->setStretchFactor(i, i == index ? 1 : 0);
}
