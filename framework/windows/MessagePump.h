#pragma once

#include <windows.h>

#include <climits>
#include <functional>

// The one way messages are handled on the UI thread: each message is offered to
// PreTranslateMessage of its window and that window's parents, and unless one of them takes
// it, translated and dispatched. A loop that meets WM_QUIT ends and posts it again, so that
// the loop around it (an outer modal dialog's) ends too.

// Handles one message that was taken from the queue.
void AfxHandleMessage(MSG* msg);

// Waits for messages and handles them until stop() is true (asked before each wait) or
// WM_QUIT arrives. Returns FALSE when WM_QUIT (or a failed wait) ended it.
BOOL AfxPumpMessagesUntil(const std::function<bool()>& stop);

// Handles up to maxMessages messages that are already waiting, without waiting for more; an
// empty queue ends the pass early. Returns FALSE when it met WM_QUIT. Long work on the UI
// thread calls it between steps so that its windows repaint and answer.
BOOL AfxPumpWaitingMessages(int maxMessages = INT_MAX);
