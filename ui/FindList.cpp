#include "ui/FindList.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFrame>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>

#include "ui/Control.h"

namespace {

// Long enough to catch the eye after the page switched, short enough not to be in the way.
constexpr int kFlashMs = 900;
constexpr int kFlashMargin = 3;
constexpr int kVisibleRows = 15;
constexpr int kRowPadding = 16;

QLineEdit* LineOf(CControlUI& edit) {
    return qobject_cast<QLineEdit*>(edit.GetWidget());
}

}  // namespace

bool AttachMatchList(CControlUI& edit, MatchLister list, MatchChooser choose) {
    QLineEdit* line = LineOf(edit);
    if (!line) return false;
    auto* model = new QStringListModel(line);
    auto* completer = new QCompleter(model, line);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setMaxVisibleItems(kVisibleRows);
    // Not the line's own completer: that one would put the row's text into the field.
    completer->setWidget(line);
    QObject::connect(
        line, &QLineEdit::textEdited, completer,
        [line, completer, model, list = std::move(list)](const QString& text) {
            QStringList rows;
            for (const std::string& row : list(text.toStdString()))
                rows.append(QString::fromStdString(row));
            model->setStringList(rows);
            if (rows.isEmpty()) {
                completer->popup()->hide();
                return;
            }
            // As wide as the longest row, so a hidden match's reason is read
            // whole; never narrower than the field.
            QAbstractItemView* popup = completer->popup();
            const int wanted = popup->sizeHintForColumn(0) +
                               popup->verticalScrollBar()->sizeHint().width() + kRowPadding;
            completer->complete(QRect(0, 0, std::max(line->width(), wanted), line->height()));
            // Enter at once takes the best match.
            completer->popup()->setCurrentIndex(model->index(0, 0));
        });
    QObject::connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), line,
                     [choose = std::move(choose)](const QModelIndex& index) {
                         if (index.isValid()) choose(index.row());
                     });
    return true;
}

bool AddFindKey(QWidget* window, CControlUI& edit) {
    if (!window || !edit.GetWidget()) return false;
    auto* shortcut = new QShortcut(QKeySequence::Find, window);
    QPointer<QWidget> target = edit.GetWidget();
    QObject::connect(shortcut, &QShortcut::activated, window, [target] {
        if (!target) return;
        target->setFocus(Qt::ShortcutFocusReason);
        if (auto* line = qobject_cast<QLineEdit*>(target.data())) line->selectAll();
    });
    return true;
}

bool FocusAndFlash(CControlUI& control) {
    QWidget* widget = control.GetWidget();
    if (!widget) return false;
    for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) area->ensureWidgetVisible(widget);
    }
    widget->setFocus(Qt::OtherFocusReason);
    // A frame over the control rather than a style on it: the pending-edit mark stays intact.
    QWidget* window = widget->window();
    auto* flash = new QFrame(window);
    flash->setObjectName("FindFlash");
    flash->setAttribute(Qt::WA_TransparentForMouseEvents);
    flash->setStyleSheet("#FindFlash { border: 2px solid #f0a30a; background: transparent; }");
    const QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
    flash->setGeometry(area.adjusted(-kFlashMargin, -kFlashMargin, kFlashMargin, kFlashMargin));
    flash->show();
    flash->raise();
    QTimer::singleShot(kFlashMs, flash, &QObject::deleteLater);
    return true;
}
