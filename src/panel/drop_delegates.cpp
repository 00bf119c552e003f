#include "panel/drop_delegates.h"

#include "model/canonical_text.h"
#include "model/store.h"

void endPanelDrag(Store& store)
{
    store.dragApp.reset();
    store.dragGroup.reset();
}

bool CellDrop::accepts(const Store& store, const DropInfo& info)
{
    return store.dragApp.has_value() && info.offersPlainText;
}

bool CellDrop::validateDrop(const DropInfo& info) const
{
    return accepts(store, info);
}

void CellDrop::dropEntered(const DropInfo&) const
{
    if (store.dragApp && !CanonicalText::equal(*store.dragApp, path))
        store.moveApp(*store.dragApp, path, group);
}

DropProposal CellDrop::dropUpdated(const DropInfo&) const
{
    return DropProposal::Move;
}

void CellDrop::dropExited(const DropInfo&) const {}

bool CellDrop::performDrop(const DropInfo&) const
{
    endPanelDrag(store);
    return true;
}

bool TabDrop::accepts(const Store& store, const DropInfo& info)
{
    if (!store.dragApp && !store.dragGroup)
        return false;
    return info.offersPlainText;
}

bool TabDrop::validateDrop(const DropInfo& info) const
{
    return accepts(store, info);
}

void TabDrop::dropEntered(const DropInfo&) const
{
    if (store.dragGroup && *store.dragGroup != group)
        store.moveGroup(*store.dragGroup, group);
}

DropProposal TabDrop::dropUpdated(const DropInfo&) const
{
    return DropProposal::Move;
}

void TabDrop::dropExited(const DropInfo&) const {}

bool TabDrop::performDrop(const DropInfo&) const
{
    if (store.dragApp) {
        const QString app = *store.dragApp;
        store.moveApp(app, group);
    }
    endPanelDrag(store);
    return true;
}
