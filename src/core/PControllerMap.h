// The process-wide MIDI controller map: for each controller number 0..127 the parameter it moves,
// or -1. It is loaded once per process from "controllers.ini" in the data folder, a text of lines
// "<number>:<parameter name>" (names match ignoring letter case; later lines override earlier
// ones; other lines are skipped). When the file is missing or has no acceptable line, the map is
// built from the parameter table's default controllers and the file is written anew with one
// "%03d:%s\r\n" line per mapped controller. The audio thread looks entries up afterwards.
#pragma once

#include <cstddef>
#include <cstdint>

class FStream;

class PControllerMap {
public:
    static constexpr int kControllers = 128;
    static constexpr int kMaxLine = 499;  // characters of a line that are looked at
    static constexpr const char* kFileName = "controllers.ini";

    // Loads the shared map from the data folder, once per process (safe from any thread).
    static void loadOnce(const char* dataFolder);
    // The parameter that a controller moves, or -1 (also for numbers outside 0..127).
    static int lookup(int controller);

    // For tests: load again from a folder regardless of the once-flag, and forget the load.
    static void loadFrom(const char* dataFolder);
    static void reset();

    // Reads controller lines from a stream to its end into map (whose other entries stay);
    // answers the number of lines accepted.
    static int parse(FStream& stream, std::int32_t* map);
    // One line "%d:%100[^\n\r]" as the C library would scan it; false unless both fields are
    // read, the name names a parameter and the number lies in 0..127.
    static bool parseLine(const char* line, int* controller, int* parameter);
    // Each controller's entry: the lowest-indexed parameter whose default controller it is.
    // Controller 0 (bank select) is left without a parameter, since a default of 0 means none.
    static void buildDefault(std::int32_t* map);
    // The file text for a map; answers its length (without the terminating zero, which is
    // written when it fits). Parameters named "Unused" are left out.
    static std::size_t formatFile(const std::int32_t* map, char* out, std::size_t capacity);
};
