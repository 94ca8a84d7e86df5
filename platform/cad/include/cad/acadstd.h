#pragma once
// Basic vocabulary of the CAD host: status codes, object ids and the platform array.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <type_traits>
#include <vector>

namespace Acad {
/// Result of a host operation; eOk is success.
enum ErrorStatus : int {
    eOk = 0, ///< success
    eNotImplemented = 1,
    eInvalidInput = 3,  ///< a malformed value or argument
    eFileNotFound = 8,  ///< the file could not be opened
    eFileAccessErr = 9, ///< the file could not be read or written
    eKeyNotFound = 22,  ///< no entry of that name
    eInvalidIndex = 53,
    eOutOfRange = 12,
    eNullObjectId = 5,
    eDuplicateKey = 46,
};
} // namespace Acad

/// Identifies an object of the drawing database; the null id is 0.
class AcDbObjectId {
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(std::int64_t handle)
        : m_handle(handle) {}
    static const AcDbObjectId kNull;
    bool isNull() const { return m_handle == 0; }
    void setNull() { m_handle = 0; }
    std::int64_t handle() const { return m_handle; }
    bool operator==(const AcDbObjectId& o) const { return m_handle == o.m_handle; }
    bool operator!=(const AcDbObjectId& o) const { return m_handle != o.m_handle; }
    bool operator<(const AcDbObjectId& o) const { return m_handle < o.m_handle; }

private:
    std::int64_t m_handle = 0;
};
inline const AcDbObjectId AcDbObjectId::kNull{};

/// The platform's growable array, indexed from 0.
template <class T> class AcArray {
public:
    AcArray() = default;
    AcArray(std::initializer_list<T> items)
        : m_items(items) {}
    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return m_items.empty(); }
    AcArray& append(const T& v) {
        m_items.push_back(v);
        return *this;
    }
    AcArray& insertAt(int i, const T& v) {
        m_items.insert(m_items.begin() + i, v);
        return *this;
    }
    AcArray& removeAt(int i) {
        m_items.erase(m_items.begin() + i);
        return *this;
    }
    AcArray& removeAll() {
        m_items.clear();
        return *this;
    }
    AcArray& setLogicalLength(int n) {
        m_items.resize(static_cast<size_t>(std::max(n, 0)));
        return *this;
    }
    bool contains(const T& v) const { return std::find(m_items.begin(), m_items.end(), v) != m_items.end(); }
    bool find(const T& v, int& index) const {
        auto it = std::find(m_items.begin(), m_items.end(), v);
        if (it == m_items.end()) return false;
        index = static_cast<int>(it - m_items.begin());
        return true;
    }
    T& operator[](int i) { return m_items[static_cast<size_t>(i)]; }
    const T& operator[](int i) const { return m_items[static_cast<size_t>(i)]; }
    T& at(int i) { return m_items.at(static_cast<size_t>(i)); }
    const T& at(int i) const { return m_items.at(static_cast<size_t>(i)); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    bool operator==(const AcArray& o) const { return m_items == o.m_items; }

private:
    // std::vector<bool> hands out proxies, not bool&; a deque keeps real references.
    std::conditional_t<std::is_same_v<T, bool>, std::deque<bool>, std::vector<T>> m_items;
};
