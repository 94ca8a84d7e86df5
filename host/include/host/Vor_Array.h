#pragma once
// The host's growable array with value semantics, indexed from 0.

#include <algorithm>
#include <cassert>
#include <deque>
#include <initializer_list>
#include <type_traits>
#include <vector>

/// A growable array of values, indexed from 0. Index errors change nothing and are reported by the
/// result, so a bad index from a dialog never corrupts the caller's data.
template <class T> class Vor_Array {
public:
    Vor_Array() = default;
    Vor_Array(std::initializer_list<T> items)
        : m_items(items) {}

    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return m_items.empty(); }

    Vor_Array& append(const T& value) {
        m_items.push_back(value);
        return *this;
    }
    /// Appends all items of another array.
    Vor_Array& append(const Vor_Array& other) {
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return *this;
    }
    /// Inserts before index (index == length appends); false and nothing done for another index.
    bool insertAt(int index, const T& value) {
        if (index < 0 || index > length()) return false;
        m_items.insert(m_items.begin() + index, value);
        return true;
    }
    /// Removes the item at index; false and nothing done when there is none.
    bool removeAt(int index) {
        if (index < 0 || index >= length()) return false;
        m_items.erase(m_items.begin() + index);
        return true;
    }
    void removeAll() { m_items.clear(); }
    /// Cuts the array or grows it with default values.
    Vor_Array& setLogicalLength(int n) {
        m_items.resize(static_cast<std::size_t>(std::max(n, 0)));
        return *this;
    }

    bool contains(const T& value) const {
        return std::find(m_items.begin(), m_items.end(), value) != m_items.end();
    }
    /// Index of the first item equal to value, from `start` on.
    bool find(const T& value, int& index, int start = 0) const {
        if (start < 0) start = 0;
        if (start >= length()) return false;
        auto it = std::find(m_items.begin() + start, m_items.end(), value);
        if (it == m_items.end()) return false;
        index = static_cast<int>(it - m_items.begin());
        return true;
    }

    T& operator[](int i) {
        assert(i >= 0 && i < length());
        return m_items[static_cast<std::size_t>(i)];
    }
    const T& operator[](int i) const {
        assert(i >= 0 && i < length());
        return m_items[static_cast<std::size_t>(i)];
    }
    /// Checked access; throws std::out_of_range.
    T& at(int i) { return m_items.at(static_cast<std::size_t>(i)); }
    const T& at(int i) const { return m_items.at(static_cast<std::size_t>(i)); }
    T& first() { return (*this)[0]; }
    const T& first() const { return (*this)[0]; }
    T& last() { return (*this)[length() - 1]; }
    const T& last() const { return (*this)[length() - 1]; }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool operator==(const Vor_Array& other) const { return m_items == other.m_items; }

private:
    // std::vector<bool> hands out proxies, not bool&; a deque keeps real references.
    std::conditional_t<std::is_same_v<T, bool>, std::deque<bool>, std::vector<T>> m_items;
};
