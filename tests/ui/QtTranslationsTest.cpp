// Qt's own dialogs speak the interface's language: the message box's and the History list's
// standard buttons and the file dialog's caption and labels are Chinese in the Chinese
// interface, and English again once the English one is chosen.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ui/QtTranslations.h"

namespace {

struct Shown {
    QString ok, cancel, saveCaption, fileNameLabel;
};

Shown WhatQtShows() {
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto* label = dialog.findChild<QLabel*>("fileNameLabel");
    return {buttons.button(QDialogButtonBox::Ok)->text(),
            buttons.button(QDialogButtonBox::Cancel)->text(), dialog.windowTitle(),
            label ? label->text() : QString()};
}

bool HasLatinLetter(const QString& text) {
    // A mnemonic such as "(&N)" is the key, not a word.
    QString words = text;
    words.remove(QRegularExpression("\\(&[A-Z]\\)"));
    return words.contains(QRegularExpression("[A-Za-z]"));
}

TEST(QtTranslations, QtsOwnDialogsFollowTheInterfaceLanguage) {
    const Shown english = {"OK", "Cancel", "Save As", "File &name:"};
    for (const bool chinese : {true, false, true, false}) {
        SCOPED_TRACE(chinese ? "Chinese" : "English");
        const std::string loaded = ui::UseQtTranslations(chinese, {});
        const Shown shown = WhatQtShows();
        if (!chinese) {
            EXPECT_EQ(loaded, "");
            EXPECT_EQ(shown.ok, english.ok);
            EXPECT_EQ(shown.cancel, english.cancel);
            EXPECT_EQ(shown.saveCaption, english.saveCaption);
            EXPECT_EQ(shown.fileNameLabel, english.fileNameLabel);
            continue;
        }
        ASSERT_NE(loaded, "") << "Qt's catalogue " << ui::kQtChineseCatalogue
                              << ".qm was not found (Debian: qt6-translations-l10n)";
        for (const QString& text :
             {shown.ok, shown.cancel, shown.saveCaption, shown.fileNameLabel}) {
            EXPECT_FALSE(text.isEmpty());
            EXPECT_FALSE(HasLatinLetter(text)) << text.toStdString();
        }
    }
    // The Windows folder carries its own copy beside the program: that one comes first.
    const std::string installed = ui::UseQtTranslations(true, {});
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("translations"));
    const QString copy = folder.path() + "/translations/" + ui::kQtChineseCatalogue + ".qm";
    ASSERT_TRUE(QFile::copy(QString::fromStdString(installed), copy));
    EXPECT_EQ(ui::UseQtTranslations(true, {"/nowhere/", folder.path().toStdString() + "/"}),
              copy.toStdString());
    ui::UseQtTranslations(false, {});
}

}  // namespace
