#include "location/LMKLocationServiceInternal.h"

#include "location/CoordinateConversion.h"
#include "location/LMAppTools.h"

void LMKLocationServiceInternal::didUpdateLocations(
    platform::LocationManager&, const std::vector<platform::Location>& locations) {
    for (const auto& location : locations) {
        if (!m_active) {
            return;
        }
        didUpdateToLocation(location);
    }
}

void LMKLocationServiceInternal::didUpdateToLocation(const platform::Location& fix) {
    if (fix.horizontalAccuracy < 0) {
        return;  // an invalid fix
    }
    // The offset's jitter moves on with every conversion, so an unchanged fix reuses the last
    // result rather than wandering.
    if (!m_hasConverted || fix.coordinate.longitude != m_curGPSCoordinate.longitude ||
        fix.coordinate.latitude != m_curGPSCoordinate.latitude) {
        m_curGPSCoordinate = fix.coordinate;
        m_hasConverted = true;
        const LMPoint mercator = LMAppTools::CoordinateEncrypt(
            fix.coordinate.longitude, fix.coordinate.latitude, LMAppTools::kWgs84LonLat);
        const LMPoint ld09 = Ld09MCToLL(mercator);
        m_curBDCoordinate = {ld09.y, ld09.x};
    }
    m_updating = true;
    platform::Location location = fix;  // only the coordinate is converted
    location.coordinate = m_curBDCoordinate;
    m_location = location;
    if (auto delegate = m_delegate.lock()) {
        delegate->didUpdateLMKUserLocation(*this);
    }
}

void LMKLocationServiceInternal::didUpdateHeading(platform::LocationManager&,
                                                  const platform::Heading& heading) {
    if (!m_active) {
        return;
    }
    m_heading = heading;
    m_updating = false;
    if (auto delegate = m_delegate.lock()) {
        delegate->didUpdateUserHeading(*this);
    }
}

void LMKLocationServiceInternal::didFailWithError(platform::LocationManager&,
                                                  const platform::DeviceError& error) {
    if (!m_active) {
        return;
    }
    if (auto delegate = m_delegate.lock()) {
        delegate->didFailToLocateUserWithError(error);
    }
}
