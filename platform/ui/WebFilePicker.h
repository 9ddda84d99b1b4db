#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class WebView;

// One ask of a page's file field (<input type=file> tapped, or clicked by its script). The page
// waits for its answer: until it comes, the page opens no other file chooser. So the ask is
// answered exactly once, whatever happens: by the picker's answer, by the web view withdrawing
// it (its page went away, or the web view did), or, when every holder lets it go unanswered
// (a picker closed without a word), with no files. Main thread only.
class WebFileAsk {
public:
    using Reply = std::function<void(std::vector<std::string> paths)>;

    WebFileAsk(bool multiple, std::vector<std::string> mimeTypes, Reply reply);
    ~WebFileAsk();
    WebFileAsk(const WebFileAsk&) = delete;
    WebFileAsk& operator=(const WebFileAsk&) = delete;

    // Whether the field takes more than one file.
    bool multiple() const { return m_multiple; }
    // The MIME types of the field's accept attribute ("image/*", "application/pdf"); empty when
    // it names none. File name extensions it accepts are not told.
    const std::vector<std::string>& mimeTypes() const { return m_mimeTypes; }
    // Whether a picture is something the field takes: it names no type, or an image type.
    bool acceptsImages() const;

    // The files chosen (paths of files that exist), or none: the field stays as it was. Only
    // the first answer reaches the page; false for a later one, or for an ask withdrawn, whose
    // files the page never sees.
    bool answer(std::vector<std::string> paths);
    // Not yet answered nor withdrawn.
    bool isOpen() const { return static_cast<bool>(m_reply); }
    // Runs (on a later turn of the main loop) when the web view withdraws the ask, so that the
    // picker closes: what it would choose can reach no page. Never after an answer.
    void onWithdrawn(std::function<void()> withdrawn) { m_withdrawn = std::move(withdrawn); }

private:
    friend class WebView;
    void withdraw();

    bool m_multiple;
    std::vector<std::string> m_mimeTypes;
    Reply m_reply;
    std::function<void()> m_withdrawn;
};

// What a web view's file fields open (WebView::setFilePicker): the layer that owns a picker
// implements it, since the web view knows none of them.
class WebFilePicker {
public:
    virtual ~WebFilePicker() = default;
    // A file field of the page shown in `webView` asked. The ask may be answered now or later,
    // and held as long as the picker shows.
    virtual void pickFiles(WebView& webView, std::shared_ptr<WebFileAsk> ask) = 0;
};

}  // namespace platform
