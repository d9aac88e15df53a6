#pragma once

#include "res/AcceleratorTable.h"

#include <QKeySequence>
#include <QList>

// The key sequences Qt matches for an accelerator of the table: its own first, and for a key
// of the numeric keypad the same key without the keypad modifier, which is all X11 shortcut
// matching looks at (Ctrl and the keypad's plus arrives there as Ctrl and plus).
QList<QKeySequence> AcceleratorKeySequences(const res::SAccel &accel);
