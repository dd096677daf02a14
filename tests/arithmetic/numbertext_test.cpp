#include "arithmetic/numbertext.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace vorlane {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(TrimSpaces, RemovesOnlyLeadingAndTrailingSpaces) {
    struct Row {
        const char* text;
        const char* expected;
    };
    const Row rows[] = {
        {"  12  ", "12"}, {" 1 2 ", "1 2"}, {"\t12 ", "\t12"}, {"12\t", "12\t"},
        {"   ", ""},      {"", ""},         {"x", "x"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(trimSpaces(row.text), row.expected) << '"' << row.text << '"';
}

TEST(ReadValue, ReadsTheLeadingNumberAndStopsAtTheFirstCharacterThatDoesNotFit) {
    struct Row {
        const char* text;
        double expected;
    };
    const Row rows[] = {
        {"1200", 1200},
        {"1 200", 1200},
        {" \t1\n2 ", 12},
        {"1 e 3", 1000},
        {"- 5", -5},
        {"1,200", 1},
        {"12abc", 12},
        {"12\r", 12},
        {"\r12", 0},
        {"1e3", 1000},
        {"1E3", 1000},
        {"1e+3", 1000},
        {"1e-3", 0.001},
        {"1e", 1},
        {"1e+", 1},
        {"1ex", 1},
        {"abc", 0},
        {"", 0},
        {"   ", 0},
        {".", 0},
        {"e5", 0},
        {"-5", -5},
        {"+5", 5},
        {"+-5", 0},
        {"--5", 0},
        {".5", 0.5},
        {"5.", 5},
        {"1.2.3", 1.2},
        {"12.05", 12.05},
        {"007", 7},
        {"0x10", 0},
        {"\xEF\xBC\x91\xEF\xBC\x92", 0}, // full-width "１２"
        {"131072.29", 131072.29},
    };
    for (const Row& row : rows)
        EXPECT_EQ(readValue(row.text), row.expected) << '"' << row.text << '"';
}

TEST(ReadValue, HugeInputsGiveAnInfinityOrZeroThatTheRoundingRejects) {
    struct Row {
        std::string text;
        double expected;
    };
    const std::string thousandsOfDigits(5000, '9');
    const Row rows[] = {
        {"1e400", Inf},
        {"-1e400", -Inf},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"1e" + thousandsOfDigits, Inf},
        {"-1e" + thousandsOfDigits, -Inf},
        {"1e-" + thousandsOfDigits, 0},
        {"0e" + thousandsOfDigits, 0},
        {"0.0000e" + thousandsOfDigits, 0},
        {std::string(100'000, '9'), Inf},
        {"0." + std::string(100'000, '0') + "1", 0},
        {"0." + std::string(100'000, '9'), 1},
    };
    for (const Row& row : rows) {
        const double value = readValue(row.text);
        EXPECT_EQ(value, row.expected)
            << row.text.substr(0, 20) << "... (" << row.text.size() << " characters)";
        if (std::isinf(row.expected)) {
            EXPECT_FALSE(roundToInt32(value).has_value());
        }
    }
}

TEST(ReadValue, ALongMantissaAndAnExponentThatCancelItOutReadExactly) {
    // Two million digits on one side of the point, brought back to 1 by an exponent of the
    // same size: the exponent must not be cut short before the mantissa is accounted for.
    const std::string zeros(2'000'000, '0');
    EXPECT_EQ(readValue("1" + zeros + "e-2000000"), 1.0);
    EXPECT_EQ(readValue("0." + zeros + "1e2000001"), 1.0);
    EXPECT_EQ(readValue("1" + zeros + "e-1999999"), 10.0);
}

TEST(ReadValue, AHundredThousandDigitsReturnPromptly) {
    const std::string digits(100'000, '7');
    const auto start = std::chrono::steady_clock::now();
    const double value = readValue(digits);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(std::isinf(value));
    EXPECT_FALSE(roundToInt32(value).has_value());
    // A sanity bound, not a benchmark: a quadratic scan would take minutes.
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(IsNumeric, AcceptsOneWholeNumberWithBlanksOnlyAtTheEdges) {
    struct Row {
        const char* text;
        bool expected;
    };
    const Row rows[] = {
        {"", false},        {" ", false},    {".", false},   {"1e", false},    {"e5", false},
        {"1 2", false},     {"+", false},    {"-", false},   {"1.2.3", false}, {"1,200", false},
        {"12abc", false},   {"1e5x", false}, {"--5", false}, {"+ 5", false},   {"1e+", false},
        {"\n5", false},     {" 12 ", true},  {"\t5", true},  {"5\t ", true},   {"-0", true},
        {"1.", true},       {".5", true},    {"1e5", true},  {"1E-5", true},   {"+5", true},
        {"-12.5e+3", true}, {"1e400", true}, {"007", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(isNumeric(row.text), row.expected) << '"' << row.text << '"';
}

TEST(ToNumberStrict, GivesTheNumberOfANumericTextAndFailsOtherwise) {
    struct Row {
        const char* text;
        std::optional<double> expected;
    };
    const Row rows[] = {
        {" 12.5 ", 12.5},
        {"\t7\t", 7},
        {"1e3", 1000},
        {"-0.25", -0.25},
        {"5.", 5},
        {"327.67", 327.67},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"1,200", std::nullopt},
        {"1 2", std::nullopt},
        {"abc", std::nullopt},
        {"1e", std::nullopt},
        {"1e400", std::nullopt},
        {"-1e400", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(toNumberStrict(row.text), row.expected) << '"' << row.text << '"';
}

TEST(RoundToInt32, RoundsHalfToEvenAndRejectsValuesOutsideTheRange) {
    struct Row {
        double value;
        std::optional<std::int32_t> expected;
    };
    const Row rows[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {-0.4, 0},
        {2.4999999999999996, 2},
        {2.5000000000000004, 3},
        // The largest double below 0.5: adding 0.5 and flooring would give 1.
        {0.49999999999999994, 0},
        {1212.5, 1212},
        {2147483647.4, 2147483647},
        {2147483646.5, 2147483646},
        {2147483647.5, std::nullopt},
        {2147483648.0, std::nullopt},
        {-2147483648.5, -2147483648},
        {-2147483648.6, std::nullopt},
        {-2147483649.0, std::nullopt},
        {1e300, std::nullopt},
        {-1e300, std::nullopt},
        {Inf, std::nullopt},
        {-Inf, std::nullopt},
        {NaN, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(roundToInt32(row.value), row.expected) << row.value;
}

TEST(RoundToInt16, RoundsHalfToEvenWithinSixteenBits) {
    struct Row {
        double value;
        std::optional<std::int16_t> expected;
    };
    const Row rows[] = {
        {32767.4, 32767},         {32766.5, 32766},   {32767.5, std::nullopt},
        {32768.0, std::nullopt},  {-32768.5, -32768}, {-32768.6, std::nullopt},
        {-32769.0, std::nullopt}, {1213.5, 1214},     {Inf, std::nullopt},
        {NaN, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(roundToInt16(row.value), row.expected) << row.value;
}

TEST(FormatNumber, ShowsTheValueInTheDisplayPattern) {
    struct Row {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Row rows[] = {
        {7, "0", "7"},
        {26, "0", "26"},
        {0, "0", "0"},
        {7.6, "0", "8"},
        {0, "#0", "0"},
        {24, "#0", "24"},
        {5, "00", "05"},
        {0, "00", "00"},
        {59, "00", "59"},
        {1234, "00", "1234"},
        {0, "#####0", "0"},
        {2591999, "#####0", "2591999"},
        {2147483647, "#####0", "2147483647"},
        {1e20, "0", "100000000000000000000"},
        {0, "00.00", "00.00"},
        {7.1, "00.00", "07.10"},
        {59.29f, "00.00", "59.29"},
        {0.29f, "00.00", "00.29"},
        {131072.29f, "00.00", "131072.30"},
        {123.456, "00.00", "123.46"},
        {12.344999, "00.00", "12.34"},
        // An exact half of the last shown digit goes to the even neighbour.
        {2.5, "0", "2"},
        {0.125, "00.00", "00.12"},
        {0.375, "00.00", "00.38"},
        // Judged on the exact binary value, not on the rounded product with 100.
        {0.005, "00.00", "00.01"},
        {0.015, "00.00", "00.01"},
        {0.025, "00.00", "00.03"},
        {0.075, "00.00", "00.07"},
        {1.005, "00.00", "01.00"},
        {4503599627370495.5, "0", "4503599627370496"},
        {4503599627370497.0, "00.00", "4503599627370497.00"},
        {-5, "00", "-05"},
        {-1.5, "00.00", "-01.50"},
        {-0.0, "00.00", "00.00"},
        {-0.001, "00.00", "00.00"},
        {-0.4, "0", "0"},
        {Inf, "00.00", "00.00"},
        {NaN, "#####0", "0"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(formatNumber(row.value, row.pattern), row.expected)
            << row.value << " in " << row.pattern;
}

TEST(FormatNumber, ShowsEveryDigitOfTheLargestDouble) {
    const std::string text = formatNumber(std::numeric_limits<double>::max(), "00.00");
    EXPECT_EQ(text.size(), 309u + 3u);
    EXPECT_EQ(text.substr(0, 17), "17976931348623157");
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
}

// Restores the C locale however the test ends.
class ProcessLocale {
public:
    ProcessLocale() {
        // glibc's names, then Windows' for the same comma-point locale.
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8",
                                 "German_Germany.1252", "de-DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                m_name = name;
                break;
            }
        }
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, "C"); }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;
    const std::string& name() const { return m_name; }

private:
    std::string m_name;
};

TEST(NumberText, ThePointStaysAPointWhateverTheProcessLocale) {
    const ProcessLocale locale;
    ASSERT_FALSE(locale.name().empty()) << "no locale of the list is installed";
    SCOPED_TRACE("locale " + locale.name() + ", decimal point \"" +
                 std::localeconv()->decimal_point + '"');
    EXPECT_EQ(formatNumber(7.1, "00.00"), "07.10");
    EXPECT_EQ(formatNumber(1234567, "#####0"), "1234567");
    EXPECT_EQ(readValue("1.5"), 1.5);
    EXPECT_EQ(readValue("1,5"), 1.0);
    EXPECT_FALSE(isNumeric("1,5"));
    EXPECT_EQ(toNumberStrict("2.25"), 2.25);
}

} // namespace
} // namespace vorlane
