// The review dialog as the engineer meets it: Enter writes, Esc cancels, a box unchecked keeps
// its row back and the counts follow; a greyed row has no box and is never written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>

#include "ui/ReviewDialog.h"

namespace {

ui::ReviewSpec ThreeRows() {
    ui::ReviewSpec spec;
    spec.counts = "{checked} of {total}";
    spec.writeText = "Write";
    spec.cancelText = "Cancel";
    spec.rows = {
        {"Activation", "AUTO", "SMSD", -1, "", true},
        {"Work mode", "0", "5", 0, "", true},  // the side write of the first row
        {"Main server port", "5001", "7001", -1, "hidden", false},
    };
    return spec;
}

TEST(ReviewDialog, EnterWritesEscCancelsAndTheBoxesSayWhichRows) {
    struct Case {
        const char* what;
        int key;
        bool uncheckFirst;
        bool written;
        std::string counts;  // shown just before the key
        std::vector<bool> checked;
    };
    const Case cases[] = {
        {"Enter", Qt::Key_Return, false, true, "2 of 2", {true, true, false}},
        {"Esc", Qt::Key_Escape, false, false, "2 of 2", {true, true, false}},
        {"one unchecked, Enter", Qt::Key_Return, true, true, "1 of 2", {false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui::ReviewSpec spec = ThreeRows();
        std::string counts;
        int checkable = 0;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            auto* tree = dialog->findChild<QTreeWidget*>("ReviewRows");
            ASSERT_NE(tree, nullptr);
            QTreeWidgetItem* first = tree->topLevelItem(0);
            for (QTreeWidgetItem* item : {first, first->child(0), tree->topLevelItem(1)}) {
                if (item->flags() & Qt::ItemIsUserCheckable) ++checkable;
            }
            if (c.uncheckFirst) first->setCheckState(0, Qt::Unchecked);
            counts = dialog->findChild<QLabel*>("ReviewCounts")->text().toStdString();
            // The key goes where the engineer's focus is: the list of rows.
            tree->setFocus();
            QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
            QApplication::sendEvent(tree, &press);
        });
        // A key that did nothing must fail the case, not hang it.
        bool stuck = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                stuck = true;
                dialog->reject();
            }
        });
        guard.start(5000);
        EXPECT_EQ(ui::RunReviewDialog(spec), c.written);
        EXPECT_FALSE(stuck);
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(checkable, 2);  // the greyed row has no box
        std::vector<bool> checked;
        for (const ui::ReviewRow& row : spec.rows) checked.push_back(row.checked);
        EXPECT_EQ(checked, c.checked);
    }
}

}  // namespace
