#pragma once

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

#include "location/engine/CVMem.h"

namespace _zizaz_vi {

// The engine's growable array of plain values (points, pointers). The buffer comes from
// CVMem; every failed allocation leaves the array as it was and answers failure.
template <typename T>
class CVArray {
    static_assert(std::is_trivially_copyable_v<T>, "CVArray holds plain values only");

public:
    CVArray() = default;
    CVArray(const CVArray& other) { *this = other; }
    CVArray(CVArray&& other) noexcept { swap(other); }
    CVArray& operator=(const CVArray& other) {
        if (this != &other) {
            CVArray copy;
            if (copy.SetSize(other.m_size) && other.m_size > 0) {
                std::memcpy(copy.m_data, other.m_data, sizeof(T) * other.m_size);
            }
            copy.m_growBy = other.m_growBy;
            swap(copy);
            ++m_version;
        }
        return *this;
    }
    CVArray& operator=(CVArray&& other) noexcept {
        swap(other);
        ++m_version;
        return *this;
    }
    virtual ~CVArray() { CVMem::Deallocate(m_data); }

    int GetSize() const { return m_size; }
    int GetCapacity() const { return m_capacity; }
    int GetVersion() const { return m_version; }
    const T* GetData() const { return m_data; }
    T* GetData() { return m_data; }
    const T& operator[](int index) const { return m_data[index]; }
    T& operator[](int index) { return m_data[index]; }

    // Resizes to newSize (0 frees the buffer). Growing past the capacity allocates
    // max(newSize, capacity + step); new elements are zero. A growBy of -1 keeps the
    // configured step. False, with nothing changed, for a negative size or no memory.
    bool SetSize(int newSize, int growBy = -1) {
        if (newSize < 0) {
            return false;
        }
        if (growBy != -1) {
            m_growBy = growBy;
        }
        if (newSize == 0) {
            CVMem::Deallocate(m_data);
            m_data = nullptr;
            m_size = m_capacity = 0;
            ++m_version;
            return true;
        }
        if (newSize > m_capacity) {
            const int capacity = std::max(newSize, m_capacity + growStep());
            auto* data = static_cast<T*>(CVMem::Allocate(
                static_cast<std::ptrdiff_t>(sizeof(T)) * capacity, __FILE__, __LINE__));
            if (!data) {
                return false;
            }
            if (m_size > 0) {
                std::memcpy(data, m_data, sizeof(T) * m_size);
            }
            CVMem::Deallocate(m_data);
            m_data = data;
            m_capacity = capacity;
        }
        if (newSize > m_size) {
            std::memset(static_cast<void*>(m_data + m_size), 0, sizeof(T) * (newSize - m_size));
        }
        m_size = newSize;
        ++m_version;
        return true;
    }

    // The new element's index, or -1 when there is no memory for it.
    int Add(const T& value) {
        const int index = m_size;
        if (!SetSize(m_size + 1)) {
            return -1;
        }
        m_data[index] = value;
        return index;
    }

    void RemoveAll() { SetSize(0); }

private:
    int growStep() const {
        if (m_growBy != 0) {
            return std::max(m_growBy, 1);
        }
        return m_size < 32 ? 4 : std::min(m_size / 8, 1024);
    }

    void swap(CVArray& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_growBy, other.m_growBy);
    }

    T* m_data = nullptr;
    int m_size = 0;
    int m_capacity = 0;
    int m_growBy = 0;
    int m_version = 0;
};

}  // namespace _zizaz_vi
