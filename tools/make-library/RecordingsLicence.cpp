#include "RecordingsLicence.h"

namespace makelib {

std::string recordingsLicence() {
    return R"text(Recorded instruments
====================

The acoustic instruments of this library (voices and choirs, bowed strings, woodwinds, brass,
plucked strings, mallets and bells, keys and organs) are analysed from the recordings of the
Fluid (R3) General MIDI SoundFont, version 3.1, as Debian ships it in the package
fluid-soundfont-gm. Only spectral envelopes and excitations derived from those recordings are
part of this library; the SoundFont itself is not redistributed.

Upstream author: Frank Wen <getfrank@gmail.com>
Copyright (C) 2000-2002, 2008 Frank Wen
Copyright (C) 2008 Toby Smithe

"Fluid was constructed in part from samples found in the public domain that I
edited/cleaned/remixed/programmed and largely from recordings of my own and
in conjunction with the people below who helped along the way:

Suren M. Seron
Scott Hanan
Steve Aupperle
Chris Gillman
Alex Taubr
Chris Prola
Andrew Klenk
Winfried Hubbe
Dylan
Tim
Gort
Uros Katic
Ethan Winer (http://www.ethanwiner.com)"

"I hereby release Fluid under the MIT license, as described in COPYING."

Permission is hereby granted, free of charge, to any person
obtaining a copy of this software and associated documentation
files (the "Software"), to deal in the Software without
restriction, including without limitation the rights to use,
copy, modify, merge, publish, distribute, sublicense, and/or sell
copies of the Software, and to permit persons to whom the
Software is furnished to do so, subject to the following
conditions:

The above copyright notice and this permission notice shall be
included in all copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND,
EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES
OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND
NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT
HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY,
WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING
FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR
OTHER DEALINGS IN THE SOFTWARE.
)text";
}

}  // namespace makelib
