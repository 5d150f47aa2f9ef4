#include "platform/services/memory_trim.h"

#include <malloc.h>

namespace korvane::platform {

void TrimWorkingSet() { ::malloc_trim(0); }

}  // namespace korvane::platform
