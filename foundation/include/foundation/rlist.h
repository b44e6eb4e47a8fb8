// The one container of the simulator: a growable array of element pointers
// with a name for its error boxes, optional ownership and a forward cursor.
#pragma once
#include "plat/types.h"
#include <cstdint>

// Elements of a plain RList are blocks from std::malloc (the base FreeAt
// frees them with std::free). Typed lists (RTypedList<T>) hold `new T`
// objects and release them with delete.
//
// Every failure shows a "List Error" box and then touches nothing outside the
// slots: GetAt answers nullptr and the list stays as it was.
class RList {
public:
    RList(int16_t limit, int16_t delta, int32_t owner);
    RList(int16_t limit, int16_t delta, int32_t owner, const char* name);
    virtual ~RList();
    RList(const RList&) = delete;
    RList& operator=(const RList&) = delete;

    void Add(void* element);
    void Insert(void* element, int16_t index);
    // Releases the element (through FreeAt) whether or not the list owns it.
    void Remove(void* element);
    // Releases the element at the index and removes its slot.
    virtual void FreeAt(int16_t index);
    // Releases every element, last to first.
    void Clear();
    // Removes the element's slot without releasing it.
    void Detach(void* element);
    void RemoveAt(int16_t index);
    int16_t IndexOf(const void* element) const;
    void* GetAt(int16_t index) const;
    // Replaces the element at the index; the old one is not released.
    void SetAt(void* element, int16_t index);
    // Adds delta slots; false (after the box) when it cannot.
    bool Grow();

    // The built-in cursor: when First() is TRUE, call Next until it reports last.
    plat::BOOL First();
    void* Next(plat::BOOL& last);

    int16_t Count() const { return count_; }
    int16_t Limit() const { return limit_; }
    int16_t Delta() const { return delta_; }
    int32_t Owner() const { return owner_; }
    const char* Name() const { return name_; }

protected:
    // True when the index names a slot in use; shows the index box otherwise.
    bool check_slot(int16_t index) const;

private:
    void list_box(bool with_index, int index) const;

    void** items_ = nullptr;
    int16_t count_ = 0;
    int16_t limit_ = 0;
    int16_t delta_ = 0;
    int32_t owner_ = 0;
    char name_[80] = {};
    int16_t cursor_ = 0;
};

// A list of one element type. An owning typed list releases its elements as
// their type when it is destroyed (last to first), not only on Clear.
template <class T>
class RTypedList : public RList {
public:
    using RList::RList;
    ~RTypedList() override
    {
        if (Owner() != 0)
            Clear();
    }
    T* GetAt(int16_t index) const { return static_cast<T*>(RList::GetAt(index)); }
    T* Item(int16_t index) const { return GetAt(index); }
    T* Next(plat::BOOL& last) { return static_cast<T*>(RList::Next(last)); }
    void FreeAt(int16_t index) override
    {
        if (!check_slot(index))
            return;
        T* element = GetAt(index);
        RemoveAt(index);
        delete element;
    }
};

// Heap texts (std::malloc'd, NUL-terminated); make_line fills such a list.
using TextLineList = RList;
