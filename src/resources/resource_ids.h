// Every numbered resource of the program, named once: dialog templates,
// their controls, the menu and its commands, the icons and the bitmap. The
// templates, the dialog classes and the screenshots all use these names.
// Ids of controls are unique within their template; two templates may use
// one number for different controls.
#pragma once

namespace tenji::resources {

// Dialog templates.
inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_DOT_SPACING = 130;
inline constexpr int IDD_PORT_SETTINGS = 132;
inline constexpr int IDD_FIT_WARNING = 138;
inline constexpr int IDD_PRINTING = 139;
inline constexpr int IDD_COPIES = 140;
inline constexpr int IDD_PITCH_TEST = 142;
inline constexpr int IDD_PAGE_RANGE = 143;
inline constexpr int IDD_PREVIEW = 150;
inline constexpr int IDD_PORT_DEVICES = 151;

// Menu, bitmap and icons.
inline constexpr int IDR_MAIN_MENU = 129;
inline constexpr int IDB_GEOMETRY = 137;
inline constexpr int IDI_BIG = 146;
inline constexpr int IDI_SMALL = 147;

// The standard buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Main window (102): its four buttons.
inline constexpr int IDC_MAIN_EXIT = 1000;
inline constexpr int IDC_MAIN_PORT_SETTINGS = 1001;
inline constexpr int IDC_MAIN_DOT_SPACING = 1002;
inline constexpr int IDC_MAIN_PRINT = 1007;
inline constexpr int IDC_MAIN_STATUS = 1008;  // how the last print ended; takes the focus
inline constexpr int IDC_MAIN_PREVIEW = 1009;

// Version (100).
inline constexpr int IDC_ABOUT_SETTINGS = 1050;  // the settings file in use
inline constexpr int IDC_ABOUT_VERSION = 1051;   // "Version 0.1.0"

// Dot-spacing settings (130).
inline constexpr int IDC_TEN_HEIGHT = 1001;
inline constexpr int IDC_TEN_WIDTH = 1002;
inline constexpr int IDC_MASU_BETWEEN = 1003;
inline constexpr int IDC_GYO_BETWEEN = 1004;
inline constexpr int IDC_TEN_KIND = 1005;
inline constexpr int IDC_PAPER_SIZE = 1006;
inline constexpr int IDC_SPACING_PRINT = 1007;
inline constexpr int IDC_LOAD_SETTINGS = 1009;
inline constexpr int IDC_SAVE_SETTINGS = 1010;
inline constexpr int IDC_START_X = 1011;
inline constexpr int IDC_START_Y = 1013;
inline constexpr int IDC_END_X = 1014;
inline constexpr int IDC_END_Y = 1015;
inline constexpr int IDC_SHOW_TEN_HEIGHT = 1022;
inline constexpr int IDC_SHOW_MASU_BETWEEN = 1023;
inline constexpr int IDC_SHOW_TEN_WIDTH = 1024;
inline constexpr int IDC_SHOW_GYO_BETWEEN = 1025;
inline constexpr int IDC_CAPACITY = 1026;

// ＯＫ and キャンセル of the dot-spacing and port settings (130, 132).
inline constexpr int IDC_SETTINGS_CANCEL = 1008;
inline constexpr int IDC_SETTINGS_OK = 1012;

// Port settings (132).
inline constexpr int IDC_PORT_LIST = 1009;
inline constexpr int IDC_SPEED_LIST = 1010;
inline constexpr int IDC_PORT_DEVICE = 1070;      // "ｃｏｍ３: USB シリアル …" for the selected number
inline constexpr int IDC_PORT_ASSIGN = 1071;      // opens the device list (where numbers can be given)

// Device list (151): the device to give the selected COM number.
inline constexpr int IDC_DEVICES_LABEL = 1072;  // "ｃｏｍ３ に割り当てる装置(&L)"
inline constexpr int IDC_DEVICE_LIST = 1073;
inline constexpr int IDC_DEVICE_NOTE = 1074;  // the name the link takes, or why the list is empty

// Fit warning (138): capacity and need, by row and column.
inline constexpr int IDC_FIT_CPL = 1019;
inline constexpr int IDC_FIT_LONGEST_LINE = 1020;
inline constexpr int IDC_FIT_LPP = 1021;
inline constexpr int IDC_FIT_LINE_COUNT = 1022;
inline constexpr int IDC_FIT_ALL_PAGES = 1023;  // 全ページ印刷: the dialog ends with this id

// Page range (143).
inline constexpr int IDC_RANGE_PAGES = 1040;  // "全 N ページ"
inline constexpr int IDC_RANGE_FROM = 1041;
inline constexpr int IDC_RANGE_TO = 1042;
inline constexpr int IDC_RANGE_LINE = 1043;

// Printing (139).
inline constexpr int IDC_PRINTING_TEXT = 1015;
inline constexpr int IDC_PRINTING_PROGRESS = 1030;
inline constexpr int IDC_PRINTING_STATUS = 1031;

// Copies (140).
inline constexpr int IDC_COPIES = 1016;

// Pitch test (142).
inline constexpr int IDC_PITCH_X = 1017;
inline constexpr int IDC_PITCH_Y = 1018;

// Preview (150).
inline constexpr int IDC_PREVIEW_PAGE = 1060;        // the sheet's picture
inline constexpr int IDC_PREVIEW_TEXT_LABEL = 1061;  // "点字 1 / 3 ページ": names the text
inline constexpr int IDC_PREVIEW_TEXT = 1062;        // the sheet's Braille, for screen readers and Braille displays
inline constexpr int IDC_PREVIEW_SUMMARY = 1063;
inline constexpr int IDC_PREVIEW_ZOOM = 1064;
inline constexpr int IDC_PREVIEW_PREVIOUS = 1065;
inline constexpr int IDC_PREVIEW_NEXT = 1066;
inline constexpr int IDC_PREVIEW_PRINT = 1067;  // the dialog ends with this id
// Its keys: Home, End, Ctrl++ and Ctrl+- (PageUp and PageDown are the buttons').
inline constexpr int ID_PREVIEW_FIRST = 32790;
inline constexpr int ID_PREVIEW_LAST = 32791;
inline constexpr int ID_PREVIEW_ZOOM_IN = 32792;
inline constexpr int ID_PREVIEW_ZOOM_OUT = 32793;

// Commands of the main window's menu and buttons.
inline constexpr int ID_APP_ABOUT = 32772;
inline constexpr int ID_DOT_SPACING = 32773;
inline constexpr int ID_PORT_SETTINGS = 32774;
inline constexpr int ID_APP_EXIT = 32777;
inline constexpr int ID_PRINT = 32778;
inline constexpr int ID_PITCH_TEST = 32779;
inline constexpr int ID_PREVIEW = 32780;

}  // namespace tenji::resources
