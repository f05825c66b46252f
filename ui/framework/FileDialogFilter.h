#pragma once

#include <QString>
#include <QStringList>

namespace quarvel {

// Turns a filter of the form "Description|patterns|Description|patterns||" into Qt's name filters. Each
// entry shows its description followed by its patterns in parentheses, which is where Qt reads them from;
// "*.*" becomes "*", since here a name without a dot is a file like any other.
QStringList toQtNameFilters(const QString& filter);

} // namespace quarvel
