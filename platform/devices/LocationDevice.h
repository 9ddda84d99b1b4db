#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/devices/DeviceError.h"
#include "platform/devices/Location.h"

namespace platform {

class LocationManager;

// The horizontal accuracy, in metres, of a fed fix that does not give one.
inline constexpr double kFedFixAccuracy = 5;

// The phone's location hardware and settings, one per process, that every LocationManager
// listens to. Tests and the front end set the authorisation, say how a user answers the
// permission prompt, and feed fixes, headings and failures, one at a time or replayed from a
// file. Everything fed is delivered later on the main run loop, to the managers that want it
// at that moment. As a phone's does, the device remembers the latest fix and heading, allowed
// or not, and hands them, with the time they were taken, to a manager that starts updating
// while location use is allowed (or that was updating when it became allowed), so that a
// screen opened after the phone knew where it was need not wait for the phone to move.
// Main thread only.
class LocationDevice {
public:
    static LocationDevice& shared();

    LocationAuthorizationStatus authorizationStatus() const { return m_status; }
    // Every manager's delegate hears a change on the main run loop.
    void setAuthorizationStatus(LocationAuthorizationStatus status);
    // How the user answers a permission request while not determined; granting by default.
    void setAuthorizationRequestAnswer(bool grant) { m_grantWhenAsked = grant; }
    bool locationServicesEnabled() const { return m_servicesEnabled; }
    void setLocationServicesEnabled(bool enabled) { m_servicesEnabled = enabled; }

    // A fix without a timestamp is stamped with the run loop's time when delivered; that
    // stamp stays with it when it is handed over later.
    void injectLocation(const Location& location);
    void injectHeading(const Heading& heading);
    // An error every updating manager reports (a lost signal, say).
    void injectFailure(const DeviceError& error);

    // Replays a file of fixes, one "LATITUDE LONGITUDE [ACCURACY]" a line (blank lines and
    // "#" comments skipped): the first at once, each next one `interval` later on the run
    // loop's clock. A file that cannot be read or has a bad line is refused whole, with the
    // line in `error`. A new replay replaces one still running.
    bool replayFile(const std::filesystem::path& path, Duration interval,
                    std::string* error = nullptr);
    void stopReplay();
    bool isReplaying() const;

    // Not determined, granting when asked, enabled, no replay, nothing remembered; managers
    // keep listening.
    void reset();

private:
    friend class LocationManager;
    LocationDevice() = default;
    uint64_t add(LocationManager* manager);
    void remove(uint64_t id);
    void requestAuthorization(LocationAuthorizationStatus granted);
    bool allowsUpdates() const;
    // Runs `deliver` for each manager still alive, re-checking after each call (a delegate
    // may destroy managers).
    void forEachManager(const std::function<void(LocationManager&)>& deliver);
    void deliverLocation(Location location);
    // Gives the manager the remembered fix and heading that it updates and has not had since
    // it started, while location use is allowed.
    void handOverLatest(uint64_t id);
    // The same for every manager.
    void handOverToUpdatingManagers();

    std::map<uint64_t, LocationManager*> m_managers;
    uint64_t m_nextId{1};
    LocationAuthorizationStatus m_status{LocationAuthorizationStatus::NotDetermined};
    bool m_grantWhenAsked{true};
    bool m_servicesEnabled{true};
    std::vector<TaskHandle> m_replay;
    // The fix and heading last delivered, for managers that start later.
    std::optional<Location> m_latestLocation;
    std::optional<Heading> m_latestHeading;
};

}  // namespace platform
