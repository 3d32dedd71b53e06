// The number of the RuntimeError a call raises, or 0 when it raises none.
#pragma once

#include "common/RuntimeError.h"

template <typename Call>
int ErrorNumberOf(Call call) {
  try {
    call();
  } catch (const Halvane_Common_Procedures::RuntimeError& e) {
    return e.Number();
  }
  return 0;
}
