#pragma once
// Device events reach the window's parts through Qt signals, also across threads, as one
// registered value type.

#include <QMetaType>

#include "link/DeviceEvents.h"

Q_DECLARE_METATYPE(vantor::DeviceEventMessage)
