#pragma once

// The string table. A command's string holds its status-bar prompt, a line feed and its tooltip.

namespace res {

// The string of nId, or nullptr when the table has none.
const char *LoadString(int nId);

} // namespace res
