#pragma once

#include <string>
#include <vector>

#include "PackageTestSupport.h"
#include "TrackDialog.h"
#include "framework/Module.h"

// Writes configs.xml beside the test program, for the dialog to read.
inline void WriteLocalConfig(const std::string& bytes) {
    WriteBytes((GetModuleDirectory() + kConfigFileName).str(), bytes);
}

inline std::vector<std::string> Items(CTrackDialog& dialog) {
    std::vector<std::string> items;
    for (int i = 0; i < dialog.m_comboCompany.GetCount(); ++i) {
        CString item;
        dialog.m_comboCompany.GetLBText(i, item);
        items.push_back(item.str());
    }
    return items;
}
