#include "platform/Collection.h"

#include "platform/Exceptions.h"

#include <algorithm>

namespace vandora {

TCollectionItem::TCollectionItem(TCollection* collection) : collection_(collection)
{
    if (collection_)
        collection_->Insert(this);
}

TCollectionItem::~TCollectionItem()
{
    if (collection_)
        collection_->Remove(this);
}

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    const auto& items = collection_->items_;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this)
            return int(i);
    return -1;
}

TCollection::~TCollection()
{
    // Items are destroyed last to first, as by Clear, without a batch.
    while (!items_.empty()) {
        std::unique_ptr<TCollectionItem> last = std::move(items_.back());
        items_.pop_back();
        last->collection_ = nullptr;
    }
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(ListIndexErrorText(index));
    return items_[std::size_t(index)].get();
}

void TCollection::Delete(int index)
{
    delete Items(index);
}

void TCollection::Clear()
{
    if (items_.empty())
        return;
    BeginBatch();
    try {
        while (!items_.empty())
            delete items_.back().get();
    } catch (...) {
        EndBatch();
        throw;
    }
    EndBatch();
}

void TCollection::EndBatch()
{
    if (batchCount_ > 0)
        --batchCount_;
    if (batchCount_ == 0)
        Update();
}

void TCollection::Insert(TCollectionItem* item)
{
    items_.emplace_back(item);
}

void TCollection::Remove(TCollectionItem* item)
{
    const auto it = std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; });
    if (it == items_.end())
        return;
    ItemRemoving(int(it - items_.begin()));
    (void)it->release(); // the item is being destroyed by its own destructor
    items_.erase(it);
}

} // namespace vandora
