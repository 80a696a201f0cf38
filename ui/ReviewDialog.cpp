#include "ui/ReviewDialog.h"

#include <QApplication>
#include <QBrush>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

namespace ui {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Fill(const std::string& name, const std::string& value, std::string* text) {
    const std::string mark = "{" + name + "}";
    for (std::size_t at = text->find(mark); at != std::string::npos; at = text->find(mark, at)) {
        text->replace(at, mark.size(), value);
        at += value.size();
    }
}

}  // namespace

std::string ReviewCounts(const ReviewSpec& spec) {
    int checked = 0;
    int total = 0;
    for (const ReviewRow& row : spec.rows) {
        if (!row.notWritten.empty()) continue;
        ++total;
        if (row.checked) ++checked;
    }
    std::string text = spec.counts;
    Fill("checked", std::to_string(checked), &text);
    Fill("total", std::to_string(total), &text);
    return text;
}

bool RunReviewDialog(ReviewSpec& spec) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName("ReviewDialog");
    dialog.setWindowTitle(Utf8(spec.caption));
    dialog.resize(720, 420);
    auto* layout = new QVBoxLayout(&dialog);
    auto* tree = new QTreeWidget(&dialog);
    tree->setObjectName("ReviewRows");
    tree->setColumnCount(3);
    tree->setHeaderLabels({Utf8(spec.labelHeader), Utf8(spec.unitHeader), Utf8(spec.newHeader)});
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setRootIsDecorated(false);
    auto* counts = new QLabel(&dialog);
    counts->setObjectName("ReviewCounts");

    std::vector<QTreeWidgetItem*> items;
    for (const ReviewRow& row : spec.rows) {
        QTreeWidgetItem* parent = row.cause >= 0 && row.cause < static_cast<int>(items.size())
                                      ? items[static_cast<std::size_t>(row.cause)]
                                      : nullptr;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, Utf8(row.label));
        item->setText(1, Utf8(row.unitValue));
        item->setText(2, Utf8(row.newValue));
        if (row.notWritten.empty()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));
            item->setText(2, Utf8(row.newValue) + "  (" + Utf8(row.notWritten) + ")");
            for (int c = 0; c < 3; ++c) item->setToolTip(c, Utf8(row.notWritten));
        }
        items.push_back(item);
    }
    tree->expandAll();
    const auto showCounts = [&] {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (spec.rows[i].notWritten.empty()) {
                spec.rows[i].checked = items[i]->checkState(0) == Qt::Checked;
            }
        }
        counts->setText(Utf8(ReviewCounts(spec)));
    };
    showCounts();
    QObject::connect(tree, &QTreeWidget::itemChanged, &dialog,
                     [&](QTreeWidgetItem*, int) { showCounts(); });

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* write = buttons->addButton(Utf8(spec.writeText), QDialogButtonBox::AcceptRole);
    buttons->addButton(Utf8(spec.cancelText), QDialogButtonBox::RejectRole);
    write->setObjectName("ReviewWrite");
    write->setDefault(true);  // Enter writes; Esc rejects, as every dialog's does
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(tree);
    layout->addWidget(counts);
    layout->addWidget(buttons);
    write->setFocus();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    showCounts();
    return accepted;
}

}  // namespace ui
