#include "ui/Control.h"

#include <QFile>
#include <QGroupBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "ui/PaintManager.h"

namespace {
const char* const kControlProperty = "dtuControl";

// The keyboard focus a window owes a control that was disabled while it had it: a command
// button disables itself and its neighbours while it runs, and the focus should neither wander
// off to whatever comes next in the window nor stay lost once the button is back.
class FocusDebt : public QObject {
  public:
    static constexpr const char* kName = "dtuFocusDebt";
    static FocusDebt& Of(QWidget* window) {
        if (auto* debt = window->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly))
            return *static_cast<FocusDebt*>(debt);
        auto* debt = new FocusDebt(window);
        debt->setObjectName(kName);
        return *debt;
    }
    QPointer<QWidget> owner;    // whom the focus goes back to
    QPointer<QWidget> standIn;  // who holds it meanwhile (the window itself when nobody)
    bool cascading = false;     // neighbours disabled in the same turn pass the focus on

  private:
    explicit FocusDebt(QObject* parent) : QObject(parent) {}
};

// The next control after `widget` in the tab order that takes the focus, within its box (the
// group box around it, or its row): the neighbour the engineer would reach with Tab.
QWidget* NextInBox(QWidget* widget) {
    QWidget* box = widget->parentWidget();
    for (QWidget* up = box; up; up = up->parentWidget()) {
        if (qobject_cast<QGroupBox*>(up)) {
            box = up;
            break;
        }
    }
    if (!box) return nullptr;
    for (QWidget* next = widget->nextInFocusChain(); next && next != widget;
         next = next->nextInFocusChain()) {
        if (box->isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(widget->window()) &&
            (next->focusPolicy() & Qt::TabFocus) != 0) {
            return next;
        }
    }
    return nullptr;
}

// Before a focused widget is disabled: the focus goes to its box's next control, else to the
// window, and is owed to the first of a run of such widgets.
void PassFocusOn(QWidget* widget) {
    QWidget* window = widget->window();
    if (window->focusWidget() != widget) return;
    FocusDebt& debt = FocusDebt::Of(window);
    if (!(debt.cascading && debt.standIn == widget)) debt.owner = widget;
    QWidget* next = NextInBox(widget);
    debt.standIn = next ? next : window;
    debt.standIn->setFocus(Qt::OtherFocusReason);
    if (!debt.cascading) {
        debt.cascading = true;
        QTimer::singleShot(0, &debt, [&debt] { debt.cascading = false; });
    }
}

// After a widget is enabled: the focus it is owed comes back, unless the engineer has put it
// elsewhere meanwhile.
void TakeOwedFocus(QWidget* widget) {
    QWidget* window = widget->window();
    auto* found = window->findChild<QObject*>(FocusDebt::kName, Qt::FindDirectChildrenOnly);
    if (!found) return;
    auto& debt = *static_cast<FocusDebt*>(found);
    if (debt.owner != widget) return;
    QWidget* now = window->focusWidget();
    if (!now || now == window || now == debt.standIn) widget->setFocus(Qt::OtherFocusReason);
    debt.owner = nullptr;
    debt.standIn = nullptr;
}

}  // namespace

bool ParseBool(const char* value) {
    return value && std::strcmp(value, "true") == 0;
}

int ParseInt(const char* value, int fallback) {
    if (!value) return fallback;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(value, &end, 10);
    if (end == value || errno == ERANGE || v < -1000000 || v > 1000000) return fallback;
    return static_cast<int>(v);
}

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (manager_) manager_->ForgetControl(this);
    if (QWidget* widget = GetWidget()) {
        widget->setProperty(kControlProperty, QVariant());
        delete widget;
    }
}

QWidget* CControlUI::CreateWidget() {
    return new QWidget();
}

void CControlUI::Realize(const std::function<void(QWidget*)>& place) {
    if (GetWidget() || (manager_ && manager_->IsHeadless())) return;
    QWidget* widget = CreateWidget();
    SetWidget(widget);
    if (!name_.IsEmpty()) widget->setObjectName(QString::fromUtf8(name_.GetData()));
    ApplyMarks();
    ApplyWidth();
    if (fixedHeight_ > 0) widget->setFixedHeight(fixedHeight_);
    if (!enabled_) widget->setEnabled(false);
    if (!visible_) widget->setVisible(false);
    ApplyBkImage();
    if (place) place(widget);
    ApplyState();
}

void CControlUI::SetWidget(QWidget* widget) {
    widget_ = widget;
    widgetGuard_ = widget;
    widget->setProperty(kControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
}

CControlUI* CControlUI::FromWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    QVariant v = widget->property(kControlProperty);
    return v.isValid() ? reinterpret_cast<CControlUI*>(v.value<quintptr>()) : nullptr;
}

void CControlUI::SetName(const CStdString& name) {
    name_ = name;
    if (GetWidget()) GetWidget()->setObjectName(QString::fromUtf8(name.GetData()));
}

void CControlUI::SetText(const CStdString& text) {
    text_ = text;
    ApplyText();
}

void CControlUI::SetVisible(bool visible) {
    visible_ = visible;
    if (GetWidget()) GetWidget()->setVisible(visible);
}

