// The process-wide kernel switches, read at every use, so a change takes effect with the next
// block; any thread may set them.
//
// "NoMMX": non-zero selects the portable voice kernels, 0 the vector ones.
// Voice lanes (with the vector kernels): 0 renders each voice with its own SSE2 kernel; 4 runs
// groups of four voices side by side in SSE2 lanes, 8 groups of eight in AVX2 lanes.
#pragma once

void setNoMMX(int value);
int noMMX();

void setVoiceLanes(int lanes);  // 0, 4 or 8; the caller has checked the processor
int voiceLanes();
// The lane width for a requested value on a processor: 0 and 4 as asked, 8 where the processor
// has AVX2 and 4 where not; any other request picks the widest the processor runs.
int supportedVoiceLanes(int requested, bool hasAvx2);
