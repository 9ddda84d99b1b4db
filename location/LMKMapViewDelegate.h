#pragma once

class LMKMapView;

// What a map view tells its application. The map page registers for it while on screen but
// listens to nothing, so the protocol stays empty here: its callbacks are all optional.
class LMKMapViewDelegate {
public:
    virtual ~LMKMapViewDelegate() = default;
};
