#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace uidriver {

// A tree view (SysTreeView32) of another process. Items are that process's HTREEITEM
// values: pass only items that these functions returned from the same tree, since the
// tree trusts them. A null item throws Error.

// The first root item, or nullptr when the tree is empty.
HTREEITEM TreeRoot(HWND tree);
// The children of `parent`, or the root items when `parent` is nullptr.
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);
std::string TreeItemText(HWND tree, HTREEITEM item);
std::vector<std::string> TreeChildTexts(HWND tree, HTREEITEM parent);
// The first child of `parent` (a root when nullptr) with this text, or nullptr.
HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& text);
// Selects `item` as a click would; the tree notifies its parent (TVN_SELCHANGED) before
// this returns.
void SelectTreeItem(HWND tree, HTREEITEM item);
void ExpandTreeItem(HWND tree, HTREEITEM item);

} // namespace uidriver
