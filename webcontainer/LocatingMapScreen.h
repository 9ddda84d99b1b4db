#pragma once

#include <memory>
#include <string>

#include "location/LMKLocationServiceDelegate.h"
#include "location/LMKMapViewDelegate.h"
#include "platform/ui/ViewController.h"

class LMKLocationService;
class LMKMapView;
class LMKUserLocation;

// What the map screens share: a map view fed by a location service of the screen's own. The
// map and the service hear the screen only while it is on top, so updates reach the map only
// then; each update moves the map's user marker. The service is stopped, having forgotten the
// screen, when the screen is destroyed, so a screen that has gone is never called back.
class LocatingMapScreen : public platform::ViewController,
                          public LMKMapViewDelegate,
                          public LMKLocationServiceDelegate {
public:
    ~LocatingMapScreen() override;

    // The map view of the screen's layout; null before the view loads.
    std::shared_ptr<LMKMapView> mapView() const { return m_mapView.lock(); }
    // The screen's location service; null before the view loads.
    const LMKLocationService* locService() const { return m_locService.get(); }

    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // LMKLocationServiceDelegate
    void willStartLocatingUser() override;
    void didUpdateUserHeading(LMKUserLocation& userLocation) override;
    void didUpdateLMKUserLocation(LMKUserLocation& userLocation) override;
    void didStopLocatingUser() override;
    void didFailToLocateUserWithError(const platform::DeviceError& error) override;

    // The user's heading as the log shows it ("heading is %@"); empty without one.
    static std::string headingText(const LMKUserLocation& userLocation);

protected:
    LocatingMapScreen();
    // A view filling the screen whose map (handle "map") fills it but for `bottomSpace`
    // points at the bottom; the map becomes mapView().
    std::shared_ptr<platform::View> makeMapLayout(double bottomSpace);
    // Makes the screen's service, not started.
    void makeLocationService();
    LMKLocationService* service() { return m_locService.get(); }
    // Forgets the screen, then stops locating.
    void stopLocationService();

private:
    std::unique_ptr<LMKLocationService> m_locService;
    std::weak_ptr<LMKMapView> m_mapView;
};
