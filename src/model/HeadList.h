#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// A list that grows at its head, held in one block: the head is the
// vector's back, so putting an item at the head appends and the list is
// walked back to front. Label lists hold hundreds of thousands of small
// items and are walked in full on every rebuild; a deque of them is spread
// over many small blocks and is slow to fill and to walk.
template <typename T> class HeadList
{
public:
    using value_type = T;
    using iterator = typename std::vector<T>::reverse_iterator;
    using const_iterator = typename std::vector<T>::const_reverse_iterator;
    using reverse_iterator = typename std::vector<T>::iterator;
    using const_reverse_iterator = typename std::vector<T>::const_iterator;

    // From the head to the tail.
    iterator begin() { return m_items.rbegin(); }
    iterator end() { return m_items.rend(); }
    const_iterator begin() const { return m_items.rbegin(); }
    const_iterator end() const { return m_items.rend(); }
    // From the tail (the oldest) to the head.
    reverse_iterator rbegin() { return m_items.begin(); }
    reverse_iterator rend() { return m_items.end(); }
    const_reverse_iterator rbegin() const { return m_items.begin(); }
    const_reverse_iterator rend() const { return m_items.end(); }

    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    void clear() { m_items.clear(); }
    void reserve(size_t n) { m_items.reserve(n); }
    void swap(HeadList &other) noexcept { m_items.swap(other.m_items); }

    T &front() { return m_items.back(); }
    const T &front() const { return m_items.back(); }
    // The i-th item from the head.
    T &operator[](size_t i) { return m_items[m_items.size() - 1 - i]; }
    const T &operator[](size_t i) const { return m_items[m_items.size() - 1 - i]; }

    void push_front(const T &item) { m_items.push_back(item); }
    template <typename... Args> T &emplace_front(Args &&...args)
    {
        return m_items.emplace_back(std::forward<Args>(args)...);
    }

private:
    std::vector<T> m_items; // tail first
};
