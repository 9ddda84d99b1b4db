#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

namespace platform {

enum class SocialComposeResult { Cancelled = 0, Done = 1 };

// The phone's composer of posts to a social network account set up in the system settings.
// The stand-in device has no such account for any service type unless tests or the front
// end give it one. When presented it records what it was given and waits for the device's
// user to post or cancel; the completion runs on the main run loop. Main thread only.
class SocialComposeViewController : public ViewController {
public:
    struct Post {
        std::string serviceType;
        std::string text;
        std::vector<Image> images;
    };

    // --- The device (process-wide) ------------------------------------------------------
    static bool isAvailableForServiceType(const std::string& serviceType);
    static void setAvailableForServiceType(const std::string& serviceType, bool available);
    static std::shared_ptr<SocialComposeViewController> openComposer();
    static bool finishOpenComposer(SocialComposeResult result);
    static const std::vector<Post>& presentedPosts();
    static void resetDevice();

    // --- One composer -------------------------------------------------------------------
    explicit SocialComposeViewController(std::string serviceType);
    const Post& post() const { return m_post; }
    void setInitialText(std::string text) { m_post.text = std::move(text); }
    void addImage(const Image& image) { m_post.images.push_back(image); }
    void setCompletionHandler(std::function<void(SocialComposeResult)> handler) {
        m_completion = std::move(handler);
    }
    void finish(SocialComposeResult result);
    bool isFinished() const { return m_finished; }

protected:
    void loadView() override;
    void viewDidAppear(bool animated) override;

private:
    Post m_post;
    std::function<void(SocialComposeResult)> m_completion;
    bool m_finished{false};
    bool m_recorded{false};
};

}  // namespace platform
