#pragma once

namespace testsupport {

// A port on 127.0.0.1 that refuses every connection at once: held bound but not listening,
// so no other program can take it meanwhile.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

}  // namespace testsupport
