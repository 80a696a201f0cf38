#include "ui/WindowIcon.h"

#include <QFileInfo>
#include <QString>

#include "ui/PaintManager.h"

namespace ui {

namespace {
// The sizes the skin generator draws.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
}  // namespace

QIcon SkinWindowIcon() {
    const QString folder = QString::fromUtf8(CPaintManagerUI::GetResourcePath().GetData());
    QIcon icon;
    for (int size : kIconSizes) {
        const QString file = folder + QString("dtuconfig_%1.png").arg(size);
        if (QFileInfo::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}

}  // namespace ui
