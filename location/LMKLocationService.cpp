#include "location/LMKLocationService.h"

#include <string>

#include "location/LMKLocationServiceInternal.h"
#include "platform/devices/LocationManager.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"

namespace {

// The SDK ships as a base component and this location component, which must match.
constexpr const char* kLocationComponentVersion = "3.0.0";
constexpr const char* kBaseComponentVersion = "3.0.0";

}  // namespace

bool LMKLocationService::checkComponentVersions() {
    if (std::string(kLocationComponentVersion) == kBaseComponentVersion) {
        return true;
    }
    platform::log("/****** ZizazMapAPI 重要提醒 ******/");
    platform::log("location组件的版本和base组件的版本不一致，请保持一致，否则不能正常使用");
    return false;
}

std::unique_ptr<LMKLocationService> LMKLocationService::create() {
    if (!checkComponentVersions()) {
        return nullptr;
    }
    return std::unique_ptr<LMKLocationService>(new LMKLocationService());
}

LMKLocationService::LMKLocationService()
    : m_internal(std::make_shared<LMKLocationServiceInternal>()) {
    initLocationManager();
    setDistanceFilter(platform::kDistanceFilterNone);
    setDesiredAccuracy(platform::kLocationAccuracyBest);
    setHeadingFilter(1.0);
    setPausesLocationUpdatesAutomatically(true);
    setAllowsBackgroundLocationUpdates(false);
}

LMKLocationService::~LMKLocationService() {
    stopUserLocationService();
}

void LMKLocationService::initLocationManager() {
    m_locationManager = std::make_unique<platform::LocationManager>();
    const auto& bundle = platform::Bundle::main();
    const bool always =
        bundle.objectForInfoDictionaryKey("NSLocationAlwaysUsageDescription").has_value();
    const bool whenInUse =
        bundle.objectForInfoDictionaryKey("NSLocationWhenInUseUsageDescription").has_value();
    if (always && !whenInUse) {
        m_locationManager->requestAlwaysAuthorization();
    } else {
        m_locationManager->requestWhenInUseAuthorization();
    }
}

std::shared_ptr<LMKUserLocation> LMKLocationService::userLocation() const {
    return m_internal;
}

void LMKLocationService::setDelegate(std::weak_ptr<LMKLocationServiceDelegate> delegate) {
    m_delegate = delegate;
    m_internal->setDelegate(std::move(delegate));
}

void LMKLocationService::setDistanceFilter(double metres) {
    m_distanceFilter = metres;
    m_locationManager->setDistanceFilter(metres);
}

void LMKLocationService::setDesiredAccuracy(double metres) {
    m_desiredAccuracy = metres;
    m_locationManager->setDesiredAccuracy(metres);
}

void LMKLocationService::setHeadingFilter(double degrees) {
    m_headingFilter = degrees;
    m_locationManager->setHeadingFilter(degrees);
}

void LMKLocationService::setPausesLocationUpdatesAutomatically(bool pauses) {
    m_pausesLocationUpdatesAutomatically = pauses;
    if (platform::Application::shared().systemVersionNumber() >= 6.0) {
        m_locationManager->setPausesLocationUpdatesAutomatically(pauses);
    }
}

void LMKLocationService::setAllowsBackgroundLocationUpdates(bool allows) {
    m_allowsBackgroundLocationUpdates = allows;
    if (platform::Application::shared().systemVersionNumber() >= 9.0) {
        m_locationManager->setAllowsBackgroundLocationUpdates(allows);
    }
}

void LMKLocationService::startUserLocationService() {
    if (m_isLocationing) {
        return;
    }
    m_isLocationing = true;
    m_internal->setActive(true);
    m_locationManager->setDelegate(m_internal);
    if (auto delegate = m_delegate.lock()) {
        delegate->willStartLocatingUser();
    }
    // The delegate may have stopped the service from its callback.
    if (m_isLocationing) {
        m_locationManager->startUpdatingLocation();
        m_locationManager->startUpdatingHeading();
    }
}

void LMKLocationService::stopUserLocationService() {
    if (!m_isLocationing) {
        return;
    }
    m_isLocationing = false;
    m_internal->setActive(false);
    m_locationManager->setDelegate({});
    m_locationManager->stopUpdatingLocation();
    m_locationManager->stopUpdatingHeading();
    if (auto delegate = m_delegate.lock()) {
        delegate->didStopLocatingUser();
    }
}

double LMKLocationService::getCurrentLocationDistanceFilter() {
    return platform::kDistanceFilterNone;
}

double LMKLocationService::getCurrentLocationDesiredAccuracy() {
    return platform::kLocationAccuracyBest;
}
