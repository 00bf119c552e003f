#include "platform/login_item.h"

#include <QCoreApplication>

// No way to start at login here yet: the setting stays off.
bool LoginItem::isAvailable()
{
    return false;
}
QString LoginItem::entryPath()
{
    return QString();
}
QString LoginItem::programPath()
{
    return QCoreApplication::applicationFilePath();
}
bool LoginItem::registerItem()
{
    return false;
}
bool LoginItem::unregisterItem()
{
    return true;
}
bool LoginItem::isEnabled()
{
    return false;
}
