// Reads and rewrites random ini texts: the first line of the input names the section and key
// (split at the first ':'), the rest is the file's text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t feed = input.find('\n');
    std::string_view names = input.substr(0, feed == input.npos ? input.size() : feed);
    std::string_view text = feed == input.npos ? std::string_view() : input.substr(feed + 1);
    const std::size_t colon = names.find(':');
    std::string_view section = names.substr(0, colon == names.npos ? names.size() : colon);
    std::string_view key = colon == names.npos ? std::string_view() : names.substr(colon + 1);

    std::string_view value;
    if (platform::profile::findValue(text, section, key, &value)) {
        // The value is a piece of the text.
        if (value.data() < text.data() || value.data() + value.size() > text.data() + text.size()) {
            __builtin_trap();
        }
        platform::profile::parseInt(value);
    }
    // Writing a value and reading it back finds it again (names without line breaks, brackets
    // or '=' that survive trimming, values without line breaks or outer blanks or quotes).
    const std::string written = platform::profile::withValue(text, "Sec", "Key", "v1");
    std::string_view back;
    if (!platform::profile::findValue(written, "sec", "key", &back) || back != "v1") {
        __builtin_trap();
    }
    return 0;
}
