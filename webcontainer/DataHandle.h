#pragma once

#include <cstdint>

// The page the image preview opens on, shared by the pager's parts. Nothing changes it, so the
// preview always opens on its first image. Main thread only.
class DataHandle {
public:
    static DataHandle& sharePageIndex();

    std::int32_t pageIndex() const { return m_pageIndex; }
    void setPageIndex(std::int32_t index) { m_pageIndex = index; }

private:
    DataHandle() = default;
    std::int32_t m_pageIndex{0};
};
