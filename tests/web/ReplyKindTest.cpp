// What a web view makes of a reply by its Content-Type: only HTML is run as a page; other text
// is shown as it stands, its markup as letters and its scripts never run.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <thread>

#include "tests/web/PageTestSupport.h"

namespace pagetest {
namespace {

// A page that, when run, renames itself and writes into its paragraph.
const std::string kBody =
    "<title>as sent</title><p id=\"said\">as sent</p>"
    "<script>document.title = 'script ran';"
    "document.getElementById('said').innerText = 'script ran';</script>";

// Answers every request on 127.0.0.1 with the body and no Content-Type at all, as older
// servers do (the fake services' HTTP library always names one).
class UntypedServer {
public:
    UntypedServer() {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_socket, 8) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~UntypedServer() {
        shutdown(m_socket, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        close(m_socket);
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/reply"; }
    void setBody(std::string body) {
        std::lock_guard lock(m_mutex);
        m_body = std::move(body);
    }

private:
    void serve() {
        for (;;) {
            const int connection = accept(m_socket, nullptr, nullptr);
            if (connection < 0)
                return;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t got = read(connection, buffer, sizeof buffer);
                if (got <= 0)
                    break;
                request.append(buffer, std::size_t(got));
            }
            std::string body;
            {
                std::lock_guard lock(m_mutex);
                body = m_body;
            }
            const std::string reply =
                "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\nConnection: close\r\n\r\n" + body;
            for (std::size_t sent = 0; sent < reply.size();) {
                const ssize_t wrote = write(connection, reply.data() + sent, reply.size() - sent);
                if (wrote <= 0)
                    break;
                sent += std::size_t(wrote);
            }
            close(connection);
        }
    }

    int m_socket = -1;
    int m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::string m_body;
};

class ReplyKindTest : public PageEngineTest {
protected:
    // Loads the body as the server sends it with that Content-Type.
    void openAs(const std::string& type, const std::string& body) {
        server.setReply("GET", "/reply", fakes::Reply{200, type, body});
        open(server.baseUrl() + "/reply");
    }
    void openUntyped(const std::string& body) {
        untyped.setBody(body);
        open(untyped.url());
    }
    UntypedServer untyped;
    bool scriptRan() { return web()->pageTitle() == "script ran" && outlineShows("script ran"); }
    // The reply's own letters, markup and all, on the screen.
    bool shownAsText() {
        return web()->pageTitle().empty() && outlineShows("<script>document.title");
    }
};

TEST_F(ReplyKindTest, OnlyAReplyThatSaysItIsHtmlRunsAsAPage) {
    for (const std::string type :
         {"text/html", "text/html; charset=UTF-8", "TEXT/HTML", "application/xhtml+xml"}) {
        SCOPED_TRACE(type);
        openAs(type, kBody);
        EXPECT_TRUE(scriptRan()) << driver.outline();
    }
    for (const std::string type : {"text/plain", "text/plain; charset=UTF-8", "text/xml",
                                   "application/json", "text/javascript"}) {
        SCOPED_TRACE(type);
        openAs(type, kBody);
        EXPECT_FALSE(scriptRan());
        EXPECT_TRUE(shownAsText()) << driver.outline();
    }
}

TEST_F(ReplyKindTest, AnUntypedReplyIsAPageOnlyWhenItsFirstLetterOpensMarkup) {
    // Space before the markup is still a page, as older servers send them.
    openUntyped(" \r\n\t" + kBody);
    EXPECT_TRUE(scriptRan()) << driver.outline();
    // One letter before it, and the whole reply is text.
    openUntyped("x" + kBody);
    EXPECT_FALSE(scriptRan());
    EXPECT_TRUE(shownAsText()) << driver.outline();
    openUntyped("{\"echo\": \"" + kBody + "\"}");
    EXPECT_FALSE(scriptRan());
    EXPECT_TRUE(shownAsText()) << driver.outline();
}

}  // namespace
}  // namespace pagetest
