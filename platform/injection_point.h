// Where the file layers consult the test seam of fault_injection.h. Only the
// file layers call these; tests arm failures through fault_injection.h.
#pragma once

#include "platform/fault_injection.h"

namespace fault_injection {

// Whether the armed failure of `call` is due now. When it is, the failure is
// spent and `error` receives its Windows error number.
bool TakeFailure(Call call, DWORD& error);

}  // namespace fault_injection
