#pragma once

// Dispatches what is queued for this thread, through PreTranslateMessage as a modal loop does.
void PumpMessages();
