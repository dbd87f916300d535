#pragma once

#define IDD_DEMO 100
#define IDC_DEMO_FIELD 1000
#define IDC_DEMO_LIST 1001
