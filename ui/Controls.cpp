#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <cstring>

#include "ui/PaintManager.h"
#include "ui/TextCodec.h"

namespace {

class EditWidget : public QLineEdit {
  public:
    explicit EditWidget(CEditUI* owner) : owner_(owner) {}

  protected:
    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        owner_->OnFocusChanged(true);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        owner_->OnFocusChanged(false);
    }

  private:
    CEditUI* owner_;
};

class ComboWidget : public QComboBox {
  public:
    explicit ComboWidget(CComboUI* owner) : owner_(owner) {}

  protected:
    void showPopup() override {
        owner_->OnDropDown();
        QComboBox::showPopup();
    }

  private:
    CComboUI* owner_;
};

}  // namespace

// --- CSpacerUI ---

CSpacerUI::CSpacerUI() {
    SetWidget(new QWidget());
}

// --- CButtonUI ---

CButtonUI::CButtonUI() {
    auto* button = new QPushButton();
    SetWidget(button);
    QObject::connect(button, &QPushButton::clicked, [this] { RaiseNotify("click"); });
}

void CButtonUI::ApplyText() {
    static_cast<QPushButton*>(GetWidget())->setText(ui::DecodeUnitText(text_.str()));
}

void CButtonUI::ApplyBkImage() {
    auto* button = static_cast<QPushButton*>(GetWidget());
    QString path = QString::fromUtf8((CPaintManagerUI::GetResourcePath() + GetBkImage()).GetData());
    if (GetBkImage().IsEmpty() || !QFile::exists(path)) {
        button->setIcon(QIcon());
        return;
    }
    QIcon icon(path);
    button->setIcon(icon);
    QSize size = icon.availableSizes().isEmpty() ? QSize(24, 24) : icon.availableSizes().first();
    button->setIconSize(size);
    button->setFlat(true);
}

// --- COptionUI ---

COptionUI::COptionUI() {
    auto* button = static_cast<QPushButton*>(GetWidget());
    button->setCheckable(true);
    // The base class raises "click"; an option raises "selectchanged" when it is picked.
    QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr);
    // An option of no group is a switch: a click turns it on or off.
    QObject::connect(button, &QPushButton::clicked, [this] {
        if (group_.IsEmpty()) return RaiseNotify("selectchanged");
        Selected(true);
    });
}

