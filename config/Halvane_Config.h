// The alarm server's configuration classes and the contracts they share with their hosts:
// the host window (operations by name), the picture surface, and the host program's data.
#pragma once

#include "config/CalendarLocale.h"
#include "config/DayTypes.h"
#include "config/HostProgramData.h"
#include "config/HostWindow.h"
#include "config/PaintSurface.h"
#include "config/cCalendar.h"
#include "config/cHolidayLabel.h"
#include "config/cTimeSchedule.h"
