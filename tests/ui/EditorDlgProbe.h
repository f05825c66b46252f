#pragma once

#include "ui/editor/CEditorDlg.h"

#include <string>

namespace quarvel {

// The main dialog keeps its state to itself and its commands; a test reaches it through a probe, whose
// members are the dialog's own under the same names: probe(dialog).m_strCfgPath.
class EditorDlgProbe {
public:
    explicit EditorDlgProbe(CEditorDlg& dialog)
        : m_bAccelEnabled(dialog.m_bAccelEnabled), m_splitter(dialog.m_splitter), m_tree(dialog.m_tree),
          m_list(dialog.m_list), m_strFs9Path(dialog.m_strFs9Path),
          m_strAircraftCfgPath(dialog.m_strAircraftCfgPath), m_nFoundItem(dialog.m_nFoundItem),
          m_fileopened(dialog.m_fileopened), m_strCfgPath(dialog.m_strCfgPath),
          m_strHelpIni(dialog.m_strHelpIni), m_strSceneryCfgPath(dialog.m_strSceneryCfgPath),
          m_strDevicesCfgPath(dialog.m_strDevicesCfgPath), m_strDisplayCfgPath(dialog.m_strDisplayCfgPath),
          m_strSunEffectCfgPath(dialog.m_strSunEffectCfgPath),
          m_strTerrainCfgPath(dialog.m_strTerrainCfgPath), m_strAircraftFolder(dialog.m_strAircraftFolder),
          m_strFs9CfgPath(dialog.m_strFs9CfgPath), m_osvi(dialog.m_osvi) {}

    int& m_bAccelEnabled;
    CSplitterBar& m_splitter;
    CSectionTreeCtrl& m_tree;
    CKeyListCtrl& m_list;
    std::string& m_strFs9Path;
    std::string& m_strAircraftCfgPath;
    int& m_nFoundItem;
    FileKind& m_fileopened;
    std::string& m_strCfgPath;
    std::string& m_strHelpIni;
    std::string& m_strSceneryCfgPath;
    std::string& m_strDevicesCfgPath;
    std::string& m_strDisplayCfgPath;
    std::string& m_strSunEffectCfgPath;
    std::string& m_strTerrainCfgPath;
    std::string& m_strAircraftFolder;
    std::string& m_strFs9CfgPath;
    platform::WindowsVersion& m_osvi;
};

inline EditorDlgProbe probe(CEditorDlg& dialog) {
    return EditorDlgProbe(dialog);
}

} // namespace quarvel
