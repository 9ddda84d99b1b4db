#pragma once

#include <atomic>
#include <memory>

#include "platform/webkit/WebEngine.h"

namespace platform::webkit {

class GtkThread;
class KitContext;
struct KitViewCore;

// An EngineView on a WebKitWebView in an offscreen window. The host holds this object on its
// main thread; the WebKit side (KitViewCore) lives on the GTK thread and goes with this one.
class KitView final : public EngineView {
public:
    KitView(GtkThread& thread, KitContext& context, const EngineHost& host,
            std::weak_ptr<ViewClient> client, const ViewOptions& options);
    ~KitView() override;

    void setGeometry(int width, int height, double zoom) override;
    void load(const LoadRequest& request) override;
    void loadHTML(const std::string& html, const std::string& baseURL) override;
    void decide(std::uint64_t navigation, bool allow) override;
    void stop() override;
    void reload(bool ignoreCache) override;
    void goBack() override;
    void goForward() override;
    void evaluate(const std::string& script, World world,
                  std::function<void(std::optional<std::string>)> done) override;
    std::optional<std::string> evaluateWithin(const std::string& script, World world,
                                              std::chrono::milliseconds bound) override;
    void sync(std::function<void()> done) override;
    void snapshot(std::function<void(std::shared_ptr<const Pixels>)> done) override;
    void setLive(bool live) override;
    void paintNow() override;
    void click(double x, double y) override;
    void key(const std::string& keysym) override;
    void scroll(double dx, double dy, double x, double y) override;
    void answerDialog(std::uint64_t id, bool accepted, const std::string& text) override;
    void answerChoices(std::uint64_t id, int index) override;
    void answerFiles(std::uint64_t id, const std::vector<std::string>& paths) override;
    void terminate() override;

private:
    void onCore(std::function<void(KitViewCore&)> task);

    GtkThread& m_thread;
    std::shared_ptr<KitViewCore> m_core;
};

}  // namespace platform::webkit
