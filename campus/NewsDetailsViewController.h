#pragma once

#include <memory>
#include <string>

#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"

namespace platform {
class ImageView;
class Label;
class View;
class WebView;
}  // namespace platform

// The detail page of one school news item or notice: headline, publication time and the HTML
// body in a web view, with the school's watermark under the body. The opener sets the texts
// (and, for a notice, the channel's name as the title) before pushing it.
//
// Image paths of the body get the school web site's root put in front, since the page itself
// has no base address. The shared status overlay ("加载中...") shows until the page has
// loaded, failed to load, or gone away.
class NewsDetailsViewController : public platform::ViewController,
                                  public platform::WebViewDelegate {
public:
    static constexpr const char* kTitle = "详细信息";
    static constexpr const char* kLoadingText = "加载中...";
    static constexpr const char* kWatermarkImage = "新闻底部logo水印";
    static constexpr double kWatermarkHeight = 150;

    NewsDetailsViewController();
    ~NewsDetailsViewController() override;

    const std::string& titleStr() const { return m_titleStr; }
    void setTitleStr(std::string text) { m_titleStr = std::move(text); }
    const std::string& timeStr() const { return m_timeStr; }
    void setTimeStr(std::string text) { m_timeStr = std::move(text); }
    // The body as the opener gave it; an empty one shows an empty page.
    const std::string& contentStr() const { return m_contentStr; }
    void setContentStr(std::string text) { m_contentStr = std::move(text); }
    // The navigation title: "详细信息" for news; a notice shows its channel's name.
    const std::string& naviTitleStr() const { return m_naviTitleStr; }
    void setNaviTitleStr(std::string text) { m_naviTitleStr = std::move(text); }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Null until the view has loaded.
    const std::shared_ptr<platform::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<platform::Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<platform::View>& lineView() const { return m_lineView; }
    const std::shared_ptr<platform::WebView>& contentWebView() const { return m_contentWebView; }
    // The watermark under the content shown, once a load has finished.
    const std::shared_ptr<platform::ImageView>& imgView() const { return m_imgView; }

    void backBtnWithAction();

    // platform::WebViewDelegate
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;

private:
    void createTabBar();
    void createUI();

    std::string m_titleStr;
    std::string m_timeStr;
    std::string m_contentStr;
    std::string m_naviTitleStr{kTitle};

    std::shared_ptr<platform::Label> m_titleLabel;
    std::shared_ptr<platform::Label> m_timeLabel;
    std::shared_ptr<platform::View> m_lineView;
    std::shared_ptr<platform::WebView> m_contentWebView;
    std::shared_ptr<platform::ImageView> m_imgView;
    // The content height of the page itself, without the watermark's room, and the height
    // this page last gave the content: a finish that finds its own height again keeps the base.
    double m_baseContentHeight{0};
    double m_extendedContentHeight{-1};
};