bool CControlUI::IsVisible() const {
    for (const CControlUI* c = this; c; c = c->parent_) {
        if (!c->visible_) return false;
    }
    return true;
}

void CControlUI::SetEnabled(bool enabled) {
    enabled_ = enabled;
    QWidget* widget = GetWidget();
    if (!widget) return;
    if (!enabled) PassFocusOn(widget);
    widget->setEnabled(enabled);
    if (enabled) TakeOwedFocus(widget);
}

void CControlUI::SetPendingMark(bool pending) {
    if (pending == pending_) return;
    pending_ = pending;
    ApplyMarks();
}

void CControlUI::SetProblemMark(const std::string& reason) {
    if (reason == problem_) return;
    problem_ = reason;
    ApplyMarks();
}

void CControlUI::ApplyMarks() {
    QWidget* widget = GetWidget();
    if (!widget) return;
    const QString cls = widget->metaObject()->className();
    // An image stands in for the skin's style.
    QString style = imageStyle_.isEmpty() ? style_ : imageStyle_;
    // The same colours in both skins: amber reads as "not yet on the unit" on either, red as
    // "the unit would refuse it".
    if (pending_) {
        style += QString(
                     " %1 { background-color: #fff1b8; border: 1px solid #d08a00; "
                     "border-left: 5px solid #d08a00; }")
                     .arg(cls);
    }
    if (!problem_.empty()) {
        // A bar drawn by a style sheet loses its centred text unless told.
        const char* align = cls == "QProgressBar" ? " text-align: center;" : "";
        style += QString(" %1 { border: 2px solid #c62828;%2 }").arg(cls, align);
    }
    if (widget->styleSheet() != style) widget->setStyleSheet(style);
    const QString tip = problem_.empty() ? toolTip_ : QString::fromStdString(problem_);
    if (widget->toolTip() != tip) widget->setToolTip(tip);
}

void CControlUI::SetFixedWidth(int width) {
    fixedWidth_ = width;
    ApplyWidth();
}

void CControlUI::SetMinWidth(int width) {
    minWidth_ = width;
    ApplyWidth();
}

void CControlUI::ApplyWidth() {
    QWidget* widget = GetWidget();
    if (!widget || fixedWidth_ <= 0) return;
    if (minWidth_ > 0 && minWidth_ < fixedWidth_) {
        widget->setMinimumWidth(minWidth_);
        widget->setMaximumWidth(fixedWidth_);
    } else {
        widget->setFixedWidth(fixedWidth_);
    }
}

void CControlUI::SetFixedHeight(int height) {
    fixedHeight_ = height;
    if (GetWidget() && height > 0) GetWidget()->setFixedHeight(height);
}

void CControlUI::SetAttribute(const char* name, const char* value) {
    if (!name || !value) return;
    if (std::strcmp(name, "name") == 0) {
        SetName(value);
    } else if (std::strcmp(name, "text") == 0) {
        SetText(value);
    } else if (std::strcmp(name, "height") == 0) {
        SetFixedHeight(ParseInt(value));
    } else if (std::strcmp(name, "width") == 0) {
        SetFixedWidth(ParseInt(value));
    } else if (std::strcmp(name, "minwidth") == 0) {
        SetMinWidth(ParseInt(value));
    } else if (std::strcmp(name, "visible") == 0) {
        SetVisible(ParseBool(value));
    } else if (std::strcmp(name, "enabled") == 0) {
        SetEnabled(ParseBool(value));
    } else if (std::strcmp(name, "bkimage") == 0) {
        SetBkImage(value);
    } else if (std::strcmp(name, "tooltip") == 0) {
        toolTip_ = QString::fromUtf8(value);
        ApplyMarks();
    } else if (std::strcmp(name, "bordercolor") == 0) {
        const char* hex = value[0] == '#' ? value + 1 : value;
        borderColor_ = static_cast<unsigned>(std::strtoul(hex, nullptr, 16));
    } else if (std::strcmp(name, "style") == 0) {
        // A Qt style sheet for this control alone, for the skin's look.
        style_ = QString::fromUtf8(value);
        ApplyMarks();
    }
}

void CControlUI::SetBkImage(const CStdString& image) {
    bkImage_ = image;
    ApplyBkImage();
}

void CControlUI::ApplyBkImage() {
    if (!GetWidget()) return;
    QString path = QString::fromUtf8((CPaintManagerUI::GetResourcePath() + bkImage_).GetData());
    if (bkImage_.IsEmpty() || !QFile::exists(path)) return;
    GetWidget()->setAttribute(Qt::WA_StyledBackground, true);
    QString id = QString("c%1").arg(reinterpret_cast<quintptr>(this), 0, 16);
    GetWidget()->setObjectName(id);
    imageStyle_ = QString("#%1 { border-image: url(%2); }").arg(id, path);
    ApplyMarks();
}

CControlUI* CControlUI::GetParent() const {
    return parent_;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
    if (manager_ && manager_ != manager) manager_->ForgetControl(this);
    manager_ = manager;
    parent_ = parent;
    if (manager_) manager_->NameControl(this);
}

void CControlUI::RaiseNotify(const char* type) {
    if (manager_) manager_->SendNotify(this, type);
}
