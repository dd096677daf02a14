#include "settings/initfile.h"

#include "settings/global.h"
#include "settings/initutility.h"
#include "settings/profiletext.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <utility>

namespace vorlane {
namespace {

using namespace std::chrono_literals;
using test::cp932;
using test::readBytes;
using test::settingsFile;
using test::TempFolder;
using test::writeBytes;

// Values that no load or save in these tests produces, so that a variable left alone shows.
void scrambleGlobals() {
    Global::WindowX = 111;
    Global::WindowY = 222;
    Global::DropFrame = false;
}

// A settings file's path in a temporary folder of its own.
struct IniFolder {
    TempFolder folder;
    std::string path = folder.file("vorlane.ini");
};

// The three variables that a load or a save sets, for one comparison.
std::tuple<std::int32_t, std::int32_t, bool> globals() {
    return {Global::WindowX, Global::WindowY, Global::DropFrame};
}

TEST(LoadSettings, FirstRunWritesTheDefaultsInOrder) {
    const IniFolder ini;
    scrambleGlobals();
    LoadSettings(ini.path);
    EXPECT_EQ(globals(), std::tuple(0, 0, true));
    // "[位置]" CRLF "X=0" CRLF "Y=0" CRLF "[設定]" CRLF "ドロップフレーム=True" CRLF in cp932.
    EXPECT_EQ(readBytes(ini.path),
              "[\x88\xca\x92\x75]\r\nX=0\r\nY=0\r\n[\x90\xdd\x92\xe8]\r\n"
              "\x83\x68\x83\x8d\x83\x62\x83\x76\x83\x74\x83\x8c\x81\x5b\x83\x80"
              "=True\r\n");
}

TEST(SaveSettings, ClosingAt1200And900InNonDropModeWritesTheExampleAndLoadsBack) {
    const IniFolder ini;
    scrambleGlobals();
    SaveSettings(ini.path, WindowPosition{1200.0, 900.0}, false);
    EXPECT_EQ(readBytes(ini.path), settingsFile("1200", "900", "False"));
    scrambleGlobals();
    Global::DropFrame = true;
    LoadSettings(ini.path);
    EXPECT_EQ(globals(), std::tuple(1200, 900, false));
    EXPECT_EQ(readBytes(ini.path), settingsFile("1200", "900", "False"));
}

TEST(LoadSettings, ReadsPositionsLikeValAndRoundsHalvesToEven) {
    const struct {
        std::string stored;
        std::int32_t expected;
        std::string storedAfter; // the X line after loading
    } rows[] = {
        {"-1500", -1500, "-1500"},
        {"100.5", 100, "100.5"},
        {"101.5", 102, "101.5"},
        {"-2.5", -2, "-2.5"},
        {"12abc", 12, "12abc"},
        {"1e3", 1000, "1e3"},
        {"1 200", 1200, "1 200"},
        {"1,200", 1, "1,200"},
        {"abc", 0, "abc"},
        {"\" 42 \"", 42, "\" 42 \""},
        {"", 0, "0"},
        {"???", 0, "0"},
        {"2147483647", 2147483647, "2147483647"},
        {"-2147483648.5", std::numeric_limits<std::int32_t>::min(), "-2147483648.5"},
        // Outside the 32-bit range: the default for this run, and the file keeps the text.
        {"2147483647.5", 0, "2147483647.5"},
        {"-2147483649", 0, "-2147483649"},
        {"1e400", 0, "1e400"},
    };
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, settingsFile(row.stored, "-7", "False"));
        scrambleGlobals();
        LoadSettings(ini.path);
        EXPECT_EQ(globals(), std::tuple(row.expected, -7, false)) << row.stored;
        EXPECT_EQ(readBytes(ini.path), settingsFile(row.storedAfter, "-7", "False")) << row.stored;
    }
}

TEST(LoadSettings, ReadsTheModeFromWordsOrNumbers) {
    const struct {
        std::string stored;
        bool expected;
        std::string storedAfter;
    } rows[] = {
        {"True", true, "True"},
        {"TRUE", true, "TRUE"},
        {"false", false, "false"},
        {"FaLsE", false, "FaLsE"},
        {"0", false, "0"},
        {"0.0", false, "0.0"},
        {"1", true, "1"},
        {"-1", true, "-1"},
        {"1e3", true, "1e3"},
        {"???", true, "True"},
        {"", true, "True"},
        // Neither word nor number: the default for this run, and the file keeps the text.
        {"yes", true, "yes"},
        {"0x", true, "0x"},
        {"falsehood", true, "falsehood"},
    };
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, settingsFile("1", "2", row.stored));
        scrambleGlobals();
        Global::DropFrame = !row.expected;
        LoadSettings(ini.path);
        EXPECT_EQ(Global::DropFrame, row.expected) << row.stored;
        EXPECT_EQ(readBytes(ini.path), settingsFile("1", "2", row.storedAfter)) << row.stored;
    }
}

