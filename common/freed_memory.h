#pragma once
// Hands the pages of freed heap memory back to the system. Parsing a large
// definitions file builds hundreds of megabytes of short-lived nodes around
// the few megabytes of maps kept from it; the allocator keeps those pages
// for itself unless asked, and the program would stay at the parse's peak.
void returnFreedMemory();
