// The palette's slot commands on a preset's 33 instrument slots:
//   0 empty every slot that no icon selects      5 farthest 9 to slots 15..23
//   1 move the selected instruments to 0, 1, 2   6 nearest 9 (other weights) to slots 15..23
//   2 three random instruments, the rest empty   7 copy slots 15..26 to slots 3..14
//   3 18 equal in one property to slots 15..32   8 copy all slots to the slot clipboard
//   4 nearest 9 to slots 15..23                  9 fill empty slots from the slot clipboard
// Commands 3..6 search the property matrix around the Base layer's instrument.
#pragma once

class PPreset;
class PPropertyMatrix;

// False for an unknown command, and for a search command without a matrix or whose Base layer
// plays no instrument that the matrix describes (the slots then stay as they are).
bool runSlotCommand(PPreset& preset, int command, PPropertyMatrix* matrix);