TEST(LoadSettings, AddsTheMissingModeSectionAndKeepsThePosition) {
    const IniFolder ini;
    writeBytes(ini.path, cp932("[位置]\r\nX=10\r\nY=20\r\n"));
    LoadSettings(ini.path);
    EXPECT_EQ(globals(), std::tuple(10, 20, true));
    EXPECT_EQ(readBytes(ini.path), settingsFile("10", "20", "True"));
}

TEST(LoadSettings, KeepsEveryByteOfAFileWrittenByHand) {
    const IniFolder ini;
    const std::string before = cp932("; 手で書いた設定\n[その他]\nX=99\n\n[位置]\n  x = \n"
                                     "y=-40\n; 終わり\n[設定]\nドロップフレーム = false \n");
    writeBytes(ini.path, before);
    LoadSettings(ini.path);
    EXPECT_EQ(globals(), std::tuple(0, -40, false));
    EXPECT_EQ(readBytes(ini.path), cp932("; 手で書いた設定\n[その他]\nX=99\n\n[位置]\nx=0\n"
                                         "y=-40\n; 終わり\n[設定]\nドロップフレーム = false \n"));
}

TEST(LoadSettings, ReadsAndRewritesEachFileInItsEncoding) {
    const struct {
        std::string before;
        std::string after; // after SaveSettings(6, 7, true)
    } rows[] = {
        {"[位置]\nX=5\nY=-6\n[設定]\nドロップフレーム=0\n",
         "[位置]\nX=6\nY=7\n[設定]\nドロップフレーム=True\n"},
        {"\xEF\xBB\xBF[位置]\nX=5\n[設定]\nドロップフレーム=0\n",
         "\xEF\xBB\xBF[位置]\nX=6\nY=7\r\n[設定]\nドロップフレーム=True\n"},
        {test::utf16le("[位置]\r\nX=5\r\nY=-6\r\n[設定]\r\nドロップフレーム=False\r\n"),
         test::utf16le("[位置]\r\nX=6\r\nY=7\r\n[設定]\r\nドロップフレーム=True\r\n")},
        {test::utf16be("[位置]\nX=5\n[設定]\nドロップフレーム=False"),
         test::utf16be("[位置]\nX=6\nY=7\r\n[設定]\nドロップフレーム=True")},
        {cp932("[位置]\r\nX=\x0B"
               "5\f\r\nY=-6\r\n[設定]\r\nドロップフレーム=False\x1A"),
         cp932("[位置]\r\nX=6\r\nY=7\r\n[設定]\r\nドロップフレーム=True")},
    };
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, row.before);
        scrambleGlobals();
        Global::DropFrame = true;
        LoadSettings(ini.path);
        EXPECT_EQ(Global::WindowX, 5) << testing::PrintToString(row.before);
        EXPECT_FALSE(Global::DropFrame) << testing::PrintToString(row.before);
        SaveSettings(ini.path, WindowPosition{6.0, 7.0}, true);
        EXPECT_EQ(readBytes(ini.path), row.after);
    }
}

TEST(LoadSettings, StartsWhateverTheFileHolds) {
    std::mt19937 random(20240601);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    for (const std::string& before : {garbage, std::string(1'000'000, '[')}) {
        const IniFolder ini;
        writeBytes(ini.path, before);
        scrambleGlobals();
        LoadSettings(ini.path);
        const std::optional<std::string> after = readBytes(ini.path);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->substr(0, before.size()), before) << "existing bytes must stay";
        // Whatever was loaded is now in the file, so the next start finds the same.
        const auto loaded = globals();
        LoadSettings(ini.path);
        EXPECT_EQ(globals(), loaded);
    }
}

TEST(LoadSettings, TenMillionDigitPositionUsesTheDefault) {
    const IniFolder ini;
    const std::string before = cp932("[位置]\r\nX=") + std::string(10'000'000, '7') + "\r\n";
    writeBytes(ini.path, before);
    scrambleGlobals();
    LoadSettings(ini.path);
    EXPECT_EQ(globals(), std::tuple(0, 0, true));
    EXPECT_EQ(readBytes(ini.path), before.substr(0, before.size() - 2) +
                                       cp932("\r\nY=0\r\n[設定]\r\nドロップフレーム=True\r\n"));
}

