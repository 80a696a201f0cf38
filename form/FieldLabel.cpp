#include "form/FieldLabel.h"

#include "form/ChannelSwitches.h"
#include "form/HiddenReason.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"

namespace {

// A heading row: captions only, no control of the form's.
bool IsHeading(const CControlUI& item, std::string* text) {
    if (dynamic_cast<const CTextUI*>(&item)) {
        *text = item.GetText().str();
        return !text->empty();
    }
    const auto* row = dynamic_cast<const CContainerUI*>(&item);
    if (!row || dynamic_cast<const CGroupBoxUI*>(row)) return false;
    text->clear();
    for (int i = 0; i < row->GetCount(); ++i) {
        const CControlUI* part = row->GetItemAt(i);
        if (!part->GetName().IsEmpty()) return false;
        if (dynamic_cast<const CTextUI*>(part) && text->empty()) *text = part->GetText().str();
    }
    return !text->empty();
}

// The heading over a mask's switches: the row right above the row of its first switch, or the
// title of the box the switches are in.
std::string MaskHeading(CPaintManagerUI& pm, const ChannelEntry& mask) {
    CControlUI* first = pm.FindControl(std::string(mask.switches.front().name));
    if (!first) return {};
    for (CControlUI* at = first; at->GetParent(); at = at->GetParent()) {
        auto* parent = dynamic_cast<CContainerUI*>(at->GetParent());
        if (!parent) break;
        if (dynamic_cast<CGroupBoxUI*>(parent)) {
            // The row above inside the box, else the box's own title.
            for (int i = 1; i < parent->GetCount(); ++i) {
                std::string text;
                if (parent->GetItemAt(i) == at && IsHeading(*parent->GetItemAt(i - 1), &text))
                    return text;
            }
            return parent->GetText().str();
        }
    }
    return {};
}

}  // namespace

std::string FieldLabel(CPaintManagerUI& paintManager, std::string_view name) {
    std::string label;
    if (const ChannelEntry* mask = FindChannelEntry(name)) {
        label = MaskHeading(paintManager, *mask);
    } else if (CControlUI* control = paintManager.FindControl(std::string(name))) {
        label = CaptionOf(*control);
    }
    return label.empty() ? std::string(name) : label;
}
