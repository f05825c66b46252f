#pragma once

#include "ui/framework/WinRect.h"

namespace quarvel {

// Where the main dialog's tree, splitter bar and list go. The margins and gaps are measured once from the
// controls as the template placed them; afterwards the splitter bar's current place and the client area
// decide everything, so the tree keeps its width, the list takes the rest and all bottoms follow.
class ControlLayout {
public:
    struct Placement {
        WinRect tree;
        WinRect list;
        WinRect splitter;
    };

    void record(const WinRect& tree, const WinRect& splitter, const WinRect& list, const WinRect& client);
    bool recorded() const { return m_recorded; }

    // Computed from the recorded margins alone, never from the panes' current sizes, so that a pane that
    // was squeezed to nothing cannot push the others out of place.
    Placement apply(const WinRect& splitter, const WinRect& client) const;

private:
    bool m_recorded = false;
    int m_treeLeft = 0;
    int m_treeTop = 0;
    int m_treeSplitterGap = 0;
    int m_treeBottomMargin = 0;
    int m_splitterListGap = 0;
    int m_listRightMargin = 0;
    int m_listTop = 0;
    int m_listBottomMargin = 0;
    int m_splitterTop = 0;
    int m_splitterBottomMargin = 0;
};

} // namespace quarvel
