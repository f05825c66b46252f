#include "ui/framework/ControlLayout.h"

namespace quarvel {

void ControlLayout::record(const WinRect& tree, const WinRect& splitter, const WinRect& list,
                           const WinRect& client) {
    m_treeLeft = tree.left;
    m_treeTop = tree.top;
    m_treeSplitterGap = splitter.left - tree.right;
    m_treeBottomMargin = client.bottom - tree.bottom;
    m_splitterListGap = list.left - splitter.right;
    m_listRightMargin = client.right - list.right;
    m_listTop = list.top;
    m_listBottomMargin = client.bottom - list.bottom;
    m_splitterTop = splitter.top;
    m_splitterBottomMargin = client.bottom - splitter.bottom;
    m_recorded = true;
}

ControlLayout::Placement ControlLayout::apply(const WinRect& splitter, const WinRect& client) const {
    Placement placement;
    placement.tree = {m_treeLeft, m_treeTop, splitter.left - m_treeSplitterGap,
                      client.bottom - m_treeBottomMargin};
    placement.list = {splitter.right + m_splitterListGap, m_listTop, client.right - m_listRightMargin,
                      client.bottom - m_listBottomMargin};
    placement.splitter = {placement.tree.right + m_treeSplitterGap, m_splitterTop,
                          placement.list.left - m_splitterListGap, client.bottom - m_splitterBottomMargin};
    return placement;
}

} // namespace quarvel
