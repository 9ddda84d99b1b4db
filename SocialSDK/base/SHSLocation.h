#pragma once

// Where a comment or a share was written (the phone's location object, reduced to what the
// share service is sent).
struct SHSLocation {
    double latitude = 0;
    double longitude = 0;
};
