// make-library --recording: an instrument's source recording as a WAV file, for comparing the
// instrument with what it was made from.
#pragma once

#include <string>

namespace makelib {

// Writes `seconds` of the recording of the instrument's middle zone, held (see heldRecording),
// at the recording's own rate to `path` (both channels alike), and prints the key it sounds at
// and where the instrument's plain preset lies in the factory bank (program and preset from 1,
// as a host counts them). Returns the exit status; a reason is printed when it fails.
int writeSourceRecording(const std::string& instrument, const std::string& path,
                         const std::string& soundFontPath, double seconds);

}  // namespace makelib
