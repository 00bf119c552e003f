#pragma once

// Hands the heap's freed pages back to the system. Building a panel opening decodes icons and
// lays out text in buffers that are freed at once; glibc keeps such pages for reuse, so a tray
// program that mostly waits would hold them for the rest of its life.
namespace HeapTrim {

void release();

} // namespace HeapTrim
