#include "platform/ui/WebView.h"
#include "webcontainer/WebDetailViewController.h"

// Until the command bridge lands: a reply is the script run in the page, on the main thread.
void WebDetailViewController::executeCallBack(const std::string& script) {
    if (m_webView)
        m_webView->stringByEvaluatingJavaScriptFromString(script);
}
