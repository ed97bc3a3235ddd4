#pragma once
// Allocator settings for the programs that print: called once at the very start of main(),
// before any other thread runs.

namespace Allocator {

// Each page's PDF content grows in buffers that are freed when the page ends. With the
// allocator's defaults the large ones are fresh mappings handed back to the system page after
// page (measured: more than half of a long run's time went to page faults and unmapping);
// keeping them in the heap costs no peak memory.
void keepPageBuffers();

} // namespace Allocator
