#pragma once

#include "store/FileKind.h"

namespace quarvel {

// Command ids, as the menus, the accelerators and the context menus send them. The open commands come
// from the table of kinds.
inline constexpr int IDM_ABOUTBOX = 16;
inline constexpr int ID_ADD_KEY = 32771;
inline constexpr int ID_CHANGE_KEY = 32772;
inline constexpr int ID_REMOVE_KEY = 32773;
inline constexpr int ID_SEARCH = 32774;
inline constexpr int ID_OPEN_FS9CFG = fileKindRow(FileKind::Fs9Cfg).openCommand;
inline constexpr int ID_OPEN_SCENERYCFG = fileKindRow(FileKind::SceneryCfg).openCommand;
inline constexpr int ID_ADD_SECTION = 32778;
inline constexpr int ID_REMOVE_SECTION = 32779;
inline constexpr int ID_OPEN_DEVICESCFG = fileKindRow(FileKind::DevicesCfg).openCommand;
inline constexpr int ID_OPEN_DISPLAYCFG = fileKindRow(FileKind::DisplayCfg).openCommand;
inline constexpr int ID_OPEN_SUNEFFECTCFG = fileKindRow(FileKind::SunEffectCfg).openCommand;
inline constexpr int ID_OPEN_TERRAINCFG = fileKindRow(FileKind::TerrainCfg).openCommand;
inline constexpr int ID_DONATE = 32787;
inline constexpr int ID_OPEN_OTHERFS9CFG = fileKindRow(FileKind::OtherFs9Cfg).openCommand;
inline constexpr int ID_SAVE_FS9CFG_AS = 32789;
inline constexpr int ID_LAUNCH_FS9 = 32790;
inline constexpr int ID_SEARCH_NEXT = 32791;
inline constexpr int ID_EDIT_UNDO = 32792;
inline constexpr int ID_EDIT_REDO = 32793;
inline constexpr int ID_OPEN_AIRCRAFTCFG = fileKindRow(FileKind::AircraftCfg).openCommand;
inline constexpr int ID_APP_EXIT = 57665;

// Resources: dialogs, the application icon, menus and the accelerator table.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_EDITOR_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_MAIN_MENU = 129;
inline constexpr int IDR_ACCELERATORS = 132;
inline constexpr int IDR_KEYLIST_POPUP = 133;
inline constexpr int IDR_SECTIONTREE_POPUP = 134;

// Controls of the main dialog.
inline constexpr int IDC_SECTION_TREE = 1000;
inline constexpr int IDC_KEY_LIST = 1001;
inline constexpr int IDC_SPLITTER = 1002;

} // namespace quarvel
