#pragma once

#include <QFont>

// The font of a face and size as the panes name it. "Courier New" falls back to the fixed-pitch
// faces a Linux desktop has, so the panes keep their typewriter look without that font.
QFont gridFont(const QString& face, double points);
