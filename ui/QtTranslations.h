#pragma once
// Qt's own texts (the file dialog's captions and labels, the standard buttons of message boxes
// and dialogs) in the window's language: Qt's translation catalogue, from a "translations"
// folder beside the program or in its data folder (the Windows folder carries one there), else
// from Qt's own translations (Debian's qt6-translations-l10n).
//
// Threads: UI thread only, after the QApplication exists.
#include <string>
#include <vector>

namespace ui {

// The catalogue's base name for Chinese; English needs none.
inline constexpr const char* kQtChineseCatalogue = "qtbase_zh_CN";

// Replaces Qt's translation with the one for `chinese` (English: none), looking in each of
// `folders` (each ending in a slash) for translations/<catalogue>.qm before Qt's own folder.
// Returns the file loaded, or "" when none was (English, or no catalogue found).
std::string UseQtTranslations(bool chinese, const std::vector<std::string>& folders);

}  // namespace ui
