#pragma once

// A rectangle in fractions of the client area (0.0 to 1.0), -1.0 where unset. The same record
// holds pixel-scaled values before they are rounded.
struct CFrctnRctng {
    double right = -1.0;
    double left = -1.0;
    double top = -1.0;
    double bottom = -1.0;

    bool isSet() const { return left >= 0.0; }
};
