#include "cli/CliDialogs.h"

#include <cstdio>
#include <filesystem>

int CliDialogs::ShowMessageBox(const CStdString& text, const CStdString& caption, UINT) {
    std::fprintf(stderr, "dtuconfig: %s: %s\n", caption.GetData(), text.GetData());
    return IDOK;
}

bool CliDialogs::GetOpenFileName(const ui::FileDialogSpec& spec, CStdString* path) {
    if (openPath.empty()) return false;
    std::error_code ec;
    if (spec.mustExist && !std::filesystem::exists(openPath, ec)) return false;
    *path = CStdString(openPath);
    return true;
}

bool CliDialogs::GetSaveFileName(const ui::FileDialogSpec&, CStdString* path) {
    if (savePath.empty()) return false;
    *path = CStdString(savePath);
    return true;
}
