#pragma once

#include <optional>
#include <string>

#include "platform/devices/Location.h"

// The user's location as the location service hands it to its delegate: the last fix (its
// coordinate in the vendor's datum), the last heading, whether a fix came last, and the title
// and subtitle a map shows for it. The service updates one object in place.
class LMKUserLocation {
public:
    LMKUserLocation() : m_title("我的位置") {}
    virtual ~LMKUserLocation() = default;

    // True after a fix, false after a heading: which kind of update came last.
    bool isUpdating() const { return m_updating; }
    const std::optional<platform::Location>& location() const { return m_location; }
    const std::optional<platform::Heading>& heading() const { return m_heading; }
    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    const std::string& subtitle() const { return m_subtitle; }
    void setSubtitle(std::string subtitle) { m_subtitle = std::move(subtitle); }

protected:
    bool m_updating = false;
    std::optional<platform::Location> m_location;
    std::optional<platform::Heading> m_heading;
    std::string m_title;
    std::string m_subtitle;
};
