#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <algorithm>
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

// A bar whose words are cut in their middle to fit it, keeping the step's start and its
// figures: the style would otherwise break them onto a second line the bar has no room for.
class ProgressWidget : public QProgressBar {
  public:
    QString text() const override {
        const QString full = QProgressBar::text();
        const int room = contentsRect().width() - 2 * kProgressTextMargin;
        return room > 0 ? fontMetrics().elidedText(full, Qt::ElideMiddle, room) : full;
    }

  private:
    // The style's frame and padding around the bar's words.
    static constexpr int kProgressTextMargin = 4;
};

class ComboWidget : public QComboBox {
  public:
    explicit ComboWidget(CComboUI* owner) : owner_(owner) {}

  protected:
    void showPopup() override {
        owner_->OnDropDown();
        // An item wider than the box (a port with its by-id name and reason) is read in full;
        // measured here, after "dropdown" may have refilled the list, and not for every list
        // the window builds.
        QAbstractItemView* list = view();
        list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth());
        QComboBox::showPopup();
    }

  private:
    CComboUI* owner_;
};

}  // namespace

// --- CSpacerUI ---

CSpacerUI::CSpacerUI() = default;

// --- CButtonUI ---

CButtonUI::CButtonUI() = default;

QWidget* CButtonUI::CreateWidget() {
    auto* button = new QPushButton();
    QObject::connect(button, &QPushButton::clicked, [this] { OnClicked(); });
    return button;
}

void CButtonUI::ApplyState() {
    ApplyText();
}

void CButtonUI::OnClicked() {
    RaiseNotify("click");
}

void CButtonUI::ApplyText() {
    if (auto* button = static_cast<QPushButton*>(GetWidget())) {
        button->setText(ui::DecodeUnitText(text_.str()));
    }
}

