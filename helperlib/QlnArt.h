#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn from the SVG files built into the library.
namespace qlnart {

QIcon icon();
QPixmap iconPixmap(int size);
QPixmap splashPixmap();

} // namespace qlnart
