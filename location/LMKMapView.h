#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "location/LMKLocationViewDisplayParam.h"
#include "location/LMKMapViewDelegate.h"
#include "platform/devices/Annotation.h"
#include "platform/devices/Location.h"
#include "platform/ui/View.h"

class LMKUserLocation;

// How the map keeps the user in view.
enum class LMKUserTrackingMode {
    None = 0,               // the map stays where it is
    Follow = 1,             // the map centres on the user
    FollowWithHeading = 2,  // ... and turns the user's heading up
};

// The vendor's map view, standing in for the real one: it keeps what its application asks of
// it (zoom level, centre, tracking mode, whether the user shows, the user location, pins,
// appearance) and draws a plain map area with the pins and the user's dot, so screenshots
// and outlines show what a user would see. Coordinates are in the vendor's datum, as the
// location service hands them over. Main thread only.
class LMKMapView : public platform::View {
public:
    static constexpr float kMinZoomLevel = 3;
    static constexpr float kMaxZoomLevel = 21;

    explicit LMKMapView(const platform::Rect& frame = {});

    std::shared_ptr<LMKMapViewDelegate> delegate() const { return m_delegate.lock(); }
    // Held weakly; an empty pointer unregisters.
    void setDelegate(std::weak_ptr<LMKMapViewDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    float zoomLevel() const { return m_zoomLevel; }
    // Kept within the map's range; a level that is not a number is ignored.
    void setZoomLevel(float level);
    // Metres one point of the screen covers at the centre, at the current zoom level.
    double metresPerPoint() const;

    // Where the map is centred. While following the user it is the user's coordinate.
    platform::Coordinate centerCoordinate() const;
    void setCenterCoordinate(const platform::Coordinate& coordinate);

    LMKUserTrackingMode userTrackingMode() const { return m_userTrackingMode; }
    void setUserTrackingMode(LMKUserTrackingMode mode) { setDisplayed(m_userTrackingMode, mode); }
    bool showsUserLocation() const { return m_showsUserLocation; }
    void setShowsUserLocation(bool shows) { setDisplayed(m_showsUserLocation, shows); }

    // Moves the user marker to the location and heading the user location holds now (a copy
    // is kept: the service updates its one object in place).
    void updateLocationData(const LMKUserLocation& userLocation);
    // Restyles the user marker's accuracy circle.
    void updateLocationViewWithParam(const LMKLocationViewDisplayParam& param) {
        m_displayParam = param;
        setNeedsDisplay();
    }
    const std::optional<platform::Location>& userLocation() const { return m_userLocation; }
    const std::optional<platform::Heading>& userHeading() const { return m_userHeading; }
    // How many user location updates the map has been given.
    int locationUpdateCount() const { return m_locationUpdateCount; }

    // A pin at the annotation's coordinate (the vendor's datum), drawn with its title; the map
    // reads the annotation each time it draws. A null annotation is ignored.
    void addAnnotation(std::shared_ptr<const platform::Annotation> annotation);
    void removeAllAnnotations() {
        if (!m_annotations.empty()) {
            m_annotations.clear();
            setNeedsDisplay();
        }
    }
    const std::vector<std::shared_ptr<const platform::Annotation>>& annotations() const {
        return m_annotations;
    }

    // The application forwards its screen's appearance.
    void viewWillAppear() { m_appearing = true; }
    void viewWillDisappear() { m_appearing = false; }
    bool isAppearing() const { return m_appearing; }

    // Where a coordinate lands in the view's bounds at the current centre and zoom.
    platform::Point pointForCoordinate(const platform::Coordinate& coordinate) const;

    void draw(platform::BitmapContext& context, const platform::Rect& rect) override;
    std::string describe() const override;

private:
    bool showsUserDot() const { return m_showsUserLocation && m_userLocation.has_value(); }

    std::weak_ptr<LMKMapViewDelegate> m_delegate;
    float m_zoomLevel = 16;
    platform::Coordinate m_center;
    LMKUserTrackingMode m_userTrackingMode = LMKUserTrackingMode::None;
    bool m_showsUserLocation = false;
    std::optional<platform::Location> m_userLocation;
    std::optional<platform::Heading> m_userHeading;
    int m_locationUpdateCount = 0;
    LMKLocationViewDisplayParam m_displayParam;
    std::vector<std::shared_ptr<const platform::Annotation>> m_annotations;
    bool m_appearing = false;
};
