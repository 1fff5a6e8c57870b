// The message pump of a long operation, over Qt's event loop.
#include "framework/window/message_pump.h"

#include <QCoreApplication>

void PumpWaitingMessages() {
    QCoreApplication::processEvents();
}
