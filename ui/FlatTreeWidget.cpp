#include "ui/FlatTreeWidget.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

namespace quarvel {

namespace {

constexpr int kMaxToolTipChars = 2000;

// The tooltip of a cell holding the text: none for an empty cell; text that wraps at the tooltip's width; a
// text too long to read on one screen ends after its first kMaxToolTipChars characters.
QString cellToolTip(const QString& text) {
    if (text.isEmpty())
        return {};
    QString shown = text.left(kMaxToolTipChars);
    if (shown.size() < text.size())
        shown += QChar(0x2026);
    // Always rich text, escaped, so that a cell holding markup shows it as typed. A line of up to a
    // section name's or a short description's length stays one line; a longer one wraps at the tooltip's
    // width, also inside words, instead of running off the screen.
    constexpr int kOneLineChars = 80;
    const QString style = shown.size() <= kOneLineChars ? QStringLiteral("pre") : QStringLiteral("pre-wrap");
    return QStringLiteral("<p style=\"white-space:%1\">%2</p>").arg(style, shown.toHtmlEscaped());
}

} // namespace

FlatTreeWidget::FlatTreeWidget(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setStretchLastSection(false);
}

// The tooltip is made when asked for, from the cell's own text: rows keep no second copy of it.
bool FlatTreeWidget::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex cell = indexAt(help->pos());
    const QString tip = cellToolTip(cell.data(Qt::DisplayRole).toString());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(cell));
    return true;
}

} // namespace quarvel
