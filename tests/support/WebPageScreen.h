#pragma once

// A screen that is nothing but a web view filling it: what the web tests and the page probes
// open pages in.

#include <memory>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"

namespace testsupport {

class WebPageScreen : public platform::ViewController {
public:
    void viewDidLoad() override {
        webView = platform::View::make<platform::WebView>(view()->bounds());
        view()->addSubview(webView);
    }
    std::shared_ptr<platform::WebView> webView;
};

}  // namespace testsupport
