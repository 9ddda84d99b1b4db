#pragma once

#include <filesystem>

namespace testsupport {

// A fresh data directory for one test: CAMPUS_HOME points at it while the object lives.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace testsupport
