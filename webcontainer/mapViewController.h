#pragma once

#include <string>

#include "webcontainer/LocatingMapScreen.h"

// The map page a web page opens: the vendor's map, zoomed in on the user and following the
// user's position, fed by a location service of its own that starts when the page loads.
// Location updates reach the map only while the page is on screen. The service stops when
// the page leaves the navigation stack or is released, whichever comes first, and a page
// that has gone is never called back.
class mapViewController : public LocatingMapScreen {
public:
    static constexpr const char* kTitle = "地址";
    static constexpr float kZoomLevel = 18;

    mapViewController();

    // Given by the opener; the map centres on the user whatever they hold.
    const std::string& longitude() const { return m_longitude; }
    void setLongitude(std::string longitude) { m_longitude = std::move(longitude); }
    const std::string& latitude() const { return m_latitude; }
    void setLatitude(std::string latitude) { m_latitude = std::move(latitude); }

    // The layout: the map fills the page.
    void loadView() override;
    void viewDidLoad() override;
    void viewDidDisappear(bool animated) override;
    // Leaves the page, animated.
    void back();

private:
    std::string m_longitude;
    std::string m_latitude;
};
