#pragma once

#include "model/app_group.h"

#include <QPixmap>

// The group's own picture at side by side points for this pixel ratio, its corners rounded by
// 0.22 of the side; a null pixmap when it has none or the file is no image.
QPixmap groupIcon(const AppGroup& group, int side, qreal devicePixelRatio);
