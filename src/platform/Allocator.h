#pragma once

namespace tempolatch::platform {

// Sets up the C library's allocator for the program, once at its start.
// With glibc the small-block "fast bins" are turned off: a list of a month
// of a large store frees tens of thousands of small blocks at each reload,
// and merging them all when a large block is next asked for cost up to a
// fifth of the reload, more the more rows the list held. Elsewhere nothing
// changes.
void tuneAllocator();

}  // namespace tempolatch::platform
