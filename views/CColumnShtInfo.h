#pragma once

#include <QString>

// One column of a pane: its font, whether it keeps a fixed width or stretches with a share of
// the free width, and the sample text whose width is its minimum.
struct CColumnShtInfo {
    CColumnShtInfo(int points, const QString& face, bool fixed, double share, const QString& sample)
        : points(points), face(face.isEmpty() ? QStringLiteral("Courier New") : face),
          fixed(fixed ? 1 : 0), share(fixed ? 0.0 : (share <= 0 ? 0.1 : share)),
          sample(sample.isEmpty() ? QStringLiteral("x") : sample) {}

    int points;
    QString face;
    int fixed;
    double share;
    int spare = 0;
    QString sample;
    int minimumWidth = -1; // pixels, once measured
};
