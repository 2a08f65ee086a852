#include "Wakeup.h"

#include <QMetaObject>

namespace async {

void Wakeup::fire() {
    QMetaObject::invokeMethod(
        &guard_, [handle = handle_] { handle.resume(); }, Qt::QueuedConnection);
}

} // namespace async
