#pragma once
// The leaf controls of the skin: buttons, option buttons, texts, edits, combo boxes and the
// rich edit that serves as the log view.
//
// Threads: UI thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Control.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// An empty control: a spacer that takes up room in a layout.
class CSpacerUI : public CControlUI {
  public:
    CSpacerUI();
};

// Raises "click".
class CButtonUI : public CControlUI {
  public:
    CButtonUI();
    const char* GetClass() const override { return "ButtonUI"; }

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void ApplyText() override;
    void ApplyBkImage() override;
    // A click on the widget.
    virtual void OnClicked();
};

// A button that stays selected; options of one group select one another out. Raises
// "selectchanged" when it becomes selected.
class COptionUI : public CButtonUI {
  public:
    COptionUI();
    const char* GetClass() const override { return "OptionUI"; }
    void SetAttribute(const char* name, const char* value) override;
    // Selects or deselects; selecting deselects the other options of the group.
    void Selected(bool selected);
    bool IsSelected() const { return selected_; }
    CStdString GetGroup() const { return group_; }

  protected:
    void ApplyState() override;
    void OnClicked() override;

  private:
    CStdString group_;
    bool selected_ = false;
};

class CTextUI : public CControlUI {
  public:
    CTextUI();
    const char* GetClass() const override { return "TextUI"; }

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void ApplyText() override;
};

// A progress bar from 0 to 100 with a text of its own on it; the state lives here, the widget
// shows it.
class CProgressUI : public CControlUI {
  public:
    CProgressUI();
    const char* GetClass() const override { return "ProgressUI"; }
    // Clamped to 0..100.
    void SetValue(int percent);
    int GetValue() const { return value_; }

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void ApplyText() override;

  private:
    int value_ = 0;
};

// A one-line text field. The text it was given is handed back byte for byte as long as the
// user does not edit it, even when it is not valid UTF-8 (it is then shown decoded as GBK).
// Raises "setfocus", "killfocus" and, on Enter, "return".
class CEditUI : public CControlUI {
  public:
    CEditUI();
    const char* GetClass() const override { return "EditUI"; }
    CStdString GetText() const override;
    void SetAttribute(const char* name, const char* value) override;
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return readOnly_; }
    bool IsPassword() const { return password_; }

    // Focus events, raised by the widget.
    void OnFocusChanged(bool in);

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void ApplyText() override;

  private:
    QLineEdit* edit() const;
    QString shown_;    // text_ as shown
    QString current_;  // what the field holds now, the user's edits included
    bool readOnly_ = false;
    bool password_ = false;
};

// An item of a combo box's list.
class CListLabelElementUI {
  public:
    explicit CListLabelElementUI(CStdString text = {}) : text_(std::move(text)) {}
    CStdString GetText() const { return text_; }
    void SetText(const CStdString& text) { text_ = text; }
    // An item that stands for a value of the unit's the list has no item for: its bytes.
    bool IsUnitValue() const { return unitValue_.has_value(); }
    const std::string& UnitValue() const { return *unitValue_; }
    void SetUnitValue(std::string value) { unitValue_ = std::move(value); }

  private:
    CStdString text_;
    std::optional<std::string> unitValue_;
};

// A drop-down list. Raises "itemselect" whenever the selection changes, by the user or by
// SelectItem, and "dropdown" when the list opens. Starts with no item selected unless the
// skin selects one.
class CComboUI : public CControlUI {
  public:
    CComboUI();
    ~CComboUI() override;
    const char* GetClass() const override { return "ComboUI"; }
    // The selected item's text, or empty when none is selected.
    CStdString GetText() const override;

    // Appends an item (owned by the combo).
    bool Add(CListLabelElementUI* item);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(items_.size()); }
    CListLabelElementUI* GetItemAt(int index) const;
    // The selected index, -1 when none.
    int GetCurSel() const;
    // Selects index (-1 clears the selection); false for an index out of range.
    bool SelectItem(int index, bool takeFocus = false);
    // As SelectItem, without raising "itemselect" (the form being filled, not a pick).
    bool SelectItemQuietly(int index);
    // Removes the item at index; false when there is none. Raises nothing.
    bool RemoveAt(int index);

    // A pick in the widget and the list opening, raised by the widget.
    void OnSelectionChanged(int index);
    void OnDropDown();

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;

  private:
    QComboBox* combo() const;
    std::vector<std::unique_ptr<CListLabelElementUI>> items_;
    int selected_ = -1;
};

// A read-only multi-line text that is appended to; used for the log and the help text.
class CRichEditUI : public CControlUI {
  public:
    CRichEditUI();
    const char* GetClass() const override { return "RichEditUI"; }
    CStdString GetText() const override;
    // Appends at the end (no undo) and scrolls there; CR LF pairs and lone CRs become line breaks.
    void AppendText(const CStdString& text);
    // Characters held; counted as appended, so the limit works on what the program put in.
    int GetTextLength() const { return length_; }
    int GetLimitText() const { return limit_; }
    void SetLimitText(int limit) { limit_ = limit; }
    // True while the view is empty or its text ends with a line end.
    bool AtLineStart() const { return atLineStart_; }
    void EndDown();
    // Shows the beginning of the text.
    void HomeUp();

  protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;
    void ApplyText() override;

  private:
    QPlainTextEdit* view() const;
    // Adds text as shown to the widget, or keeps it until there is one.
    void Show(const QString& shown);
    QString unshown_;          // what was appended before the widget was made
    bool scrolledUp_ = false;  // HomeUp was the last scroll asked for
    int length_ = 0;
    int limit_ = 64000;
    bool atLineStart_ = true;
    bool endedWithCr_ = false;  // a CR LF pair may come in two appends
};
