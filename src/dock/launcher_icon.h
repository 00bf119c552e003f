#pragma once

#include "model/app_group.h"

#include <QImage>

namespace Launchers {

// The launcher's 512 by 512 picture: the group's own image in a rounded square, or the icons
// of its first four items on a grey gradient.
QImage icon(const AppGroup& group);

} // namespace Launchers