void CButtonUI::ApplyBkImage() {
    auto* button = static_cast<QPushButton*>(GetWidget());
    if (!button) return;
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

COptionUI::COptionUI() = default;

void COptionUI::ApplyState() {
    CButtonUI::ApplyState();
    auto* button = static_cast<QPushButton*>(GetWidget());
    button->setCheckable(true);
    button->setChecked(selected_);
}

void COptionUI::OnClicked() {
    // Qt has toggled the button already; an option of no group is a switch: on or off.
    auto* button = static_cast<QPushButton*>(GetWidget());
    if (group_.IsEmpty()) {
        selected_ = button->isChecked();
        return RaiseNotify("selectchanged");
    }
    Selected(true);
}

void COptionUI::SetAttribute(const char* name, const char* value) {
    if (name && value && std::strcmp(name, "group") == 0) {
        group_ = value;
    } else if (name && value && std::strcmp(name, "selected") == 0) {
        selected_ = ParseBool(value);
        if (auto* button = static_cast<QPushButton*>(GetWidget())) button->setChecked(selected_);
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void COptionUI::Selected(bool selected) {
    selected_ = selected;
    if (auto* button = static_cast<QPushButton*>(GetWidget())) button->setChecked(selected);
    if (!selected) return;
    if (GetManager() && !group_.IsEmpty()) GetManager()->DeselectGroup(group_, this);
    RaiseNotify("selectchanged");
}

// --- CTextUI ---

CTextUI::CTextUI() = default;

QWidget* CTextUI::CreateWidget() {
    auto* label = new QLabel();
    label->setWordWrap(false);
    return label;
}

void CTextUI::ApplyState() {
    ApplyText();
}

void CTextUI::ApplyText() {
    if (auto* label = static_cast<QLabel*>(GetWidget())) {
        label->setText(ui::DecodeUnitText(text_.str()));
    }
}

// --- CProgressUI ---

CProgressUI::CProgressUI() = default;

QWidget* CProgressUI::CreateWidget() {
    auto* bar = new ProgressWidget();
    bar->setRange(0, 100);
    bar->setTextVisible(true);
    return bar;
}

void CProgressUI::ApplyState() {
    SetValue(value_);
    ApplyText();
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

CEditUI::CEditUI() = default;

QWidget* CEditUI::CreateWidget() {
    auto* edit = new EditWidget(this);
    QObject::connect(edit, &QLineEdit::textChanged,
                     [this](const QString& text) { current_ = text; });
    // Enter commits what was typed as leaving the field would, without leaving it.
    QObject::connect(edit, &QLineEdit::returnPressed, [this] { RaiseNotify("return"); });
    return edit;
}

QLineEdit* CEditUI::edit() const {
    return static_cast<QLineEdit*>(GetWidget());
}

void CEditUI::ApplyState() {
    edit()->setReadOnly(readOnly_);
    if (password_) edit()->setEchoMode(QLineEdit::Password);
    edit()->setText(current_);
    edit()->setCursorPosition(0);
}

void CEditUI::ApplyText() {
    shown_ = ui::DecodeUnitText(text_.str());
    current_ = shown_;
    if (!edit()) return;
    edit()->setText(shown_);
    edit()->setCursorPosition(0);
}

CStdString CEditUI::GetText() const {
    if (current_ == shown_) return text_;
    return CStdString(current_.toUtf8().toStdString());
}

void CEditUI::SetAttribute(const char* name, const char* value) {
    if (name && value && std::strcmp(name, "readonly") == 0) {
        SetReadOnly(ParseBool(value));
    } else if (name && value && std::strcmp(name, "password") == 0) {
        password_ = ParseBool(value);
        if (edit()) edit()->setEchoMode(password_ ? QLineEdit::Password : QLineEdit::Normal);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CEditUI::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (edit()) edit()->setReadOnly(readOnly);
}

void CEditUI::OnFocusChanged(bool in) {
    RaiseNotify(in ? "setfocus" : "killfocus");
}

// --- CComboUI ---

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() = default;

QWidget* CComboUI::CreateWidget() {
    auto* combo = new ComboWidget(this);
    QObject::connect(combo, &QComboBox::currentIndexChanged,
                     [this](int index) { OnSelectionChanged(index); });
    return combo;
}

QComboBox* CComboUI::combo() const {
    return static_cast<QComboBox*>(GetWidget());
}

void CComboUI::ApplyState() {
    QSignalBlocker block(combo());
    QStringList texts;
    texts.reserve(GetCount());
    for (const auto& item : items_) texts << ui::DecodeUnitText(item->GetText().str());
    combo()->addItems(texts);
    combo()->setCurrentIndex(selected_);
}

CStdString CComboUI::GetText() const {
    int i = GetCurSel();
    return i < 0 ? CStdString() : items_[static_cast<std::size_t>(i)]->GetText();
}

bool CComboUI::Add(CListLabelElementUI* item) {
    if (!item) return false;
    items_.emplace_back(item);
    if (!combo()) return true;
    // Adding an item must not select it: the list starts with nothing selected.
    QSignalBlocker block(combo());
    combo()->addItem(ui::DecodeUnitText(item->GetText().str()));
    combo()->setCurrentIndex(selected_);
    return true;
}

void CComboUI::RemoveAll() {
    bool had = selected_ >= 0;
    if (combo()) {
        QSignalBlocker block(combo());
        combo()->clear();
    }
    items_.clear();
    selected_ = -1;
    if (had) RaiseNotify("itemselect");
}

CListLabelElementUI* CComboUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}

int CComboUI::GetCurSel() const {
    return selected_;
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (index < -1 || index >= GetCount()) return false;
    const bool changed = index != selected_;
    SelectItemQuietly(index);
    if (takeFocus && combo()) combo()->setFocus();
    if (changed) RaiseNotify("itemselect");
    return true;
}

bool CComboUI::SelectItemQuietly(int index) {
    if (index < -1 || index >= GetCount()) return false;
    selected_ = index;
    if (combo()) {
        QSignalBlocker block(combo());
        combo()->setCurrentIndex(index);
    }
    return true;
}

bool CComboUI::RemoveAt(int index) {
    if (index < 0 || index >= GetCount()) return false;
    items_.erase(items_.begin() + index);
    // As a list box does: the item after a removed selected one (or the last) is selected.
    const int count = GetCount();
    if (index < selected_) {
        --selected_;
    } else if (index == selected_) {
        selected_ = count == 0 ? -1 : std::min(count - 1, index);
    }
    if (combo()) {
        QSignalBlocker block(combo());
        combo()->removeItem(index);
        combo()->setCurrentIndex(selected_);
    }
    return true;
}

void CComboUI::OnSelectionChanged(int index) {
    if (index == selected_) return;
    selected_ = index;
    RaiseNotify("itemselect");
}

void CComboUI::OnDropDown() {
    RaiseNotify("dropdown");
}

// --- CRichEditUI ---

CRichEditUI::CRichEditUI() = default;

QWidget* CRichEditUI::CreateWidget() {
    auto* view = new QPlainTextEdit();
    view->setReadOnly(true);
    view->setUndoRedoEnabled(false);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return view;
}

QPlainTextEdit* CRichEditUI::view() const {
    return static_cast<QPlainTextEdit*>(GetWidget());
}

void CRichEditUI::ApplyState() {
    if (!unshown_.isEmpty()) view()->setPlainText(unshown_);
    unshown_.clear();
    unshown_.squeeze();
    scrolledUp_ ? HomeUp() : EndDown();
}

CStdString CRichEditUI::GetText() const {
    const QString& text = view() ? view()->toPlainText() : unshown_;
    return CStdString(text.toUtf8().toStdString());
}

void CRichEditUI::ApplyText() {
    if (view()) view()->clear();
    unshown_.clear();
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
    Show(shown);
    EndDown();
}

void CRichEditUI::Show(const QString& shown) {
    if (!view()) {
        unshown_ += shown;
        return;
    }
    QTextCursor cursor(view()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown);
}

void CRichEditUI::HomeUp() {
    scrolledUp_ = true;
    if (!view()) return;
    view()->moveCursor(QTextCursor::Start);
    QScrollBar* bar = view()->verticalScrollBar();
    if (bar) bar->setValue(bar->minimum());
}

void CRichEditUI::EndDown() {
    scrolledUp_ = false;
    if (!view()) return;
    QScrollBar* bar = view()->verticalScrollBar();
    if (bar) bar->setValue(bar->maximum());
}