TEST(LoadSettings, DirectoryInPlaceOfTheFileGivesTheDefaults) {
    const IniFolder ini;
    ASSERT_EQ(::mkdir(ini.path.c_str(), 0755), 0);
    scrambleGlobals();
    LoadSettings(ini.path);
    EXPECT_EQ(globals(), std::tuple(0, 0, true));
    SaveSettings(ini.path, WindowPosition{5.0, 5.0}, false);
    EXPECT_EQ(ini.folder.entryCount(), 1U);
}

TEST(SaveSettings, RoundsHalvesToEvenAndSkipsPositionsOutsideThe32BitRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double left;
        std::int32_t expected;
        std::string stored;
    } rows[] = {
        {100.5, 100, "100"},
        {101.5, 102, "102"},
        {-1500.0, -1500, "-1500"},
        {-0.5, 0, "0"},
        {-2147483648.5, std::numeric_limits<std::int32_t>::min(), "-2147483648"},
        {2147483647.4, 2147483647, "2147483647"},
        // Not representable: the variable and the file keep the previous position.
        {2147483647.5, 33, "33"},
        {-2147483649.0, 33, "33"},
        {nan, 33, "33"},
        {-infinity, 33, "33"},
    };
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, settingsFile("33", "44", "True"));
        Global::WindowX = 33;
        SaveSettings(ini.path, WindowPosition{row.left, 45.0}, false);
        EXPECT_EQ(globals(), std::tuple(row.expected, 45, false)) << row.left;
        EXPECT_EQ(readBytes(ini.path), settingsFile(row.stored, "45", "False")) << row.left;
    }
}

// Where the platform cannot report the window's position, the stored one stays as it is.
TEST(SaveSettings, WithoutAPositionStoresTheModeAlone) {
    const struct {
        std::string before, after;
    } rows[] = {
        {settingsFile("33", "44", "True"), settingsFile("33", "44", "False")},
        {cp932("[位置]\r\nY=abc\r\n"),
         cp932("[位置]\r\nY=abc\r\n[設定]\r\nドロップフレーム=False\r\n")},
    };
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, row.before);
        Global::WindowX = 1;
        Global::WindowY = 2;
        SaveSettings(ini.path, std::nullopt, false);
        EXPECT_EQ(readBytes(ini.path), row.after);
        EXPECT_EQ(std::pair(Global::WindowX, Global::WindowY), std::pair(1, 2));
    }
}

// Permissions do not stop the superuser, so the program runs in a child process that gives up
// its privileges first; skipped when it cannot.
TEST(SaveSettings, UnwritableFolderKeepsDefaultsOrStoredValuesWithoutAMessage) {
    const TempFolder folder;
    const std::string empty = folder.path() + "/empty";
    const std::string stored = folder.path() + "/stored";
    for (const std::string& sub : {empty, stored})
        ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    const std::string storedFile = stored + "/vorlane.ini";
    writeBytes(storedFile, settingsFile("300", "400", "False"));
    ASSERT_EQ(::chmod(storedFile.c_str(), 0444), 0);
    for (const std::string& sub : {empty, stored})
        ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);

    const std::optional<int> status = test::runUnprivileged([&] {
        bool ok = true;
        for (int run = 0; run < 2; ++run) {
            LoadSettings(empty + "/vorlane.ini");
            ok = ok && Global::WindowX == 0 && Global::WindowY == 0 && Global::DropFrame;
            SaveSettings(empty + "/vorlane.ini", WindowPosition{10.0, 20.0}, false);
            LoadSettings(storedFile);
            ok = ok && Global::WindowX == 300 && Global::WindowY == 400 && !Global::DropFrame;
            SaveSettings(storedFile, WindowPosition{10.0, 20.0}, true);
        }
        return ok ? 0 : 1;
    });
    if (!status)
        GTEST_SKIP() << "cannot give up the superuser's privileges";
    EXPECT_EQ(*status, 0);
    EXPECT_FALSE(readBytes(empty + "/vorlane.ini"));
    EXPECT_EQ(readBytes(storedFile), settingsFile("300", "400", "False"));
    for (const std::string& sub : {empty, stored})
        ::chmod(sub.c_str(), 0755);
}

