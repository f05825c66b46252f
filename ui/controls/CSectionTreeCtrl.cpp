#include "ui/controls/CSectionTreeCtrl.h"

#include "ui/framework/Cp1252.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace quarvel {

namespace {

// How many of the names that look widest are measured exactly.
constexpr std::size_t kExactlyMeasured = 32;

struct NameWidth {
    int width;
    int row;
};

} // namespace

CSectionTreeCtrl::CSectionTreeCtrl(QWidget* parent) : QListView(parent), m_model(this) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setModel(&m_model);
    // Styles that draw an inactive selection as an active one would leave nothing to tell the panes by.
    QPalette shades = palette();
    shades.setColor(QPalette::Inactive, QPalette::Highlight, shades.color(QPalette::Active, QPalette::Mid));
    shades.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    shades.color(QPalette::Active, QPalette::Text));
    setPalette(shades);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (m_removing)
            m_movedWhileRemoving = true;
        else
            emit sectionSelected(current.isValid() ? current.row() : kNone);
    });
}

int CSectionTreeCtrl::nextSection(int row) const {
    return holds(row) && holds(row + 1) ? row + 1 : kNone;
}

QString CSectionTreeCtrl::sectionText(int row) const {
    return holds(row) ? decodeCp1252(m_model.name(row)) : QString();
}

void CSectionTreeCtrl::setSections(ProfileFile file) {
    replaceRows(std::move(file));
    m_rowWidth = 0;
    fitRowsToNames(0);
}

int CSectionTreeCtrl::appendSection(const QString& text) {
    const int row = m_model.append(encodeCp1252(text).bytes);
    fitRowsToNames(row);
    return row;
}

void CSectionTreeCtrl::deleteSection(int row) {
    if (!holds(row))
        return;
    // The current row moves on before the row is gone, when its number is still the old one: the move is
    // reported once the rows are numbered anew.
    m_removing = true;
    m_movedWhileRemoving = false;
    m_model.remove(row);
    m_removing = false;
    if (m_movedWhileRemoving)
        emit sectionSelected(currentIndex().isValid() ? currentIndex().row() : kNone);
}

void CSectionTreeCtrl::deleteAllSections() {
    replaceRows(ProfileFile());
}

void CSectionTreeCtrl::replaceRows(ProfileFile file) {
    // A reset drops the current row without a word; the tree reports it like any other change.
    const bool hadCurrent = currentIndex().isValid();
    m_model.reset(std::move(file));
    if (hadCurrent)
        emit sectionSelected(kNone);
}

int CSectionTreeCtrl::selectedSection() const {
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : kNone;
}

void CSectionTreeCtrl::selectSection(int row) {
    if (holds(row))
        setCurrentIndex(m_model.index(row));
}

void CSectionTreeCtrl::scrollToTop(int row) {
    if (holds(row))
        scrollTo(m_model.index(row), QAbstractItemView::PositionAtTop);
}

void CSectionTreeCtrl::scrollIntoView(int row) {
    if (holds(row))
        scrollTo(m_model.index(row), QAbstractItemView::EnsureVisible);
}

int CSectionTreeCtrl::widthForNames() const {
    return m_rowWidth + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QItemSelectionModel::SelectionFlags CSectionTreeCtrl::selectionCommand(const QModelIndex& index,
                                                                       const QEvent* /*event*/) const {
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

void CSectionTreeCtrl::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_rowWidth = 0;
        fitRowsToNames(0);
    }
}

void CSectionTreeCtrl::initViewItemOption(QStyleOptionViewItem* option) const {
    QListView::initViewItemOption(option);
    if (!hasFocus())
        option->state &= ~QStyle::State_Active;
}

void CSectionTreeCtrl::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    viewport()->update();
}

void CSectionTreeCtrl::focusOutEvent(QFocusEvent* event) {
    QListView::focusOutEvent(event);
    viewport()->update();
}

// Widens the rows for the names from the row on. Measuring each of 200,000 names with the font would
// take longer than loading the file, so every name is first measured with a table of its characters'
// widths, and only those that look widest are measured as the view lays them out (kerning included).
void CSectionTreeCtrl::fitRowsToNames(int firstRow) {
    const QFontMetrics metrics(font());
    // Measured when first met: a character the font lacks sends the measure looking through other fonts.
    std::array<int, 256> advance{};
    advance.fill(-1);
    // The widest names so far, the narrowest of them first (a heap).
    std::vector<NameWidth> widest;
    widest.reserve(kExactlyMeasured);
    const auto wider = [](const NameWidth& a, const NameWidth& b) {
        return a.width > b.width;
    };
    for (int row = firstRow; row < sectionCount(); ++row) {
        int width = 0;
        for (const char byte : m_model.name(row)) {
            int& byteWidth = advance[static_cast<unsigned char>(byte)];
            if (byteWidth < 0)
                byteWidth = metrics.horizontalAdvance(decodeCp1252(std::string_view(&byte, 1)));
            width += byteWidth;
        }
        if (widest.size() == kExactlyMeasured) {
            if (width <= widest.front().width)
                continue;
            std::pop_heap(widest.begin(), widest.end(), wider);
            widest.pop_back();
        }
        widest.push_back({width, row});
        std::push_heap(widest.begin(), widest.end(), wider);
    }
    // The rows' own size is set aside while the names are measured as the view would lay them out alone.
    m_model.setRowSize({});
    int rowHeight = 0;
    for (const NameWidth& measured : widest) {
        const QSize exact = sizeHintForIndex(m_model.index(measured.row));
        // The table's width plus the room the view gives around a name: never narrower than the name.
        const int margin = exact.width() - metrics.horizontalAdvance(sectionText(measured.row));
        m_rowWidth = std::max({m_rowWidth, exact.width(), measured.width + margin});
        rowHeight = std::max(rowHeight, exact.height());
    }
    m_model.setRowSize(QSize(m_rowWidth, rowHeight));
    // The view keeps the size of a row until it lays the rows out again.
    scheduleDelayedItemsLayout();
}

} // namespace quarvel
