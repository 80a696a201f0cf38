#include "ui/PaintManager.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <filesystem>

#include "ui/Control.h"
#include "ui/Controls.h"
#include "ui/UiThread.h"
#include "ui/Window.h"

namespace {

CStdString& InstancePath() {
    static CStdString path;
    return path;
}

CStdString& ResourcePath() {
    static CStdString path;
    return path;
}

CStdString WithSlash(const CStdString& path) {
    if (path.IsEmpty() || path.Right(1) == "/") return path;
    return path + "/";
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI() {
    CControlUI* root = root_;
    root_ = nullptr;
    delete root;
}

void CPaintManagerUI::SetInstancePath(const CStdString& path) {
    InstancePath() = WithSlash(path);
}
CStdString CPaintManagerUI::GetInstancePath() {
    return InstancePath();
}
void CPaintManagerUI::SetResourcePath(const CStdString& path) {
    ResourcePath() = WithSlash(path);
}
CStdString CPaintManagerUI::GetResourcePath() {
    return ResourcePath();
}

void CPaintManagerUI::Init(CWindowWnd* window) {
    window_ = window;
    if (window) headless_ = window->IsHeadless();
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
    if (!root) return false;
    delete root_;
    root_ = root;
    root->SetManager(this, nullptr);
    if (window_ && window_->GetHWND() && !headless_) {
        QWidget* host = window_->GetHWND();
        if (!host->layout()) {
            auto* layout = new QVBoxLayout(host);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
        }
        root->Realize([host](QWidget* widget) { host->layout()->addWidget(widget); });
    }
    // As a window's first paint would: tell the notifiers the window is ready.
    std::weak_ptr<int> alive = alive_;
    ui::PostToUiThread([this, root, alive] {
        if (alive.lock() && root_ == root) SendNotify(root, "windowinit");
    });
    return true;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
    if (!notifier || std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end())
        return false;
    notifiers_.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
    auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
    if (it == notifiers_.end()) return false;
    notifiers_.erase(it);
    return true;
}

CControlUI* CPaintManagerUI::FindControl(std::string_view name) const {
    auto it = names_.find(name);
    return it == names_.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindControl(POINT point) const {
    if (!window_ || !window_->GetHWND()) return nullptr;
    for (QWidget* w = window_->GetHWND()->childAt(point.x, point.y); w; w = w->parentWidget()) {
        if (CControlUI* control = CControlUI::FromWidget(w)) return control;
    }
    return nullptr;
}

bool CPaintManagerUI::MessageHandler(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

int CPaintManagerUI::MessageLoop() {
    return QApplication::exec();
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const char* type, WPARAM wParam,
                                 LPARAM lParam) {
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    // A notifier may remove itself or others while being notified.
    std::vector<INotifyUI*> notifiers = notifiers_;
    for (INotifyUI* n : notifiers) {
        if (std::find(notifiers_.begin(), notifiers_.end(), n) != notifiers_.end()) n->Notify(msg);
    }
}

void CPaintManagerUI::NameControl(CControlUI* control) {
    if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) {
        controls_.push_back(control);
    }
    CStdString name = control->GetName();
    if (name.IsEmpty()) return;
    auto range = names_.equal_range(name.str());
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == control) return;
    }
    names_.emplace(name.str(), control);
}

void CPaintManagerUI::ForgetControl(CControlUI* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    for (auto it = names_.begin(); it != names_.end();) {
        it = it->second == control ? names_.erase(it) : std::next(it);
    }
}

std::vector<CControlUI*> CPaintManagerUI::NamedControls() const {
    std::vector<CControlUI*> named;
    for (CControlUI* c : controls_) {
        if (!c->GetName().IsEmpty()) named.push_back(c);
    }
    return named;
}

void CPaintManagerUI::DeselectGroup(const CStdString& group, COptionUI* keep) {
    for (CControlUI* c : controls_) {
        auto* option = dynamic_cast<COptionUI*>(c);
        if (option && option != keep && option->GetGroup() == group && option->IsSelected()) {
            option->Selected(false);
        }
    }
}
