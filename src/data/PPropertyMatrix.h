// A table of numeric properties per instrument (row r describes instrument r), read from a text
// file, and the searches for similar, dissimilar and equal instruments over it.
//
// The file holds one line per row with the column values as decimal numbers separated by single
// spaces; a row whose first value is 2.0 describes no instrument and takes part in no search.
// Numbers are read the same whatever the process locale.
#pragma once

#include <cstdint>
#include <vector>

class PPropertyMatrix {
public:
    static constexpr int kMaxLine = 1023;  // characters of a line that are read
    static constexpr float kNoInstrument = 2.0f;

    PPropertyMatrix() = default;

    // Sizes the tables on the first call (zero-filled), then reads up to `rows` lines, stopping at
    // the first empty line. Answers 0 when at least one line was read, else 1 (also for a file
    // that can't be read or absurd sizes).
    int load(const char* path, int rows, int columns);
    // The same over text in memory.
    int loadText(const char* text, std::size_t length, int rows, int columns);

    // Makes `row` the current row and sets each row's distance to it: the weighted sum of the
    // column differences, or -1 for a row that describes no instrument. Ignored for a row outside
    // the table.
    void computeDistances(int row, const float* weights);
    // The n rows nearest to the current row (smallest distance first, the first row on equal
    // distances; never the current row). When fewer rows qualify, the previous answer (0 for the
    // first) is repeated. n is cut to the row count; nothing is written for n below 1.
    void nearest(std::int32_t* out, int n);
    // The n rows farthest from the current row, in the same manner.
    void farthest(std::int32_t* out, int n);
    // The n first rows at distance exactly 0 (never the current row); -1 when there is none.
    void equal(std::int32_t* out, int n);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    int currentRow() const { return current_; }
    float value(int row, int column) const;
    float distance(int row) const;

private:
    // Reads one line's values into a row.
    void parseLine(const char* line, float* row);
    // Walks the distances, taking each time the best row by `better` from `start`.
    template <typename Better>
    void search(std::int32_t* out, int n, float start, Better better);

    std::vector<float> values_;
    std::vector<float> distances_;
    int rows_ = 0;
    int columns_ = 0;
    int current_ = 0;
};
