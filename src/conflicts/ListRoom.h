#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// How the check's long-lived lists (passages, visits, kept conflicts) use
// their room. A full list grows by an eighth, not twice over, and a list
// gives room back only when more than an eighth of it is unfilled: giving
// it back copies the list into new memory, which stays resident beside the
// old until the allocator returns it.
namespace ListRoom {

inline size_t slack(size_t size)
{
    return size / 8 + 16;
}

// Inserts one item in order.
template <typename T, typename Before> void insertSorted(std::vector<T> &list, const T &item, Before before)
{
    if (list.size() == list.capacity())
        list.reserve(list.size() + slack(list.size()));
    list.insert(std::upper_bound(list.begin(), list.end(), item, before), item);
}

template <typename T> void giveBack(std::vector<T> &list)
{
    if (list.capacity() - list.size() > slack(list.size()))
        list.shrink_to_fit();
}

} // namespace ListRoom
