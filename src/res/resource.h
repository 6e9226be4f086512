#pragma once
// Resource ids shared by the resource script and the sources.

#define IDD_SETTINGS 102

#define IDC_ENABLE 1001
#define IDC_DOMAIN 1002
#define IDC_SHOW_ALERT 1003
#define IDC_BOSS_ADDRESS 1004
#define IDC_AUTO_CC 1005
#define IDC_DETAIL_GROUP 1007
#define IDC_DOMAIN_LABEL 1008
#define IDC_BOSS_LABEL 1009
#define IDC_ACTION_LABEL 1010
#define IDC_DOMAIN_NOTE 1011

#define IDR_MANIFEST 2
