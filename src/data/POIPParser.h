// Reads one instrument description ("oip-pool" root, "oip" instruments, "zone" key zones) into
// the pool. Character data, comments and processing instructions are ignored; anything else out
// of place ends the file, keeping what was read before.
#pragma once

#include "data/FxmlParser.h"

class PPool;
class PResourceTable;
struct POIP;

class POIPParser : public FxmlParser {
public:
    POIPParser(const char* text, std::size_t length, PPool& pool, PResourceTable& table);

protected:
    bool onCharData(const char* text) override;
    bool onStartElement(const char* name, bool isEmpty, int count, const char* const* names,
                        const char* const* values) override;

private:
    enum class State { Outside, InPool, InInstrument, InZone };

    bool addInstrument(int count, const char* const* names, const char* const* values);
    bool addZone(int count, const char* const* names, const char* const* values);

    PPool& pool_;
    PResourceTable& table_;
    State state_ = State::Outside;
    POIP* instrument_ = nullptr;
};
