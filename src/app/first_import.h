#pragma once

#include <functional>

class Store;

namespace FirstImport {

// The first start's Dock import: runs `importDock` when the store holds just its seeded empty
// group, and marks the first start as done only once the result is on disk, so a start cut
// short (a crash, a full disk) imports again next time. Returns whether this was the first
// start.
bool runOnce(Store& store, const std::function<void()>& importDock);

} // namespace FirstImport
