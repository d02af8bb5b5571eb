#pragma once
// Read by both windres and the compiler: plain #defines only.

#include "common/program_resources.h"

// Command ids: a menu item that performs a control's click shares that control's id.
#define IDC_ToolButton1 1001
#define IDC_ToolButton2 1002
#define IDC_ToolButton3 1003
#define IDC_ToolButton4 1004
#define IDC_ToolButton5 1005
#define IDC_ToolButton6 1006
#define IDC_ToolButton7 1007
#define IDC_ToolButton8 1008
#define IDC_BitBtn1 1011
#define IDC_BitBtn2 1012
#define IDC_BitBtn3 1013
#define IDC_TntSpeedButton1 1020

#define IDM_Exit1 1101
#define IDM_Help2 1102
#define IDM_Hollowfinswebsite1 1103
#define IDM_Emailsupport1 1104
#define IDM_About1 1105
#define IDM_EntrySettings 1106

// Controls that issue no commands.
#define IDC_TntToolBar1 1201
#define IDC_TntStatusBar1 1202
#define IDC_ListView1 1203
#define IDC_TntEdit1 1204
#define IDC_TntEdit2 1205
#define IDC_TntUpDown1 1206
#define IDC_TntLabel1 1207
#define IDC_TntLabel2 1208
#define IDC_TntPanel1 1209
#define IDC_TntMemo1 1210
// Beside the Monitor selector: which monitor its number means.
#define IDC_MonitorName 1211
