// The XML reader over arbitrary bytes, descending into every element.
#include <cstddef>
#include <cstdint>

#include "data/FxmlParser.h"

namespace {

class Walker : public FxmlParser {
public:
    using FxmlParser::FxmlParser;

protected:
    bool onCharData(const char*) override { return true; }
    bool onStartElement(const char* name, bool isEmpty, int, const char* const*,
                        const char* const*) override {
        return isEmpty || parse(name);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Walker walker(reinterpret_cast<const char*>(data), size);
    walker.parse(nullptr);
    return 0;
}
