// The text of a private-profile (ini) file: "[Section]" headers and "key=value" lines.
// Section and key names match ignoring ASCII letter case and the blanks around them; values lose
// the blanks around them and one pair of enclosing quotes. The first matching key wins. Lines
// without '=' and lines beginning with ';' carry no value. Used where the system has no
// private-profile service of its own; pure text work, so it is the same on every platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::profile {

// Finds `key` in `section`; true with the value (a view into `text`) when present.
bool findValue(std::string_view text, std::string_view section, std::string_view key,
               std::string_view* value);

// The leading decimal integer of a value (blanks and a sign allowed before it, wrapping like a
// 32-bit counter); 0 when the value does not begin with a number.
int parseInt(std::string_view value);

// The text with `key` in `section` set to `value`: an existing line is replaced, a missing key
// is added at the end of its section, a missing section at the end of the text.
std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace platform::profile