void COptionUI::SetAttribute(const char* name, const char* value) {
    if (name && value && std::strcmp(name, "group") == 0) {
        group_ = value;
    } else if (name && value && std::strcmp(name, "selected") == 0) {
        static_cast<QPushButton*>(GetWidget())->setChecked(ParseBool(value));
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void COptionUI::Selected(bool selected) {
    auto* button = static_cast<QPushButton*>(GetWidget());
    button->setChecked(selected);
    if (!selected) return;
    if (GetManager() && !group_.IsEmpty()) GetManager()->DeselectGroup(group_, this);
    RaiseNotify("selectchanged");
}

bool COptionUI::IsSelected() const {
    return static_cast<QPushButton*>(GetWidget())->isChecked();
}

// --- CTextUI ---

CTextUI::CTextUI() {
    auto* label = new QLabel();
    label->setWordWrap(false);
    SetWidget(label);
}

void CTextUI::ApplyText() {
    static_cast<QLabel*>(GetWidget())->setText(ui::DecodeUnitText(text_.str()));
}

// --- CProgressUI ---

CProgressUI::CProgressUI() {
    auto* bar = new QProgressBar();
    bar->setRange(0, 100);
    bar->setTextVisible(true);
    SetWidget(bar);
}

void CProgressUI::SetValue(int percent) {
    value_ = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    if (auto* bar = static_cast<QProgressBar*>(GetWidget())) bar->setValue(value_);
}

void CProgressUI::ApplyText() {
    // The step in words stands on the bar itself: "%p" would only repeat the percentage.
    if (auto* bar = static_cast<QProgressBar*>(GetWidget())) {
        bar->setFormat(ui::DecodeUnitText(text_.str()).replace('%', "%%"));
    }
}

// --- CEditUI ---

CEditUI::CEditUI() {
    SetWidget(new EditWidget(this));
}

QLineEdit* CEditUI::edit() const {
    return static_cast<QLineEdit*>(GetWidget());
}

void CEditUI::ApplyText() {
    shown_ = ui::DecodeUnitText(text_.str());
    edit()->setText(shown_);
    edit()->setCursorPosition(0);
}

CStdString CEditUI::GetText() const {
    if (edit()->text() == shown_) return text_;
    return CStdString(edit()->text().toUtf8().toStdString());
}

void CEditUI::SetAttribute(const char* name, const char* value) {
    if (name && value && std::strcmp(name, "readonly") == 0) {
        SetReadOnly(ParseBool(value));
    } else if (name && value && std::strcmp(name, "password") == 0) {
        edit()->setEchoMode(ParseBool(value) ? QLineEdit::Password : QLineEdit::Normal);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CEditUI::SetReadOnly(bool readOnly) {
    edit()->setReadOnly(readOnly);
}

void CEditUI::OnFocusChanged(bool in) {
    RaiseNotify(in ? "setfocus" : "killfocus");
}

// --- CComboUI ---

CComboUI::CComboUI() {
    auto* combo = new ComboWidget(this);
    SetWidget(combo);
    QObject::connect(combo, &QComboBox::currentIndexChanged, [this] { OnSelectionChanged(); });
}

CComboUI::~CComboUI() = default;

QComboBox* CComboUI::combo() const {
    return static_cast<QComboBox*>(GetWidget());
}

CStdString CComboUI::GetText() const {
    int i = GetCurSel();
    return i < 0 ? CStdString() : items_[static_cast<std::size_t>(i)]->GetText();
}

bool CComboUI::Add(CListLabelElementUI* item) {
    if (!item) return false;
    items_.emplace_back(item);
    // Adding an item must not select it: the list starts with nothing selected.
    QSignalBlocker block(combo());
    int before = combo()->currentIndex();
    combo()->addItem(ui::DecodeUnitText(item->GetText().str()));
    combo()->setCurrentIndex(before);
    // An item wider than the box (a port with its by-id name and reason) is read in full.
    QAbstractItemView* view = combo()->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth());
    return true;
}

void CComboUI::RemoveAll() {
    bool had = GetCurSel() >= 0;
    {
        QSignalBlocker block(combo());
        combo()->clear();
    }
    items_.clear();
    if (had) RaiseNotify("itemselect");
}

CListLabelElementUI* CComboUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}

int CComboUI::GetCurSel() const {
    return combo()->currentIndex();
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (index < -1 || index >= GetCount()) return false;
    combo()->setCurrentIndex(index);
    if (takeFocus) combo()->setFocus();
    return true;
}

bool CComboUI::SelectItemQuietly(int index) {
    if (index < -1 || index >= GetCount()) return false;
    QSignalBlocker block(combo());
    combo()->setCurrentIndex(index);
    return true;
}

bool CComboUI::RemoveAt(int index) {
    if (index < 0 || index >= GetCount()) return false;
    QSignalBlocker block(combo());
    combo()->removeItem(index);
    items_.erase(items_.begin() + index);
    return true;
}

void CComboUI::OnSelectionChanged() {
    if (!filling_) RaiseNotify("itemselect");
}

void CComboUI::OnDropDown() {
    RaiseNotify("dropdown");
}

// --- CRichEditUI ---

CRichEditUI::CRichEditUI() {
    auto* view = new QPlainTextEdit();
    view->setReadOnly(true);
    view->setUndoRedoEnabled(false);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    SetWidget(view);
}

QPlainTextEdit* CRichEditUI::view() const {
    return static_cast<QPlainTextEdit*>(GetWidget());
}

CStdString CRichEditUI::GetText() const {
    return CStdString(view()->toPlainText().toUtf8().toStdString());
}

void CRichEditUI::ApplyText() {
    view()->clear();
    length_ = 0;
    atLineStart_ = true;
    endedWithCr_ = false;
    if (!text_.IsEmpty()) AppendText(text_);
}

void CRichEditUI::AppendText(const CStdString& text) {
    if (text.IsEmpty()) return;
    length_ += text.GetLength();
    const char last = text.str().back();
    atLineStart_ = last == '\n' || last == '\r';
    QString shown = ui::DecodeUnitText(text.str());
    // The LF of a CR LF pair split between two appends ends the line the CR already ended.
    if (endedWithCr_ && shown.startsWith(QChar('\n'))) shown.remove(0, 1);
    endedWithCr_ = last == '\r';
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QChar('\r'), QChar('\n'));
    QTextCursor cursor(view()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown);
    EndDown();
}

void CRichEditUI::HomeUp() {
    view()->moveCursor(QTextCursor::Start);
    QScrollBar* bar = view()->verticalScrollBar();
    if (bar) bar->setValue(bar->minimum());
}

void CRichEditUI::EndDown() {
    QScrollBar* bar = view()->verticalScrollBar();
    if (bar) bar->setValue(bar->maximum());
}
