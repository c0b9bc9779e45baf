// The notice that travels with every library holding instruments analysed from the General MIDI
// sound bank's recordings: where they come from, their authors and the bank's MIT licence.
#pragma once

#include <string>

namespace makelib {

inline constexpr const char* kRecordingsLicenceFile = "Recordings-Licence.txt";

std::string recordingsLicence();

}  // namespace makelib
