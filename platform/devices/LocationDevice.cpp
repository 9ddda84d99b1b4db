#include "platform/devices/LocationDevice.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "platform/devices/LocationManager.h"
#include "platform/foundation/CheckedTime.h"
#include "platform/foundation/Files.h"

namespace platform {

namespace {

std::optional<double> parseNumber(const std::string& word) {
    char* end = nullptr;
    double value = std::strtod(word.c_str(), &end);
    if (word.empty() || end != word.c_str() + word.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool fail(std::string* error, std::string reason) {
    if (error) {
        *error = std::move(reason);
    }
    return false;
}

}  // namespace

LocationDevice& LocationDevice::shared() {
    static LocationDevice device;
    return device;
}

uint64_t LocationDevice::add(LocationManager* manager) {
    uint64_t id = m_nextId++;
    m_managers[id] = manager;
    return id;
}

void LocationDevice::remove(uint64_t id) {
    m_managers.erase(id);
}

bool LocationDevice::allowsUpdates() const {
    return m_servicesEnabled && (m_status == LocationAuthorizationStatus::AuthorizedAlways ||
                                 m_status == LocationAuthorizationStatus::AuthorizedWhenInUse);
}

void LocationDevice::forEachManager(const std::function<void(LocationManager&)>& deliver) {
    std::vector<uint64_t> ids;
    for (const auto& [id, manager] : m_managers) {
        ids.push_back(id);
    }
    for (uint64_t id : ids) {
        auto found = m_managers.find(id);
        if (found != m_managers.end()) {
            deliver(*found->second);
        }
    }
}

void LocationDevice::setAuthorizationStatus(LocationAuthorizationStatus status) {
    if (status == m_status) {
        return;
    }
    m_status = status;
    RunLoop::main().post([this, status] {
        forEachManager([status](LocationManager& m) { m.authorizationChanged(status); });
        handOverToUpdatingManagers();
    });
}

void LocationDevice::requestAuthorization(LocationAuthorizationStatus granted) {
    if (m_status != LocationAuthorizationStatus::NotDetermined) {
        return;
    }
    // The prompt is answered later, as a person would.
    RunLoop::main().post([this, granted] {
        if (m_status != LocationAuthorizationStatus::NotDetermined) {
            return;
        }
        auto answer = m_grantWhenAsked ? granted : LocationAuthorizationStatus::Denied;
        m_status = answer;
        forEachManager([answer](LocationManager& m) { m.authorizationChanged(answer); });
        handOverToUpdatingManagers();
    });
}

void LocationDevice::deliverLocation(Location location) {
    if (location.timestamp == TimePoint{}) {
        location.timestamp = RunLoop::main().now();
    }
    m_latestLocation = location;
    forEachManager([&location](LocationManager& m) { m.receive(location); });
}

void LocationDevice::handOverLatest(uint64_t id) {
    if (!allowsUpdates()) {
        return;
    }
    // Copies, and the manager looked up again after each call: its delegate may feed or reset
    // the device, or destroy the manager, from its callback.
    auto manager = m_managers.find(id);
    if (auto fix = m_latestLocation;
        fix && manager != m_managers.end() && !manager->second->m_hasFixSinceStart) {
        manager->second->receive(*fix);
    }
    manager = m_managers.find(id);
    if (auto heading = m_latestHeading;
        heading && manager != m_managers.end() && !manager->second->m_hasHeadingSinceStart) {
        manager->second->receive(*heading);
    }
}

void LocationDevice::handOverToUpdatingManagers() {
    std::vector<uint64_t> ids;
    for (const auto& entry : m_managers) {
        ids.push_back(entry.first);
    }
    for (uint64_t id : ids) {
        handOverLatest(id);
    }
}

void LocationDevice::injectLocation(const Location& location) {
    RunLoop::main().post([this, location] { deliverLocation(location); });
}

void LocationDevice::injectHeading(const Heading& heading) {
    RunLoop::main().post([this, heading] {
        Heading stamped = heading;
        if (stamped.timestamp == TimePoint{}) {
            stamped.timestamp = RunLoop::main().now();
        }
        m_latestHeading = stamped;
        forEachManager([&stamped](LocationManager& m) { m.receive(stamped); });
    });
}

void LocationDevice::injectFailure(const DeviceError& error) {
    RunLoop::main().post(
        [this, error] { forEachManager([&error](LocationManager& m) { m.receive(error); }); });
}

bool LocationDevice::replayFile(const std::filesystem::path& path, Duration interval,
                                std::string* error) {
    std::string reason;
    auto text = readFile(path, &reason);
    if (!text) {
        return fail(error, path.string() + ": " + reason);
    }
    std::vector<Location> fixes;
    std::istringstream lines(*text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string word; words >> word;) {
            parts.push_back(word);
        }
        if (parts.empty() || parts.front().front() == '#') {
            continue;
        }
        auto bad = [&] {
            return fail(error, path.string() + " line " + std::to_string(number) +
                                   ": expected \"LATITUDE LONGITUDE [ACCURACY]\"");
        };
        if (parts.size() < 2 || parts.size() > 3) {
            return bad();
        }
        std::vector<double> numbers;
        for (const auto& part : parts) {
            auto number = parseNumber(part);
            if (!number) {
                return bad();
            }
            numbers.push_back(*number);
        }
        Location fix;
        fix.coordinate = Coordinate{numbers[0], numbers[1]};
        fix.horizontalAccuracy = numbers.size() > 2 ? numbers[2] : kFedFixAccuracy;
        if (!isValidCoordinate(fix.coordinate)) {
            return bad();
        }
        fixes.push_back(fix);
    }
    // Every fix's time is worked out before any is scheduled: a replay that would run past the
    // clock's range is refused whole rather than wrapped round to times in the past.
    std::vector<Duration> offsets;
    const TimePoint now = RunLoop::main().now();
    for (size_t i = 0; i < fixes.size(); ++i) {
        auto offset = interval < Duration::zero()
                          ? std::nullopt
                          : checkedMultiply(interval, static_cast<long long>(i));
        if (!offset || !checkedAdd(now, *offset)) {
            return fail(error, path.string() + ": " + std::to_string(fixes.size()) +
                                   " fixes that far apart run past the clock's range");
        }
        offsets.push_back(*offset);
    }
    stopReplay();
    for (size_t i = 0; i < fixes.size(); ++i) {
        m_replay.push_back(RunLoop::main().postDelayed(
            offsets[i], [this, fix = fixes[i]] { deliverLocation(fix); }));
    }
    return true;
}

void LocationDevice::stopReplay() {
    for (auto& handle : m_replay) {
        handle.cancel();
    }
    m_replay.clear();
}

bool LocationDevice::isReplaying() const {
    for (const auto& handle : m_replay) {
        if (handle.isPending()) {
            return true;
        }
    }
    return false;
}

void LocationDevice::reset() {
    stopReplay();
    m_status = LocationAuthorizationStatus::NotDetermined;
    m_grantWhenAsked = true;
    m_servicesEnabled = true;
    m_latestLocation.reset();
    m_latestHeading.reset();
}

}  // namespace platform
