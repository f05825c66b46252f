#include "ui/framework/AppIcon.h"

#include <QFile>
#include <QString>

#include <array>

namespace quarvel {

QIcon loadAppIcon() {
    static constexpr std::array kSizes{16, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    for (const int size : kSizes) {
        const QString file = QStringLiteral(":/icons/quarvel-%1.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}

} // namespace quarvel
