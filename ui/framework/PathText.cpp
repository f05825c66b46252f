#include "ui/framework/PathText.h"

#include <QFile>

namespace quarvel {

QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace quarvel
