#include "data/PPropertyMatrix.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "data/FileReader.h"

namespace {

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 1024;
constexpr float kFarAway = 1000000.0f;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number read like "%f": leading white space, an optional sign, then a decimal or exponent
// form (or inf/nan). Answers the position after it, or null when there is none.
const char* readNumber(const char* p, const char* end, float* value) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    float parsed = 0;
    const auto result = std::from_chars(p, end, parsed, std::chars_format::general);
    if (result.ec != std::errc() && result.ec != std::errc::result_out_of_range) return nullptr;
    if (result.ec == std::errc::result_out_of_range) parsed = HUGE_VALF;
    *value = negative ? -parsed : parsed;
    return result.ptr;
}

}  // namespace

int PPropertyMatrix::load(const char* path, int rows, int columns) {
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (!readFile(path, &data, &size)) {
        loadText(nullptr, 0, rows, columns);  // the tables exist even without a file
        return 1;
    }
    const int result = loadText(reinterpret_cast<const char*>(data), size, rows, columns);
    freeFileData(data);
    return result;
}

int PPropertyMatrix::loadText(const char* text, std::size_t length, int rows, int columns) {
    if (rows_ == 0) {
        if (rows < 1 || rows > kMaxRows || columns < 1 || columns > kMaxColumns) return 1;
        values_.assign(static_cast<std::size_t>(rows) * columns, 0.0f);
        distances_.assign(static_cast<std::size_t>(rows), 0.0f);
        rows_ = rows;
        columns_ = columns;
    }
    if (!text) return 1;
    const char* p = text;
    const char* const end = text + length;
    int parsed = 0;
    char line[kMaxLine + 1];
    while (parsed < rows_ && p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n' && *lineEnd != 0) ++lineEnd;
        if (lineEnd == p) break;
        // Characters beyond the line limit are dropped, never carried into the next row.
        const auto kept = static_cast<std::size_t>(lineEnd - p < kMaxLine ? lineEnd - p : kMaxLine);
        std::memcpy(line, p, kept);
        line[kept] = 0;
        parseLine(line, &values_[static_cast<std::size_t>(parsed) * columns_]);
        ++parsed;
        p = lineEnd;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
    return parsed > 0 ? 0 : 1;
}

void PPropertyMatrix::parseLine(const char* line, float* row) {
    const char* p = line;
    const char* const end = line + std::strlen(line);
    float value = 0;
    for (int c = 0; c < columns_; ++c) {
        readNumber(p, end, &value);  // a failed read repeats the previous value
        row[c] = value;
        while (p < end && !isDigit(*p)) ++p;
        while (p < end && *p != ' ') ++p;
        if (p == end) return;  // no further value: the remaining columns keep their content
        ++p;
    }
}

float PPropertyMatrix::value(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return 0.0f;
    return values_[static_cast<std::size_t>(row) * columns_ + column];
}

float PPropertyMatrix::distance(int row) const {
    return row >= 0 && row < rows_ ? distances_[static_cast<std::size_t>(row)] : 0.0f;
}

void PPropertyMatrix::computeDistances(int row, const float* weights) {
    if (row < 0 || row >= rows_ || !weights) return;
    current_ = row;
    const float* reference = &values_[static_cast<std::size_t>(row) * columns_];
    for (int r = 0; r < rows_; ++r) {
        const float* other = &values_[static_cast<std::size_t>(r) * columns_];
        if (other[0] == kNoInstrument) {
            distances_[r] = -1.0f;
            continue;
        }
        double sum = 0;
        for (int c = 0; c < columns_; ++c) {
            sum += std::fabs(static_cast<double>(reference[c]) - other[c]) * weights[c];
        }
        distances_[r] = static_cast<float>(sum);
    }
}

template <typename Better>
void PPropertyMatrix::search(std::int32_t* out, int n, float start, Better better) {
    if (n > rows_) n = rows_;
    if (n < 1) return;
    std::vector<float> open = distances_;
    open[current_] = -1.0f;
    std::int32_t previous = 0;
    for (int k = 0; k < n; ++k) {
        float best = start;
        int found = -1;
        for (int r = 0; r < rows_; ++r) {
            if (open[r] >= 0.0f && better(open[r], best)) {
                best = open[r];
                found = r;
            }
        }
        if (found >= 0) {
            open[found] = -1.0f;
            previous = found;
        }
        out[k] = previous;
    }
}

void PPropertyMatrix::nearest(std::int32_t* out, int n) {
    search(out, n, kFarAway, [](float d, float best) { return d < best; });
}

void PPropertyMatrix::farthest(std::int32_t* out, int n) {
    search(out, n, 0.0f, [](float d, float best) { return d > best; });
}

void PPropertyMatrix::equal(std::int32_t* out, int n) {
    if (n > rows_) n = rows_;
    if (n < 1) return;
    std::vector<float> open = distances_;
    open[current_] = -1.0f;
    for (int k = 0; k < n; ++k) {
        out[k] = -1;
        for (int r = 0; r < rows_; ++r) {
            if (open[r] == 0.0f) {
                out[k] = r;
                open[r] = -1.0f;
                break;
            }
        }
    }
}
