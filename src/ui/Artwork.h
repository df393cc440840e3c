#pragma once

#include <QIcon>
#include <QPixmap>

namespace kartovex {

// The program's own pictures, drawn at start-up rather than shipped as files.
QIcon programIcon();      // 32 × 32, 256 colours
QPixmap splashPicture();  // 512 × 512, 24 bits per pixel

}  // namespace kartovex
