#pragma once

#include "views/CFontInfoMy.h"

#include <list>

class QPaintDevice;

// The fonts a pane has measured, for average character widths and text widths; an entry is
// only ever appended.
class CFontInfoList {
public:
    // The average width of the font, measured for the device on first use.
    int averageWidth(const QString& face, int points, bool bold, short charset,
                     const QPaintDevice* device);
    // The width of the text in the font for the device, in pixels; measured once per text.
    int textWidth(const QString& text, const QString& face, int points, bool bold, short charset,
                  const QPaintDevice* device);
    std::size_t size() const { return m_fonts.size(); }

private:
    CFontInfoMy& measured(const QString& face, int points, bool bold, short charset,
                          const QPaintDevice* device);
    static int shapedWidth(CFontInfoMy& font, const QString& text);

    std::list<CFontInfoMy> m_fonts;
};
