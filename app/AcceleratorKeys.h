#pragma once

#include "res/AcceleratorTable.h"

#include <QKeySequence>

// The key sequence Qt matches for an accelerator of the table.
QKeySequence AcceleratorKeySequence(const res::SAccel &accel);
