#include "uidriver/Header.h"

#include <commctrl.h>

#include "RemoteText.h"
#include "uidriver/Error.h"

namespace uidriver {

namespace {

void CheckIndex(HWND header, int index) {
    const int count = HeaderItemCount(header);
    if (index < 0 || index >= count) {
        throw Error("header has " + std::to_string(count) + " items, no item " +
                    std::to_string(index));
    }
}

} // namespace

HWND ListHeader(HWND list) {
    HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    if (!header) {
        throw Error(DescribeWindow(list) + " has no header");
    }
    return header;
}

int HeaderItemCount(HWND header) {
    const LRESULT count = Send(header, HDM_GETITEMCOUNT, 0, 0);
    if (count < 0) {
        throw Error(DescribeWindow(header) + " did not tell its item count");
    }
    return static_cast<int>(count);
}

RECT HeaderItemRect(HWND header, int index) {
    CheckIndex(header, index);
    RemoteMemory memory = RemoteMemory::ForWindow(header, sizeof(RECT));
    if (!Send(header, HDM_GETITEMRECT, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(memory.Address()))) {
        throw Error("header refused the rectangle of item " + std::to_string(index));
    }
    return memory.ReadValue<RECT>(0);
}

void ClickHeaderItem(HWND header, int index) {
    const RECT rect = HeaderItemRect(header, index);
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        throw Error("header item " + std::to_string(index) + " has no area to click");
    }
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Post(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    Post(header, WM_LBUTTONUP, 0, centre);
}

} // namespace uidriver
