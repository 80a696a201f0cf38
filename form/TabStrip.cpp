#include "form/TabStrip.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

#include "form/FormWindow.h"
#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"
#include "ui/TextCodec.h"

namespace {

constexpr int kLast = kTabCount - 1;
// An option's name is its tab button's name without the trailing "Tab".
constexpr std::size_t kButtonSuffixLength = 3;

const TabEntry& Entry(const TabTable& tabs, int i) {
    return tabs[static_cast<std::size_t>(i)];
}

CControlUI* Button(CPaintManagerUI& pm, const TabTable& tabs, int i) {
    return pm.FindControl(Entry(tabs, i).name);
}

void Rebuild(CPaintManagerUI& pm, const TabTable& tabs) {
    auto* pages = dynamic_cast<CTabLayoutUI*>(pm.FindControl("switch"));
    // A read-back, a Revert or a file loaded rebuilds the strip: the page being edited stays
    // while its tab is still offered.
    const int current = pages ? pages->GetCurSel() : -1;
    const bool keep = current >= 0 && current <= kLast && Entry(tabs, current).enabled &&
                      Button(pm, tabs, current) != nullptr;
    bool chosen = false;
    for (int i = 0; i <= kLast; ++i) {
        CControlUI* button = Button(pm, tabs, i);
        if (!button) continue;
        const TabEntry& entry = Entry(tabs, i);
        button->SetVisible(entry.enabled);
        if (chosen || !entry.enabled || (keep && i != current)) continue;
        if (pages) pages->SelectItem(i);
        const std::string_view name = entry.name;
        const std::string option(name.substr(
            0, name.size() >= kButtonSuffixLength ? name.size() - kButtonSuffixLength : 0));
        if (auto* opt = dynamic_cast<COptionUI*>(pm.FindControl(option))) opt->Selected(true);
        chosen = true;
    }
}

// Hides buttons at the left until the button after the last fully visible one fits.
void Forward(CPaintManagerUI& pm, const TabTable& tabs, int width) {
    int last = kLast;
    int sum = 0;
    for (int i = 0; i <= kLast; ++i) {
        CControlUI* button = Button(pm, tabs, i);
        if (!Entry(tabs, i).enabled || !button || !button->IsVisible()) continue;
        sum += button->GetFixedWidth();
        if (sum >= width) {
            last = i;
            break;
        }
    }
    if (last < kLast) ++last;
    sum = 0;
    bool edgePassed = false;
    for (int j = last; j >= 0; --j) {
        CControlUI* button = Button(pm, tabs, j);
        if (!Entry(tabs, j).enabled || !button) continue;
        if (!edgePassed) {
            sum += button->GetFixedWidth();
            edgePassed = sum > width;
        }
        if (edgePassed) button->SetVisible(false);
    }
}

// Shows the enabled button left of the leftmost visible one (or that one when none is left).
void Back(CPaintManagerUI& pm, const TabTable& tabs) {
    int first = kLast;
    for (int i = 0; i <= kLast; ++i) {
        CControlUI* button = Button(pm, tabs, i);
        if (Entry(tabs, i).enabled && button && button->IsVisible()) {
            first = i;
            break;
        }
    }
    for (int k = first - 1; k >= 0; --k) {
        if (Entry(tabs, k).enabled) {
            first = k;
            break;
        }
    }
    if (CControlUI* button = Button(pm, tabs, first)) button->SetVisible(true);
}

struct ModuleTab {
    std::string_view deviceMark;
    const char* button;
};
// In order of precedence: a device with two marks gets the first one's tab.
constexpr ModuleTab kModuleTabs[] = {
    {"-L", "LoraTab"},
    {"-Z", "ZigbeeTab"},
    {"K3V61", "GPSTab"},
};

void EnableTab(TabTable& tabs, std::string_view button, bool enabled) {
    for (int i = 0; i <= kLast; ++i) {
        if (button == kTabButtonNames[static_cast<std::size_t>(i)])
            tabs[static_cast<std::size_t>(i)].enabled = enabled;
    }
}

}  // namespace

