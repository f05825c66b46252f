#include "ui/framework/FileDialogFilter.h"

namespace quarvel {

namespace {

QString withoutTrailingPatterns(QString description) {
    description = description.trimmed();
    if (description.endsWith(QLatin1Char(')'))) {
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            description.truncate(open);
    }
    return description.trimmed();
}

QString qtPatterns(const QString& patterns) {
    QStringList converted;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        converted << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return converted.join(QLatin1Char(' '));
}

} // namespace

QStringList toQtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        filters << QStringLiteral("%1 (%2)").arg(withoutTrailingPatterns(parts[i]), patterns);
    }
    return filters;
}

} // namespace quarvel
