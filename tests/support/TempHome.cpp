#include "tests/support/TempHome.h"

#include <cstdlib>
#include <string>

namespace testsupport {

TempHome::TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "campus-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    m_path = made ? std::filesystem::path(made) : std::filesystem::path(pattern);
    setenv("CAMPUS_HOME", m_path.c_str(), 1);
}

TempHome::~TempHome() {
    unsetenv("CAMPUS_HOME");
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

}  // namespace testsupport
