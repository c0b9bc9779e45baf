#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "data/PPropertyMatrix.h"

namespace {

const float kOnes[4] = {1, 1, 1, 1};

PPropertyMatrix matrixOf(const std::string& text, int rows = 6, int columns = 4) {
    PPropertyMatrix m;
    m.loadText(text.data(), text.size(), rows, columns);
    return m;
}

// The first `n` rows a search of the matrix answers.
std::vector<std::int32_t> rowsFrom(PPropertyMatrix& m,
                                   void (PPropertyMatrix::*search)(std::int32_t*, int), int n) {
    std::vector<std::int32_t> out(static_cast<std::size_t>(n), -9);
    (m.*search)(out.data(), n);
    return out;
}
using Rows = std::vector<std::int32_t>;

TEST(PropertyMatrix, ParsesLinesLikeTheFileFormat) {
    PPropertyMatrix m;
    const std::string text =
        "0.5 1 -2.25 3e1\r\n"
        "1 2\r\n"         // a short row keeps its remaining columns (zero)
        "4 x 6 7\r\n"     // an unreadable value repeats the previous one; the scan then
                          // moves on to the next digit's word, so 6 is passed over
        "+1.5 .5 2. 9\n"  // a bare line feed ends a line too
        "\r\n"
        "8 8 8 8\r\n";  // after the empty line: not read
    EXPECT_EQ(m.loadText(text.data(), text.size(), 6, 4), 0);
    const float expected[4][4] = {
        {0.5f, 1, -2.25f, 30}, {1, 2, 0, 0}, {4, 4, 7, 0}, {1.5f, 0.5f, 2, 9}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(m.value(r, c), expected[r][c]) << r << c;
    }
    EXPECT_FLOAT_EQ(m.value(4, 0), 0);
    EXPECT_EQ(m.rows(), 6);
}

TEST(PropertyMatrix, OverlongLinesAreCutWithoutSpillingIntoTheNextRow) {
    std::string line;
    while (line.size() < 3000) line += "1 ";
    const PPropertyMatrix m = matrixOf(line + "\r\n7 7 7 7\r\n", 2, 4);
    EXPECT_FLOAT_EQ(m.value(0, 3), 1);
    EXPECT_FLOAT_EQ(m.value(1, 0), 7);
}

TEST(PropertyMatrix, NumbersDoNotDependOnTheLocale) {
    // A locale with a decimal comma, when the system has one; the parse must not change.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "German")) {
        GTEST_SKIP() << "no locale with a decimal comma on this system";
    }
    const PPropertyMatrix m = matrixOf("0.25 1.5 2 3\r\n", 1, 4);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_FLOAT_EQ(m.value(0, 0), 0.25f);
    EXPECT_FLOAT_EQ(m.value(0, 1), 1.5f);
}

TEST(PropertyMatrix, MissingOrEmptyFilesLoadNothing) {
    PPropertyMatrix m;
    EXPECT_EQ(m.load("/no/such/file.prn", 3, 2), 1);
    EXPECT_EQ(m.rows(), 3);  // the tables exist, zero-filled
    EXPECT_FLOAT_EQ(m.value(2, 1), 0);
    EXPECT_EQ(m.loadText("\r\n1 2\r\n", 7, 3, 2), 1);
    PPropertyMatrix bad;
    EXPECT_EQ(bad.loadText("1 2", 3, 0, 2), 1);
    EXPECT_EQ(bad.loadText("1 2", 3, 5, -1), 1);
    std::int32_t out[2] = {-7, -7};
    bad.nearest(out, 2);  // no rows: nothing written
    EXPECT_EQ(out[0], -7);
}

TEST(PropertyMatrix, DistancesAreWeightedAndSkipUnusedRows) {
    PPropertyMatrix m = matrixOf("1 1 1 1\r\n2 0 0 0\r\n1 2 3 4\r\n1 1 1 3\r\n", 4, 4);
    const float weights[4] = {1, 0.5f, 2, 0};
    m.computeDistances(0, weights);
    EXPECT_FLOAT_EQ(m.distance(0), 0);
    EXPECT_FLOAT_EQ(m.distance(1), -1);  // first value 2.0: no instrument
    EXPECT_FLOAT_EQ(m.distance(2), 0.5f + 4);
    EXPECT_FLOAT_EQ(m.distance(3), 0);
    m.computeDistances(9, weights);  // outside the table: ignored
    EXPECT_EQ(m.currentRow(), 0);
}

TEST(PropertyMatrix, NearestAndFarthestTakeTheFirstOnTiesAndNeverTheCurrentRow) {
    PPropertyMatrix m =
        matrixOf("0 0 0 0\r\n1 0 0 0\r\n2 0 0 0\r\n1 0 0 0\r\n3 0 0 0\r\n0.5 0 0 0\r\n", 6, 4);
    m.computeDistances(0, kOnes);
    EXPECT_EQ(rowsFrom(m, &PPropertyMatrix::nearest, 3), (Rows{5, 1, 3}));  // 1 and 3 tie
    EXPECT_EQ(rowsFrom(m, &PPropertyMatrix::farthest, 3), (Rows{4, 1, 3}));
    // Row 2 is marked 2.0 and takes part in nothing: fewer rows than asked repeat the last one.
    EXPECT_EQ(rowsFrom(m, &PPropertyMatrix::nearest, 5), (Rows{5, 1, 3, 4, 4}));
}

TEST(PropertyMatrix, EqualRowsAndAllEqualTables) {
    PPropertyMatrix same = matrixOf("1 1 1 1\r\n1 1 1 1\r\n1 1 1 1\r\n", 3, 4);
    same.computeDistances(1, kOnes);
    EXPECT_EQ(rowsFrom(same, &PPropertyMatrix::equal, 3), (Rows{0, 2, -1}));
    // Every distance 0: farthest finds nothing and repeats its first answer, 0.
    EXPECT_EQ(rowsFrom(same, &PPropertyMatrix::farthest, 2), (Rows{0, 0}));
    EXPECT_EQ(rowsFrom(same, &PPropertyMatrix::nearest, 3), (Rows{0, 2, 2}));
}

}  // namespace