void ScrollTabStrip(CPaintManagerUI& paintManager, const TabTable& tabs, int mode) {
    CControlUI* strip = paintManager.FindControl("HorizontalLayoutUI6");
    if (!strip) return;
    switch (mode) {
        case kStripRebuild:
            Rebuild(paintManager, tabs);
            break;
        case kStripBack:
            Back(paintManager, tabs);
            break;
        case kStripForward: {
            // A narrow window gives the strip less than the skin's width; what it shows counts.
            const QWidget* shown = strip->GetWidget();
            const int width = shown && shown->isVisible() ? shown->width() : strip->GetFixedWidth();
            Forward(paintManager, tabs, width);
            break;
        }
        default:
            break;
    }
}

void ScrollTabStrip(FormWindow& frame, int mode) {
    ScrollTabStrip(frame.paintManager, frame.tabTable, mode);
}

void ApplyDeviceTypeTabs(CPaintManagerUI& paintManager, TabTable& tabs,
                         std::string_view deviceType) {
    for (const ModuleTab& module : kModuleTabs) EnableTab(tabs, module.button, false);
    for (const ModuleTab& module : kModuleTabs) {
        if (deviceType.find(module.deviceMark) != std::string_view::npos) {
            EnableTab(tabs, module.button, true);
            break;
        }
    }
    ScrollTabStrip(paintManager, tabs, kStripRebuild);
}

void ApplyDeviceTypeTabs(FormWindow& frame, std::string_view deviceType) {
    ApplyDeviceTypeTabs(frame.paintManager, frame.tabTable, deviceType);
}

std::string TabOptionName(std::string_view button) {
    return std::string(button.substr(
        0, button.size() >= kButtonSuffixLength ? button.size() - kButtonSuffixLength : 0));
}

void SetTabCaption(CPaintManagerUI& paintManager, TabEntry& tab, const std::string& text) {
    CControlUI* button = paintManager.FindControl(tab.name);
    CControlUI* caption = paintManager.FindControl(TabOptionName(tab.name));
    if (!caption) return;
    caption->SetText(text);
    QWidget* widget = caption->GetWidget();
    if (!button || !widget) return;
    if (tab.skinWidth == 0) tab.skinWidth = button->GetFixedWidth();
    // Measured as the chosen tab shows it, in bold, with the style's padding and frame.
    QFont bold = widget->font();
    bold.setBold(true);
    constexpr int kPadding = 14;
    const int needed = QFontMetrics(bold).horizontalAdvance(ui::DecodeUnitText(text)) + kPadding;
    const int width = std::max(tab.skinWidth, needed);
    if (width == button->GetFixedWidth()) return;
    button->SetFixedWidth(width);
    caption->SetFixedWidth(width);
}

std::string TabTitleWithoutCount(const std::string& caption) {
    const std::size_t open = caption.rfind(" (");
    if (open == std::string::npos || caption.back() != ')') return caption;
    for (std::size_t i = open + 2; i + 1 < caption.size(); ++i) {
        if (caption[i] < '0' || caption[i] > '9') return caption;
    }
    return caption.substr(0, open);
}

bool IsModuleTab(std::string_view button) {
    for (const ModuleTab& module : kModuleTabs) {
        if (button == module.button) return true;
    }
    return false;
}

int TabIndexForOption(const TabTable& tabs, std::string_view option) {
    // An unnamed option would match every button; it stands for no page.
    if (option.empty()) return -1;
    for (int i = 0; i <= kLast; ++i) {
        if (Entry(tabs, i).name.find(option) != std::string::npos) return i;
    }
    return -1;
}

bool SelectPageForOption(CPaintManagerUI& paintManager, const TabTable& tabs,
                         std::string_view option) {
    const int index = TabIndexForOption(tabs, option);
    auto* pages = dynamic_cast<CTabLayoutUI*>(paintManager.FindControl("switch"));
    if (index < 0 || !pages) return false;
    return pages->SelectItem(index);
}
