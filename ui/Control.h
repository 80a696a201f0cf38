#pragma once
// CControlUI: a named control of a skin. Its state lives here; the Qt widget that shows it is
// made only when Realize is called (a window's shown part), so a page never shown and the
// headless command line cost no widgets. Every control of the form derives from it; the
// program finds them by name through the paint manager.
//
// Threads: UI thread only.
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>

#include "ui/StdString.h"

class QWidget;
class CContainerUI;
class CPaintManagerUI;

class CControlUI {
  public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // The class name the program tests with GetClass ("ButtonUI", "TextUI", ...).
    virtual const char* GetClass() const { return "ControlUI"; }

    CStdString GetName() const { return name_; }
    void SetName(const CStdString& name);

    virtual CStdString GetText() const { return text_; }
    virtual void SetText(const CStdString& text);

    // Hides or shows the control; a container hides with its content.
    virtual void SetVisible(bool visible);
    // True when the control and every container around it are visible, whether or not the
    // window is on screen yet.
    bool IsVisible() const;
    bool IsOwnVisible() const { return visible_; }

    virtual void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }

    // Marks the control as holding a value the unit does not hold yet: a tinted background and
    // a thick left edge, on top of the skin's own style.
    void SetPendingMark(bool pending);
    bool HasPendingMark() const { return pending_; }
    // Marks the control as holding a value the unit would refuse, `reason` (UTF-8) as its tool
    // tip: a red frame, on top of the other marks. An empty reason takes the mark away.
    void SetProblemMark(const std::string& reason);
    const std::string& ProblemMark() const { return problem_; }

    // Applies one skin attribute ("height", "width", "text", "visible", "enabled", "bkimage",
    // "tooltip", ...); an unknown attribute is ignored.
    virtual void SetAttribute(const char* name, const char* value);

    int GetFixedWidth() const { return fixedWidth_; }
    int GetFixedHeight() const { return fixedHeight_; }
    void SetFixedWidth(int width);
    // The least width a control with a fixed width may give up to a narrow window ("minwidth"):
    // its fixed width becomes its greatest. 0: the fixed width holds.
    void SetMinWidth(int width);
    void SetFixedHeight(int height);

    // The background image name is kept as text: for the channel switches it is their state.
    CStdString GetBkImage() const { return bkImage_; }
    void SetBkImage(const CStdString& image);
    unsigned GetBorderColor() const { return borderColor_; }

    CControlUI* GetParent() const;
    CPaintManagerUI* GetManager() const { return manager_; }
    // Attaches this control (and, for containers, its content) to a paint manager.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // The widget, or null while the control is not realized (or its window deleted it).
    QWidget* GetWidget() const { return widgetGuard_ ? widget_ : nullptr; }
    // Makes the widget (a container's: with its content's) showing the control's current state;
    // does nothing when it exists or the manager is headless. `place`, when given, puts the new
    // widget where it belongs before the content is made: a subtree that gets its parent only
    // when complete has the parent's style inherited down all of it again.
    void Realize(const std::function<void(QWidget*)>& place = {});
    // The control a widget stands for, or null.
    static CControlUI* FromWidget(const QWidget* widget);

  protected:
    // Makes the bare widget; Realize then shows the state in it.
    virtual QWidget* CreateWidget();
    // Shows the subclass's own state in a widget just made.
    virtual void ApplyState() {}
    // Raises a notification to the paint manager's notifiers, when attached.
    void RaiseNotify(const char* type);
    virtual void ApplyText() {}
    virtual void ApplyBkImage();
    // The skin's style with the marks the control carries, and its tool tip or the problem.
    void ApplyMarks();

    CStdString text_;

  private:
    void SetWidget(QWidget* widget);

    CStdString name_;
    CStdString bkImage_;
    QWidget* widget_ = nullptr;
    QPointer<QObject> widgetGuard_;  // cleared when Qt deletes the widget with its window
    CPaintManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    bool pending_ = false;
    std::string problem_;
    QString style_;       // the skin's own style sheet
    QString imageStyle_;  // the background image's, which stands in for it
    QString toolTip_;
    // Puts the fixed width, or the range from the least width to it, on the widget.
    void ApplyWidth();

    int fixedWidth_ = 0;
    int minWidth_ = 0;
    int fixedHeight_ = 0;
    unsigned borderColor_ = 0;
};

// Attribute values: "true"/"false", integers and "a,b,c,d" rectangles, read leniently.
bool ParseBool(const char* value);
int ParseInt(const char* value, int fallback = 0);
