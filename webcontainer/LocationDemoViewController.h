#pragma once

#include <memory>

#include "location/LMKMapView.h"
#include "webcontainer/LocatingMapScreen.h"

namespace platform {
class Button;
}

// The location SDK's demonstration: the map with four buttons that start and stop locating
// and switch between the plain, following and compass states, and a bar button that restyles
// the accuracy circle. Locating starts only when the user asks; as on the map page, updates
// reach the map only while the screen is on top.
class LocationDemoViewController : public LocatingMapScreen {
public:
    static constexpr const char* kCustomCircleTitle = "自定义精度圈";
    static constexpr double kDisabledAlpha = 0.6;

    LocationDemoViewController();

    std::shared_ptr<platform::Button> startBtn() const { return m_startBtn.lock(); }
    std::shared_ptr<platform::Button> stopBtn() const { return m_stopBtn.lock(); }
    std::shared_ptr<platform::Button> followingBtn() const { return m_followingBtn.lock(); }
    std::shared_ptr<platform::Button> followHeadBtn() const { return m_followHeadBtn.lock(); }

    // The layout: the map above a row of the four buttons, both stretching with the view, so
    // that the screen takes every orientation the device does, unlike the client's upright
    // screens.
    void loadView() override;
    platform::InterfaceOrientationMask supportedInterfaceOrientations() const override;
    void viewDidLoad() override;

    void startLocation();
    void startFollowHeading();
    void startFollowing();
    void stopLocation();
    void customLocationAccuracyCircle();

private:
    // Shows the user again under another tracking mode, so the map takes it up at once.
    void showUserWithMode(LMKUserTrackingMode mode);
    void setButtonsLocating(bool locating);

    std::weak_ptr<platform::Button> m_startBtn;
    std::weak_ptr<platform::Button> m_stopBtn;
    std::weak_ptr<platform::Button> m_followingBtn;
    std::weak_ptr<platform::Button> m_followHeadBtn;
};
