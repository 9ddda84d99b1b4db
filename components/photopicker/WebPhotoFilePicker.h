#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/ui/WebFilePicker.h"

namespace platform::components {

// What a web page's file field opens in the client, as the phone's web view offers its photos:
// where the phone has a camera, a sheet of "拍照", "从照片中提取" and "取消" (the web
// container's own photo sheet), else the album at once; the album is the client's photo
// picker, with one photo for a field that takes one and any number for one that takes many.
// Each picture is written as a JPEG file of its own in the app's temporary folder, and the page
// gets those files (its change event fires). "取消", or the picker closed any other way,
// leaves the field as it was. A field whose accept names only types other than pictures gets
// nothing at once: the client has no other files to offer, and a photo would be a file the
// page said it does not take. The files written are removed when this picker goes, with the
// web view that holds it. Main thread only.
class WebPhotoFilePicker final : public WebFilePicker,
                                 public std::enable_shared_from_this<WebPhotoFilePicker> {
public:
    static constexpr const char* kTakePhoto = "拍照";
    static constexpr const char* kFromAlbum = "从照片中提取";
    static constexpr const char* kCancel = "取消";
    // The phone's web view hands pages a photo of good quality, not the container's small
    // upload.
    static constexpr double kJpegQuality = 0.8;

    ~WebPhotoFilePicker() override;

    void pickFiles(WebView& webView, std::shared_ptr<WebFileAsk> ask) override;

    // The files written for the pages so far, oldest first.
    const std::vector<std::filesystem::path>& writtenFiles() const { return m_written; }

private:
    class Session;

    // The ask showing now: a field asks again only once it is answered.
    std::weak_ptr<Session> m_session;
    std::vector<std::filesystem::path> m_written;
};

}  // namespace platform::components
