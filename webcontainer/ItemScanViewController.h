#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/devices/CaptureDevice.h"
#include "platform/devices/SystemSounds.h"
#include "platform/foundation/JsonFwd.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertViewDelegate.h"
#include "webcontainer/ItemScanDelegate.h"
#include "webcontainer/kCustomViewController.h"

namespace platform {
class ImageView;
class Label;
class View;
}  // namespace platform

// The full-screen camera scanner of QR codes and EAN-13, EAN-8 and Code 128 bar codes. In
// single mode the first code closes it and goes to the delegate; in batch mode every code is
// collected (each once, latest last) until the user leaves with the back button, and the list
// goes to the delegate. The opener sets the language, title, delegate and mode before pushing.
//
// It finishes once: from the moment it closes (by a code or the back button) the scan-line
// timer is invalidated, a pending restart is cancelled, the camera session is stopped and any
// further code or tap is ignored, so the delegate hears exactly one answer.
class ItemScanViewController : public kCustomViewController,
                               public platform::CaptureMetadataOutputObjectsDelegate,
                               public platform::AlertViewDelegate {
public:
    // The scan line sweeps every this many seconds, each sweep lasting kSweepSeconds.
    static constexpr double kScanLineInterval = 2.0;
    static constexpr double kSweepSeconds = 1.8;
    // Batch mode shows the code this long before scanning again.
    static constexpr double kRestartDelay = 0.5;
    static constexpr platform::SystemSoundID kScanSound = 1100;

    ItemScanViewController();
    ~ItemScanViewController() override;

    // YES: Chinese texts; NO: English.
    bool LANG() const { return m_LANG; }
    void setLANG(bool chinese) { m_LANG = chinese; }
    // Kept for the opener; the screen shows its own fixed title.
    const std::string& tittle() const { return m_tittle; }
    void setTittle(std::string title) { m_tittle = std::move(title); }
    // Held for the scanner's life.
    const std::shared_ptr<ItemScanDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::shared_ptr<ItemScanDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // YES: batch mode.
    bool Add() const { return m_Add; }
    void setAdd(bool batch) { m_Add = batch; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void creatUI();
    void setcam();
    void setupCamera();
    void start();
    // One sweep of the scan line down through the box; it jumps back when the sweep ends.
    void animation();
    // CaptureMetadataOutputObjectsDelegate: a recognised code (main thread).
    void captureOutputDidOutputMetadataObjects(
        platform::CaptureMetadataOutput& output,
        const std::vector<platform::MetadataObject>& objects) override;
    // Adds the code to the batch list, removing an earlier entry of the same code.
    void AddItemNumber(const std::string& code);
    // Batch mode: hides the banner and scans again.
    void reStart();
    void backBtnClicked();
    // A code's text read as JSON; nothing, with the overlay "无效二维码", when it is not JSON.
    std::optional<platform::Json> dictionaryWithJsonString(const std::string& text);
    // AlertViewDelegate: the base's alerts need no answer here.
    void clickedButtonAtIndex(platform::AlertView& /*alert*/, int /*index*/) override {}

    // The top of the scan box for a screen of this height.
    static float imageViewHForScreenHeight(double height);

    // --- What the screen holds, for tests and the front end ---------------------------------
    const std::string& itemNumber() const { return m_ItemNumber; }
    const std::vector<std::string>& itemArry() const { return m_ItemArry; }
    // Null before the first appearance.
    const std::shared_ptr<platform::Timer>& timer() const { return m_timer; }
    const std::shared_ptr<platform::CaptureSession>& session() const { return m_session; }
    const std::shared_ptr<platform::Label>& numberBanner() const { return m_Number; }
    const std::shared_ptr<platform::ImageView>& line() const { return m_line; }
    // The camera picture, null while the camera has not started.
    const std::shared_ptr<platform::View>& preview() const { return m_preview; }
    float imageViewH() const { return m_imageViewH; }
    bool isClosed() const { return m_closed; }

private:
    // The steps both exits share; false when the scanner had already closed.
    bool close();
    void popSelf();
    platform::Rect lineRestFrame() const;
    const char* text(const char* chinese, const char* english) const;

    std::string m_ItemNumber;
    std::vector<std::string> m_ItemArry;
    std::shared_ptr<platform::Timer> m_timer;
    std::shared_ptr<platform::ImageView> m_line;
    std::shared_ptr<platform::Label> m_Number;
    float m_imageViewH{180};
    bool m_Add{false};
    bool m_LANG{false};
    std::shared_ptr<ItemScanDelegate> m_delegate;
    std::string m_tittle;
    std::shared_ptr<platform::CaptureDeviceInput> m_input;
    std::shared_ptr<platform::CaptureMetadataOutput> m_output;
    std::shared_ptr<platform::CaptureSession> m_session;
    std::shared_ptr<platform::View> m_preview;
    platform::TaskHandle m_restart;
    bool m_closed{false};
};
