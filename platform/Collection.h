#pragma once
// An ordered, owning list of items that create themselves into it, with a batch bracket
// for multi-item changes.
#include "platform/Component.h"

#include <memory>
#include <string>
#include <vector>

namespace vandora {

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Appends the new item to the end of the collection, which owns it from then on.
    explicit TCollectionItem(TCollection* collection);
    // Removes the item from its collection; the later items move down one index.
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    // Position in the collection, from 0.
    int Index() const;
    virtual std::string DisplayName() const { return ClassName(); }

private:
    friend class TCollection;
    TCollection* collection_; // the owning collection; not owned
};

class TCollection : public TPersistent {
public:
    explicit TCollection(TPersistent* owner) : owner_(owner) {}
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    // The component that holds this collection as a property; may be null.
    TPersistent* Owner() const { return owner_; }
    int Count() const { return int(items_.size()); }
    // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
    TCollectionItem* Items(int index) const;
    // A new item of the collection's item class, appended at the end.
    TCollectionItem* Add() { return CreateItem(); }
    // Destroys the item at the index.
    void Delete(int index);
    // Destroys every item, last to first, inside a batch.
    void Clear();

    void BeginBatch() { ++batchCount_; }
    // Closes a batch; when the outermost one closes, Update() runs.
    virtual void EndBatch();
    int BatchCount() const { return batchCount_; }

protected:
    // Creates one item of the item class into this collection (the item appends itself).
    virtual TCollectionItem* CreateItem() = 0;
    // The change notification at the end of the outermost batch.
    virtual void Update() {}
    // An item at the index is leaving the collection; the later ones move down next.
    virtual void ItemRemoving(int index) { (void)index; }

private:
    friend class TCollectionItem;
    void Insert(TCollectionItem* item);
    void Remove(TCollectionItem* item);

    TPersistent* owner_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int batchCount_ = 0;
};

} // namespace vandora
