#pragma once

#include <windows.h>

#include <string>

#include "uidriver/RemoteMemory.h"
#include "uidriver/Window.h"

namespace uidriver {

struct RemoteTextReply {
    LRESULT result;
    std::string text;
};

// Sends `message` to a control of another process with a structure `Item` placed in that
// process, whose text field `fill` points at a buffer beside it; returns the reply and the
// text. The buffer grows until the text fits with room to spare, as a full buffer may
// hold a cut text.
template <class Item, class Fill>
RemoteTextReply SendForText(HWND control, UINT message, WPARAM wParam, Fill&& fill) {
    constexpr std::size_t kLargestText = 1 << 20;
    for (std::size_t capacity = 256;; capacity *= 4) {
        RemoteMemory memory = RemoteMemory::ForWindow(control, sizeof(Item) + capacity);
        Item item{};
        fill(item, static_cast<LPSTR>(memory.Address(sizeof(Item))), static_cast<int>(capacity));
        memory.WriteValue(0, item);
        memory.WriteValue(sizeof(Item), '\0');
        const LRESULT result =
            Send(control, message, wParam, reinterpret_cast<LPARAM>(memory.Address()));
        std::string text = memory.ReadString(sizeof(Item), capacity);
        if (text.size() + 2 < capacity || capacity >= kLargestText) {
            return {result, std::move(text)};
        }
    }
}

} // namespace uidriver
