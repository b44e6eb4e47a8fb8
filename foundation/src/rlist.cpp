// RList: growth, removal, release and the "List Error" boxes.
#include "foundation/rlist.h"
#include "host_p.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

RList::RList(int16_t limit, int16_t delta, int32_t owner) : RList(limit, delta, owner, nullptr) {}

RList::RList(int16_t limit, int16_t delta, int32_t owner, const char* name)
    : limit_(limit), delta_(delta), owner_(owner)
{
    std::snprintf(name_, sizeof name_, "%.78s", name != nullptr ? name : "Unknown");
    if (limit_ > 0)
        items_ = static_cast<void**>(std::calloc(static_cast<size_t>(limit_), sizeof(void*)));
    if (items_ == nullptr) {
        if (limit_ > 0)
            list_box(false, 0);
        limit_ = 0;
    }
}

RList::~RList()
{
    // A typed list has already released its elements as their type; what is
    // left here belongs to a plain list.
    if (owner_ != 0)
        Clear();
    std::free(items_);
}

void RList::list_box(bool with_index, int index) const
{
    char text[256];
    if (with_index)
        std::snprintf(text, sizeof text,
                      "List Name : %s[%d] \nLimit = %d\nDelta =%d\nOwner = %d\nIndex = %d\n", name_,
                      count_, limit_, delta_, static_cast<int>(owner_), index);
    else
        std::snprintf(text, sizeof text, "List Name : %s[0 TO %d] \nLimit = %d\nDelta =%d\nOwner = %d\n",
                      name_, count_ - 1, limit_, delta_, static_cast<int>(owner_));
    fhost::message_box(0, text, "List Error", fhost::BOX_OK);
}

bool RList::check_slot(int16_t index) const
{
    if (index >= 0 && index < count_)
        return true;
    list_box(true, index);
    return false;
}

bool RList::Grow()
{
    if (delta_ < 1 || static_cast<int>(limit_) + delta_ > INT16_MAX) {
        list_box(false, 0);
        return false;
    }
    const int16_t limit = static_cast<int16_t>(limit_ + delta_);
    void** grown = static_cast<void**>(std::realloc(items_, static_cast<size_t>(limit) * sizeof(void*)));
    if (grown == nullptr) {
        list_box(false, 0);
        return false;
    }
    items_ = grown;
    limit_ = limit;
    return true;
}

void RList::Add(void* element) { Insert(element, count_); }

void RList::Insert(void* element, int16_t index)
{
    if (index < 0) {
        list_box(true, index);
        return;
    }
    if (index > count_)
        index = count_;
    if (count_ >= limit_ && !Grow())
        return;
    std::memmove(items_ + index + 1, items_ + index, static_cast<size_t>(count_ - index) * sizeof(void*));
    items_[index] = element;
    ++count_;
}

void RList::Remove(void* element)
{
    if (element == nullptr) {
        list_box(false, 0);
        return;
    }
    FreeAt(IndexOf(element));
}

void RList::FreeAt(int16_t index)
{
    if (!check_slot(index))
        return;
    void* element = items_[index];
    RemoveAt(index);
    std::free(element);
}

void RList::Clear()
{
    while (count_ >= 1)
        FreeAt(static_cast<int16_t>(count_ - 1));
}

void RList::Detach(void* element)
{
    RemoveAt(IndexOf(element));
}

void RList::RemoveAt(int16_t index)
{
    if (!check_slot(index))
        return;
    std::memmove(items_ + index, items_ + index + 1, static_cast<size_t>(count_ - index - 1) * sizeof(void*));
    --count_;
    if (cursor_ > count_)
        cursor_ = 0;
}

int16_t RList::IndexOf(const void* element) const
{
    for (int16_t i = 0; i < count_; ++i)
        if (items_[i] == element)
            return i;
    return -1;
}

void* RList::GetAt(int16_t index) const
{
    if (!check_slot(index))
        return nullptr;
    return items_[index];
}

void RList::SetAt(void* element, int16_t index)
{
    if (!check_slot(index))
        return;
    items_[index] = element;
}

plat::BOOL RList::First()
{
    cursor_ = 0;
    return count_ > 0 ? plat::TRUE : plat::FALSE;
}

void* RList::Next(plat::BOOL& last)
{
    if (count_ == 0) {
        last = plat::TRUE;
        return nullptr;
    }
    if (cursor_ >= count_)
        cursor_ = 0;
    last = cursor_ == count_ - 1 ? plat::TRUE : plat::FALSE;
    void* element = items_[cursor_];
    cursor_ = last ? 0 : static_cast<int16_t>(cursor_ + 1);
    return element;
}
