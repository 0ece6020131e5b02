#include "common/FreedMemory.h"

#include <QObject>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace FreedMemory {

void returnToSystem()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void returnAfterDestroyed(QObject* object)
{
    QObject::connect(object, &QObject::destroyed, [] { QTimer::singleShot(0, &returnToSystem); });
}

} // namespace FreedMemory
