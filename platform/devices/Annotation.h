#pragma once

#include <string>
#include <utility>

#include "platform/devices/Location.h"

namespace platform {

// Something a map can show at a coordinate, with the texts of its callout. Maps hold
// annotations shared and read them whenever they draw.
class Annotation {
public:
    virtual ~Annotation() = default;
    virtual Coordinate coordinate() const = 0;
    virtual std::string title() const { return {}; }
    virtual std::string subtitle() const { return {}; }
};

// An annotation whose coordinate and texts are set once, when it is made.
class FixedAnnotation : public Annotation {
public:
    FixedAnnotation(Coordinate coordinate, std::string title, std::string subtitle)
        : m_coordinate(coordinate), m_title(std::move(title)), m_subtitle(std::move(subtitle)) {}

    Coordinate coordinate() const override { return m_coordinate; }
    std::string title() const override { return m_title; }
    std::string subtitle() const override { return m_subtitle; }

private:
    Coordinate m_coordinate;
    std::string m_title;
    std::string m_subtitle;
};

}  // namespace platform
