#include "ui/TemplateFont.h"

namespace quarvel {

QFont templateFont() {
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace quarvel
