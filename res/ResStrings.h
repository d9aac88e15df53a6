#pragma once

#include <QString>

// Strings of the string table as Qt strings; empty when the table has none.
QString LoadResString(int nId);
// The two halves of a command's string: the status-bar prompt and the tooltip.
QString CommandPrompt(int nId);
QString CommandToolTip(int nId);
