// The merge passes of a day type's periods exactly as the family's editors have always run
// them, written out literally (and slowly): the reference that cTimeSchedule's merge must
// match in every detail, which objects survive, their order and where the selection goes.
#pragma once

#include <vector>

#include "config/cTimeSchedule.h"

namespace Halvane_Config {

void ReferenceMerge(std::vector<PeriodRef>& periods, PeriodRef& selected);

}  // namespace Halvane_Config
