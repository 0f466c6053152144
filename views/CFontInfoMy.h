#pragma once

#include <QString>

// The measured average character width of one font.
struct CFontInfoMy {
    short charset = 0;
    int averageWidth = -1; // -1 when measuring failed
    int bold = 0;
    int points = 0;
    QString face;

    bool sameFont(const CFontInfoMy& other) const {
        return face == other.face && points == other.points && bold == other.bold &&
               charset == other.charset;
    }
};