TEST(SaveSettings, StoresWhatTheThreeSingleWritesWouldInOneGo) {
    const struct {
        std::string before;
        std::string after; // after SaveSettings(1, 2, false)
    } rows[] = {
        {cp932("[設定]\r\nドロップフレーム=True\r\n"),
         cp932("[設定]\r\nドロップフレーム=False\r\n[位置]\r\nX=1\r\nY=2\r\n")},
        {cp932("[位置]\r\nY=9\r\n; end"), cp932("[位置]\r\nY=2\r\nX=1\r\n; end\r\n[設定]\r\n"
                                                "ドロップフレーム=False\r\n")},
    };
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, row.before);
        SaveSettings(ini.path, WindowPosition{1.0, 2.0}, false);
        EXPECT_EQ(readBytes(ini.path), row.after);
    }
}

// Each save is one write: a reader never finds the position of one save with the mode or the
// other coordinate of another, even while two copies save over and over.
TEST(SaveSettings, TwoCopiesClosingAtOnceLeaveTheValuesOfOneOfThem) {
    const TempFolder folder(test::memoryFolder());
    const std::string path = folder.file("vorlane.ini");
    // Copy c saves X = c * 100000 + n, Y = X + 50000, and the mode c == 1.
    const auto consistent = [](const std::string& bytes) {
        const auto x = findProfileValue(bytes, PositionSection, WindowXKey);
        const auto y = findProfileValue(bytes, PositionSection, WindowYKey);
        const auto mode = findProfileValue(bytes, OptionsSection, DropFrameKey);
        const std::int32_t left = positionFromText(x.value_or("")).value_or(-1);
        return x && y && mode && positionFromText(*y) == left + 50000 &&
               dropFrameFromText(*mode) == (left >= 100000);
    };
    writeBytes(path, settingsFile("0", "50000", "False"));
    test::Children copies(2, [&](int copy) {
        for (int n = 0; n < 300; ++n)
            SaveSettings(path, WindowPosition{copy * 100000.0 + n, copy * 100000.0 + n + 50000},
                         copy == 1);
        return 0;
    });
    int mixed = 0;
    while (!copies.finished())
        mixed += consistent(readBytes(path).value_or("")) ? 0 : 1;
    EXPECT_TRUE(copies.succeeded());
    EXPECT_EQ(mixed, 0);
    EXPECT_TRUE(consistent(readBytes(path).value_or("")));
}

// Another process holds the file's lock all along (a backup tool, `flock -x vorlane.ini sleep
// 40`), or lets it go in time. The waits are short here; the program's are ReadWait and WriteWait.
constexpr auto ShortWait = 300ms;

TEST(LoadSettings, WaitsAtMostItsWaitForALockedFileAndThenWritesNothing) {
    const struct {
        std::string before;
        std::int32_t x;
    } rows[] = {{"", 0}, {cp932("[位置]\r\nX=5\r\n"), 5}};
    for (const auto& row : rows) {
        const IniFolder ini;
        writeBytes(ini.path, row.before);
        const test::LockHolder holder(ini.path, std::chrono::minutes(1));
        ASSERT_TRUE(holder.locked());
        scrambleGlobals();
        const auto start = std::chrono::steady_clock::now();
        LoadSettings(ini.path, ShortWait);
        EXPECT_LT(std::chrono::steady_clock::now() - start, ShortWait + 500ms);
        EXPECT_EQ(globals(), std::tuple(row.x, 0, true));
        EXPECT_EQ(readBytes(ini.path), row.before);
    }
}

TEST(SaveSettings, WaitsAtMostItsWaitForALockedFile) {
    const struct {
        std::chrono::milliseconds hold;
        bool saved;
    } rows[] = {{std::chrono::minutes(1), false}, {100ms, true}};
    for (const auto& row : rows) {
        const IniFolder ini;
        const std::string before = settingsFile("1", "2", "True");
        writeBytes(ini.path, before);
        const test::LockHolder holder(ini.path, row.hold);
        ASSERT_TRUE(holder.locked());
        const auto start = std::chrono::steady_clock::now();
        SaveSettings(ini.path, WindowPosition{30.0, 40.0}, false, ShortWait);
        EXPECT_LT(std::chrono::steady_clock::now() - start, ShortWait + 500ms);
        EXPECT_EQ(readBytes(ini.path), row.saved ? settingsFile("30", "40", "False") : before);
    }
}

TEST(DropFrameFromText, RejectsTextThatIsNeitherWordNorNumber) {
    for (const std::string_view text : {"", "yes", "Tru", "True1", "1 2", "--1", "ＴＲＵＥ"})
        EXPECT_EQ(dropFrameFromText(text), std::nullopt) << text;
}

} // namespace
} // namespace vorlane
