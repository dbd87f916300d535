#include "uidriver/TreeView.h"

#include "RemoteText.h"
#include "uidriver/Error.h"

namespace uidriver {

namespace {

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void CheckItem(HTREEITEM item, const char* operation) {
    if (!item) {
        throw Error(std::string(operation) + ": no tree item");
    }
}

} // namespace

HTREEITEM TreeRoot(HWND tree) {
    return Next(tree, TVGN_ROOT, nullptr);
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent) {
    std::vector<HTREEITEM> children;
    HTREEITEM child = parent ? Next(tree, TVGN_CHILD, parent) : TreeRoot(tree);
    for (; child; child = Next(tree, TVGN_NEXT, child)) {
        children.push_back(child);
    }
    return children;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
    CheckItem(item, "TreeItemText");
    const RemoteTextReply reply = SendForText<TVITEMA>(
        tree, TVM_GETITEMA, 0, [&](TVITEMA& tvItem, LPSTR buffer, int capacity) {
            tvItem.mask = TVIF_TEXT | TVIF_HANDLE;
            tvItem.hItem = item;
            tvItem.pszText = buffer;
            tvItem.cchTextMax = capacity;
        });
    if (!reply.result) {
        throw Error("tree refused the text of an item");
    }
    return reply.text;
}

std::vector<std::string> TreeChildTexts(HWND tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM child : TreeChildren(tree, parent)) {
        texts.push_back(TreeItemText(tree, child));
    }
    return texts;
}

HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& text) {
    for (HTREEITEM child : TreeChildren(tree, parent)) {
        if (TreeItemText(tree, child) == text) {
            return child;
        }
    }
    return nullptr;
}

void SelectTreeItem(HWND tree, HTREEITEM item) {
    CheckItem(item, "SelectTreeItem");
    if (!Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))) {
        throw Error("tree refused to select the item \"" + TreeItemText(tree, item) + "\"");
    }
}

void ExpandTreeItem(HWND tree, HTREEITEM item) {
    CheckItem(item, "ExpandTreeItem");
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

} // namespace uidriver
