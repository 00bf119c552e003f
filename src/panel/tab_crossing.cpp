#include "panel/tab_crossing.h"

bool TabCrossing::enter(const QUuid& dragged, const QUuid& target)
{
    if (target == dragged) {
        m_passed = QUuid();
        return false;
    }
    if (target == m_passed)
        return false;
    m_passed = target;
    return true;
}
