#pragma once

namespace platform {

// Page pictures are large and short-lived. The C library otherwise serves blocks of that size
// from its heap once a few have been freed, and a heap gives its pages back to the system only
// from the top: the memory of a tab that released its pictures stayed with the process. Called
// once at start, before the first page is drawn.
void ReturnLargeBlocksToSystem();

} // namespace platform
