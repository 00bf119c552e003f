#pragma once

#include <QString>
#include <QUuid>

class Store;

// What a drop target learns of a drag passing over it.
struct DropInfo {
    bool offersPlainText = false;
};

enum class DropProposal { Move };

// The drop target of one item tile: an item dragged over it takes its place at once.
struct CellDrop {
    Store& store;
    QString path;
    QUuid group;

    // Whether a tile takes the drag now under way; validateDrop() of any tile.
    static bool accepts(const Store& store, const DropInfo& info);

    bool validateDrop(const DropInfo& info) const;
    void dropEntered(const DropInfo& info) const;
    DropProposal dropUpdated(const DropInfo& info) const;
    void dropExited(const DropInfo& info) const;
    bool performDrop(const DropInfo& info) const;
};

// The drop target of one group tab: a group dragged over it takes its place at once; an item
// dropped on it moves into its group.
struct TabDrop {
    Store& store;
    QUuid group;

    // Whether a tab takes the drag now under way; validateDrop() of any tab.
    static bool accepts(const Store& store, const DropInfo& info);

    bool validateDrop(const DropInfo& info) const;
    void dropEntered(const DropInfo& info) const;
    DropProposal dropUpdated(const DropInfo& info) const;
    void dropExited(const DropInfo& info) const;
    bool performDrop(const DropInfo& info) const;
};

// Ends an in-panel drag, wherever it ended.
void endPanelDrag(Store& store);
