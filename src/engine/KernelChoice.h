// The process-wide "NoMMX" switch: non-zero selects the portable voice kernels, 0 the SSE2 ones.
// Read at every kernel call, so a change takes effect with the next call; any thread may set it.
#pragma once

void setNoMMX(int value);
int noMMX();
