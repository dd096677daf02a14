// The shared settings rules over Windows' own profile functions, under Wine: defaults, "???",
// write-back and the value forms reach the file as the program has always written it.

#include "settings/global.h"
#include "settings/inipath.h"
#include "settings/initfile.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace vorlane {
namespace {

using test::readBytes;
using test::settingsFile;
using test::TempFolder;
using test::writeBytes;

// What a first run writes on Japanese Windows, byte for byte, in code page 932.
const std::string FirstRunBytes = settingsFile("0", "0", "True");

// The text in UTF-16 little-endian with its byte order mark, as Notepad saves "Unicode".
std::string utf16le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

void expectSettings(std::int32_t x, std::int32_t y, bool dropFrame) {
    EXPECT_EQ(Global::WindowX, x);
    EXPECT_EQ(Global::WindowY, y);
    EXPECT_EQ(Global::DropFrame, dropFrame);
}

class Japanese : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::GetACP(), 932u) << "run under LANG=ja_JP.UTF-8"; }
    const TempFolder folder;
    const NativePath path = folder.file("vorlane.ini");
};

// A missing file, an empty value and "???" all give the default, written back.
TEST_F(Japanese, AFirstRunWritesTheDefaultsInCodePage932) {
    for (const std::string_view before : {"", "[\x88\xca\x92\x75]\r\nX=\r\nY=???\r\n"}) {
        writeBytes(path, before);
        LoadSettings(path);
        expectSettings(0, 0, true);
        EXPECT_EQ(readBytes(path), FirstRunBytes);
    }
}

TEST_F(Japanese, PositionsAndTheModeKeepTheirValueForms) {
    SaveSettings(path, WindowPosition{-1500.0, 100.5}, false);
    EXPECT_EQ(readBytes(path), settingsFile("-1500", "100", "False"));
    writeBytes(path, settingsFile("1e3", "1 200", "0"));
    LoadSettings(path);
    expectSettings(1000, 1200, false);
}

TEST_F(Japanese, AUtf16FileStaysUtf16) {
    writeBytes(path, utf16le(u"[位置]\r\nX=5\r\nY=6\r\n[設定]\r\nドロップフレーム=False\r\n"));
    LoadSettings(path);
    expectSettings(5, 6, false);
    SaveSettings(path, WindowPosition{7.0, 8.0}, true);
    EXPECT_EQ(readBytes(path),
              utf16le(u"[位置]\r\nX=7\r\nY=8\r\n[設定]\r\nドロップフレーム=True\r\n"));
}

// The ANSI functions cannot open a path with characters outside the code page; the wide ones
// do, and write the same bytes.
TEST_F(Japanese, AFolderNamedOutsideCodePage932Works) {
    const NativePath inner = folder.file("Café Ø");
    ASSERT_TRUE(::CreateDirectoryW(inner.c_str(), nullptr));
    LoadSettings(inner + L"\\vorlane.ini");
    EXPECT_EQ(readBytes(inner + L"\\vorlane.ini"), FirstRunBytes);
}

TEST(IniFilePath, LiesBesideTheExecutableWithOneSeparator) {
    EXPECT_EQ(iniFilePathFor(L"C:\\", L"Vorlane.exe"), L"C:\\Vorlane.ini");
    EXPECT_EQ(iniFilePathFor(L"D:\\Tools", L"Vorlane.exe"), L"D:\\Tools\\Vorlane.ini");
    const NativePath executable = executablePath();
    ASSERT_TRUE(executable.ends_with(L"\\settings_tests.exe"));
    EXPECT_EQ(IniFilePath(), executable.substr(0, executable.size() - 3) + L"ini");
}

// A Windows whose ANSI code page cannot write the Japanese names (code page 1252 here) keeps
// the file in Unicode: the settings persist, and the file does not grow run after run.
TEST(OutsideJapanese, ANewSettingsFileIsUnicodeAndKeepsTheSettings) {
    ASSERT_EQ(::GetACP(), 1252u) << "run under LANG=en_US.UTF-8";
    const TempFolder folder;
    const NativePath path = folder.file("vorlane.ini");
    LoadSettings(path);
    EXPECT_EQ(readBytes(path),
              utf16le(u"[位置]\r\nX=0\r\nY=0\r\n[設定]\r\nドロップフレーム=True\r\n"));
    SaveSettings(path, WindowPosition{1200.0, 900.0}, false);
    const std::optional<std::string> saved = readBytes(path);
    for (int run = 0; run < 2; ++run) {
        LoadSettings(path);
        expectSettings(1200, 900, false);
        SaveSettings(path, WindowPosition{1200.0, 900.0}, false);
        EXPECT_EQ(readBytes(path), saved);
    }
}

} // namespace
} // namespace vorlane
