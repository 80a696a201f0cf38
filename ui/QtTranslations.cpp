#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace ui {

namespace {

std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

}  // namespace

std::string UseQtTranslations(bool chinese, const std::vector<std::string>& folders) {
    if (Installed()) {
        QCoreApplication::removeTranslator(Installed().get());
        Installed().reset();
    }
    if (!chinese || !QCoreApplication::instance()) return {};
    QStringList places;
    for (const std::string& folder : folders) {
        places << QString::fromStdString(folder) + "translations";
    }
    places << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>();
    for (const QString& place : places) {
        const QString file = place + "/" + kQtChineseCatalogue + ".qm";
        if (!QFileInfo::exists(file) || !translator->load(file)) continue;
        QCoreApplication::installTranslator(translator.get());
        Installed() = std::move(translator);
        return file.toStdString();
    }
    return {};
}

}  // namespace ui
