#include "app/notifications.h"

NotificationCenter& NotificationCenter::instance()
{
    static NotificationCenter center;
    return center;
}
