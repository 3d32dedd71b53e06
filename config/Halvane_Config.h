// The alarm server's configuration classes (alarm record, receiver, profile, time schedule,
// calendar) and the contracts they share with their hosts: the host window (operations by
// name), the picture surface, and the host program's data.
#pragma once

#include "config/CalendarLocale.h"
#include "config/DayTypes.h"
#include "config/DiskFiles.h"
#include "config/HostProgramData.h"
#include "config/HostWindow.h"
#include "config/KeyedCollection.h"
#include "config/PaintSurface.h"
#include "config/cAlarm.h"
#include "config/cCalendar.h"
#include "config/cHolidayLabel.h"
#include "config/cProfile.h"
#include "config/cReceiver.h"
#include "config/cTimeSchedule.h"
