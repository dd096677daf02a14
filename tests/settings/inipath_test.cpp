#include "settings/inipath.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace vorlane {
namespace {

TEST(IniFilePathFor, PutsOneSeparatorBeforeTheNameWithoutItsExtension) {
    const struct {
        std::string_view folder;
        std::string_view executable;
        std::string_view expected;
    } rows[] = {
        {"/opt/tools", "vorlane", "/opt/tools/vorlane.ini"},
        {"/opt/tools/", "vorlane", "/opt/tools/vorlane.ini"},
        {"/", "vorlane", "/vorlane.ini"},
        {"/opt", "Vorlane.exe", "/opt/Vorlane.ini"},
        {"/opt", "vorlane.tar.gz", "/opt/vorlane.tar.ini"},
        {"/opt", "vorlane.", "/opt/vorlane.ini"},
        {"/opt", ".vorlane", "/opt/.vorlane.ini"},
        {"/o.d", "tool", "/o.d/tool.ini"},
        {"/opt", "時刻変換", "/opt/時刻変換.ini"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(iniFilePathFor(row.folder, row.executable), row.expected);
}

std::string runProbe(const std::string& executable) {
    std::string output;
    if (FILE* pipe = ::popen(("'" + executable + "'").c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            output += buffer;
        ::pclose(pipe);
    }
    if (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

TEST(IniFilePath, FollowsTheRealExecutableAndItsCurrentName) {
    const test::TempFolder folder;
    const std::string real = std::filesystem::canonical(folder.path()).string();
    const std::string renamed = real + "/Renamed.bin";
    std::filesystem::copy_file(VORLANE_SETTINGS_PROBE, renamed);
    EXPECT_EQ(runProbe(renamed), real + "/Renamed.ini");

    const std::string links = real + "/links";
    std::filesystem::create_directory(links);
    std::filesystem::create_symlink(renamed, links + "/other");
    EXPECT_EQ(runProbe(links + "/other"), real + "/Renamed.ini");
}

// An upgrade renames a new file over the running executable; the kernel then names the old one
// "... (deleted)". The settings file stays the one beside the executable's path, and a name
// that really ends so is kept.
TEST(IniFilePath, StaysBesideAnExecutableReplacedWhileItRuns) {
    for (const bool replaced : {true, false}) {
        const test::TempFolder folder;
        const std::string real = std::filesystem::canonical(folder.path()).string();
        const std::string executable = real + (replaced ? "/Tool" : "/Tool (deleted)");
        std::filesystem::copy_file(VORLANE_SETTINGS_PROBE, executable);
        FILE* input = ::popen(("'" + executable + "' wait >'" + real + "/out'").c_str(), "w");
        ASSERT_NE(input, nullptr);
        const auto running = [&] { return test::readBytes(real + "/out") == "waiting\n"; };
        for (int wait = 0; wait < 500 && !running(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (replaced) {
            std::filesystem::copy_file(VORLANE_SETTINGS_PROBE, real + "/Tool.new");
            std::filesystem::rename(real + "/Tool.new", executable);
        }
        std::fputs("\n", input);
        ::pclose(input);
        EXPECT_EQ(test::readBytes(real + "/out"), "waiting\n" + executable + ".ini\n");
    }
}

} // namespace
} // namespace vorlane
