#include "form/HiddenReason.h"

#include "form/RuleSupport.h"
#include "form/TabStrip.h"
#include "settings/Labels.h"
#include "ui/Container.h"

namespace {

constexpr const char* kSection = "Find";

using Hider = std::string (*)(FormContext& form, std::string_view layout);
constexpr Hider kHiders[] = {
    WorkModeHider,    ActivationHider, OptionHider, ServerCountHider,
    DioWorkModeHider, IoHider,         LoraHider,
};

// The list whose present choice hides the layout, or null.
CComboUI* HidingList(FormContext& form, std::string_view layout) {
    for (Hider hider : kHiders) {
        const std::string list = hider(form, layout);
        if (!list.empty()) return FindAs<CComboUI>(form, list);
    }
    return nullptr;
}

std::string WhileText(const char* key, CComboUI& list, const std::string& page = {}) {
    std::string caption = DistinctCaptionOf(list);
    if (caption.empty()) caption = list.GetName().str();
    return FilledLabel(kSection, key,
                       {{"list", caption}, {"choice", list.GetText().str()}, {"page", page}});
}

std::string PageOffReason(FormContext& form, int page) {
    const char* button = kTabButtonNames[static_cast<std::size_t>(page)];
    const std::string title = PageTitle(form, page);
    if (CComboUI* list = HidingList(form, button)) return WhileText("PageOffWhile", *list, title);
    if (IsModuleTab(button)) return FilledLabel(kSection, "NoModule", {{"page", title}});
    return FilledLabel(kSection, "PageOff", {{"page", title}});
}

// The page of "switch" the control sits in (its child holding it), or null.
const CControlUI* PageHolding(const CControlUI& control) {
    const CControlUI* child = &control;
    for (CControlUI* up = control.GetParent(); up; child = up, up = up->GetParent()) {
        if (dynamic_cast<CTabLayoutUI*>(up) && up->GetName() == "switch") return child;
    }
    return nullptr;
}

int CountCaptions(const CControlUI& root, const std::string& caption) {
    int count = CaptionOf(root) == caption ? 1 : 0;
    if (auto* box = dynamic_cast<const CContainerUI*>(&root)) {
        for (int i = 0; i < box->GetCount(); ++i) {
            if (const CControlUI* child = box->GetItemAt(i))
                count += CountCaptions(*child, caption);
        }
    }
    return count;
}

}  // namespace

std::string DistinctCaptionOf(const CControlUI& control) {
    const std::string caption = CaptionOf(control);
    const CControlUI* page = PageHolding(control);
    if (caption.empty() || !page || CountCaptions(*page, caption) < 2) return caption;
    // Channels share their rows' labels: the box names the channel.
    for (const CControlUI* up = control.GetParent(); up && up != page; up = up->GetParent()) {
        if (dynamic_cast<const CGroupBoxUI*>(up) && !up->GetText().IsEmpty())
            return up->GetText().str() + " " + caption;
    }
    return caption;
}

std::string CaptionOf(const CControlUI& control) {
    auto* row = dynamic_cast<const CContainerUI*>(control.GetParent());
    for (int i = 0; row && i < row->GetCount(); ++i) {
        if (row->GetItemAt(i) != &control) continue;
        for (int j = i - 1; j >= 0; --j) {
            CControlUI* before = row->GetItemAt(j);
            if (dynamic_cast<CTextUI*>(before) && !before->GetText().IsEmpty())
                return before->GetText().str();
        }
    }
    return {};
}

int PageOfControl(const CControlUI& control) {
    const CControlUI* child = &control;
    for (CControlUI* up = control.GetParent(); up; child = up, up = up->GetParent()) {
        auto* pages = dynamic_cast<CTabLayoutUI*>(up);
        if (!pages || pages->GetName() != "switch") continue;
        for (int i = 0; i < pages->GetCount(); ++i) {
            if (pages->GetItemAt(i) == child) return i;
        }
    }
    return -1;
}

std::string PageTitle(FormContext& form, int page) {
    if (page < 0 || page >= kTabCount) return {};
    const std::string_view button = kTabButtonNames[static_cast<std::size_t>(page)];
    CControlUI* option = form.paintManager.FindControl(TabOptionName(button));
    // The tab shows the page's pending edits behind its title; the page is named without them.
    return option ? TabTitleWithoutCount(option->GetText().str()) : std::string();
}

std::string HiddenReason(FormContext& form, const CControlUI& control, int page) {
    if (page >= 0 && page < kTabCount && !IsTabEnabled(form.tabTable, page))
        return PageOffReason(form, page);
    // The outermost hidden box first: it has to come back before anything inside it can.
    const CControlUI* hidden = nullptr;
    for (const CControlUI* up = &control; up; up = up->GetParent()) {
        if (dynamic_cast<const CTabLayoutUI*>(up->GetParent())) break;
        if (!up->IsOwnVisible()) hidden = up;
    }
    if (!hidden) return {};
    if (CComboUI* list = HidingList(form, hidden->GetName().str()))
        return WhileText("HiddenWhile", *list);
    return FilledLabel(kSection, "Hidden", {});
}
