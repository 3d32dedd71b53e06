#include "ReferenceMerge.h"

namespace Halvane_Config {

void ReferenceMerge(std::vector<PeriodRef>& periods, PeriodRef& selected) {
  bool merged = true;
  while (merged) {
    merged = false;
    for (std::size_t p = 0; p < periods.size(); ++p) {
      const PeriodRef P = periods[p];
      for (std::size_t q = 0; q < periods.size(); ++q) {
        const PeriodRef Q = periods[q];
        if (Q == P) continue;
        if (Q->m_StartMinute >= P->m_StartMinute && P->m_StopMinute >= Q->m_StartMinute) {
          if (P->m_StopMinute < Q->m_StopMinute) P->m_StopMinute = Q->m_StopMinute;
          if (Q == selected) selected = P;
          periods.erase(periods.begin() + static_cast<std::ptrdiff_t>(q));
          if (q < p) --p;  // the next P is the one after P
          merged = true;
          break;
        }
      }
    }
  }
}

}  // namespace Halvane_Config
