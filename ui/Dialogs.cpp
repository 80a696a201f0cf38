#include "ui/Dialogs.h"

#include "ui/ReviewDialog.h"
#include "ui/TextCodec.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <atomic>

namespace ui {

namespace {

class QtDialogs : public IDialogs {
  public:
    int ShowMessageBox(const CStdString& text, const CStdString& caption, UINT flags) override {
        QMessageBox box;
        box.setText(ui::DecodeUnitText(text.str()));
        box.setWindowTitle(ui::DecodeUnitText(caption.str()));
        switch (flags & 0xF0) {
            case MB_ICONERROR:
                box.setIcon(QMessageBox::Critical);
                break;
            case MB_ICONWARNING:
                box.setIcon(QMessageBox::Warning);
                break;
            case MB_ICONINFORMATION:
                box.setIcon(QMessageBox::Information);
                break;
            default:
                break;
        }
        switch (flags & 0x0F) {
            case MB_OKCANCEL:
                box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
                break;
            case MB_YESNO:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
                break;
            default:
                box.setStandardButtons(QMessageBox::Ok);
                break;
        }
        if ((flags & MB_DEFBUTTON2) != 0) {
            box.setDefaultButton((flags & 0x0F) == MB_YESNO ? QMessageBox::No
                                                            : QMessageBox::Cancel);
        }
        switch (box.exec()) {
            case QMessageBox::Cancel:
                return IDCANCEL;
            case QMessageBox::Yes:
                return IDYES;
            case QMessageBox::No:
                return IDNO;
            default:
                return IDOK;
        }
    }

    bool GetOpenFileName(const FileDialogSpec& spec, CStdString* path) override {
        return Run(spec, path, QFileDialog::AcceptOpen);
    }
    bool GetSaveFileName(const FileDialogSpec& spec, CStdString* path) override {
        return Run(spec, path, QFileDialog::AcceptSave);
    }
    bool ReviewWrites(ReviewSpec& spec) override { return RunReviewDialog(spec); }
    bool ChooseItem(const std::string& caption, const std::string& prompt,
                    const std::vector<std::string>& items, int* chosen) override {
        QStringList texts;
        for (const std::string& item : items) texts << QString::fromStdString(item);
        bool ok = false;
        const QString text =
            QInputDialog::getItem(QApplication::activeWindow(), QString::fromStdString(caption),
                                  QString::fromStdString(prompt), texts, 0, false, &ok);
        *chosen = static_cast<int>(texts.indexOf(text));
        return ok && *chosen >= 0;
    }

    bool AskText(const std::string& caption, const std::string& prompt,
                 std::string* text) override {
        bool ok = false;
        const QString typed = QInputDialog::getText(
            QApplication::activeWindow(), QString::fromStdString(caption),
            QString::fromStdString(prompt), QLineEdit::Normal, QString::fromStdString(*text), &ok);
        if (ok) *text = typed.toStdString();
        return ok;
    }

  private:
    static bool Run(const FileDialogSpec& spec, CStdString* path, QFileDialog::AcceptMode mode) {
        QFileDialog dialog(QApplication::activeWindow());
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        // The save dialog replaces an existing file without asking, as the program always did.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        QStringList filters;
        for (const auto& f : spec.filters) filters << QString::fromStdString(NameFilterText(f));
        dialog.setNameFilters(filters);
        if (spec.selectedFilter >= 0 && spec.selectedFilter < filters.size()) {
            dialog.selectNameFilter(filters[spec.selectedFilter]);
        }
        dialog.setDirectory(QString::fromUtf8(spec.initialFolder));
        dialog.selectFile(QString::fromUtf8(spec.initialName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        *path = CStdString(dialog.selectedFiles().first().toUtf8().toStdString());
        return true;
    }
};

QtDialogs& QtInstance() {
    static QtDialogs dialogs;
    return dialogs;
}

std::atomic<IDialogs*> current{nullptr};

}  // namespace

std::string NameFilterText(const FileFilter& filter) {
    const std::string shown = "(" + filter.pattern + ")";
    const std::string& text = filter.description;
    // A description naming its pattern already is the filter as it stands.
    if (text.size() >= shown.size() &&
        text.compare(text.size() - shown.size(), shown.size(), shown) == 0)
        return text;
    return text + " " + shown;
}

IDialogs& Dialogs() {
    IDialogs* d = current.load();
    return d ? *d : QtInstance();
}

IDialogs* SetDialogs(IDialogs* dialogs) {
    return current.exchange(dialogs);
}

int MessageBox(const CStdString& text, const CStdString& caption, UINT flags, SendGate* gate) {
    return static_cast<int>(ui::RunOnUiThread(
        [&] { return static_cast<std::intptr_t>(Dialogs().ShowMessageBox(text, caption, flags)); },
        {gate}));
}

}  // namespace ui
