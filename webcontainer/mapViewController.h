#pragma once

#include <memory>
#include <string>

#include "location/LMKLocationServiceDelegate.h"
#include "location/LMKMapViewDelegate.h"
#include "platform/ui/ViewController.h"

class LMKLocationService;
class LMKMapView;

// The map page a web page opens: the vendor's map, zoomed in on the user and following the
// user's position, fed by a location service of its own that starts when the page loads.
// Location updates reach the map only while the page is on screen. The service stops when
// the page leaves the navigation stack or is released, whichever comes first, and a page
// that has gone is never called back.
class mapViewController : public platform::ViewController,
                          public LMKMapViewDelegate,
                          public LMKLocationServiceDelegate {
public:
    static constexpr const char* kTitle = "地址";
    static constexpr float kZoomLevel = 18;

    mapViewController();
    ~mapViewController() override;

    // Given by the opener; the map centres on the user whatever they hold.
    const std::string& longitude() const { return m_longitude; }
    void setLongitude(std::string longitude) { m_longitude = std::move(longitude); }
    const std::string& latitude() const { return m_latitude; }
    void setLatitude(std::string latitude) { m_latitude = std::move(latitude); }

    // The map view of the page's layout; null before the view loads.
    std::shared_ptr<LMKMapView> mapView() const { return m_mapView.lock(); }
    // The page's location service; null before the view loads.
    const LMKLocationService* locService() const { return m_locService.get(); }

    // The layout: the map fills the page.
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    // Leaves the page, animated.
    void back();

    // LMKLocationServiceDelegate
    void willStartLocatingUser() override;
    void didUpdateUserHeading(LMKUserLocation& userLocation) override;
    void didUpdateLMKUserLocation(LMKUserLocation& userLocation) override;
    void didStopLocatingUser() override;
    void didFailToLocateUserWithError(const platform::DeviceError& error) override;

private:
    void stopLocationService();

    std::unique_ptr<LMKLocationService> m_locService;
    std::string m_longitude;
    std::string m_latitude;
    std::weak_ptr<LMKMapView> m_mapView;
};
