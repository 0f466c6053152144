#pragma once

#include "views/CFontInfoMy.h"

#include <list>

class QPaintDevice;

// Average character widths of the fonts a pane has measured; an entry is only ever appended.
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

    std::list<CFontInfoMy> m_fonts;
};
