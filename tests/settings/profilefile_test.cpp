#include "settings/profilefile.h"

#include "settings/profiletext.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vorlane {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

constexpr std::string_view Default = "default";

TEST(ProfileFile, WriteCreatesTheFileAndReadFindsTheValue) {
    const TempFolder folder;
    const std::string path = folder.file("new.ini");
    EXPECT_EQ(readProfileString(path, "S", "k", Default), Default);
    EXPECT_FALSE(readBytes(path)) << "a read must not create the file";

    EXPECT_TRUE(writeProfileString(path, "S", "k", "v"));
    EXPECT_EQ(readBytes(path), "[S]\r\nk=v\r\n");
    EXPECT_EQ(readProfileString(path, "s", "K", Default), "v");
    EXPECT_EQ(readProfileString(path, "S", "other", Default), Default);
    EXPECT_EQ(folder.entryCount(), 1U) << "no temporary file may stay behind";
}

TEST(ProfileFile, RewriteKeepsThePermissionBits) {
    for (const mode_t mode : std::initializer_list<mode_t>{0600, 0640, 0664, 0604}) {
        const TempFolder folder;
        const std::string path = folder.file("kept.ini");
        writeBytes(path, "[S]\nk=1\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_TRUE(writeProfileString(path, "S", "k", "2"));
        EXPECT_EQ(readBytes(path), "[S]\nk=2\n");
        EXPECT_EQ(test::permissionBits(path), mode);
    }
}

TEST(ProfileFile, FileWithoutWritePermissionIsNeverWritten) {
    // Also as the superuser, as Windows' read-only attribute also stops an administrator.
    const TempFolder folder;
    const std::string path = folder.file("readonly.ini");
    writeBytes(path, "[S]\nk=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(writeProfileString(path, "S", "k", "2"));
    EXPECT_FALSE(writeProfileString(path, "S", "new", "2"));
    EXPECT_EQ(readBytes(path), "[S]\nk=1\n");
    EXPECT_EQ(readProfileString(path, "S", "k", Default), "1");
    EXPECT_EQ(folder.entryCount(), 1U);
}

TEST(ProfileFile, NoRegularFileAtThePathGivesTheDefaultAndIsLeftAlone) {
    const TempFolder folder;
    const std::string directory = folder.file("directory.ini");
    ASSERT_EQ(::mkdir(directory.c_str(), 0755), 0);
    const std::string fifo = folder.file("fifo.ini"); // an open that waited for a writer would hang
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string missingFolder = folder.file("missing/settings.ini");

    for (const std::string& path : {directory, fifo, missingFolder}) {
        EXPECT_EQ(readProfileString(path, "S", "k", Default), Default) << path;
        EXPECT_FALSE(writeProfileString(path, "S", "k", "v")) << path;
    }
    struct stat status {};
    EXPECT_TRUE(::stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode));
    EXPECT_TRUE(::stat(fifo.c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
    EXPECT_EQ(folder.entryCount(), 2U);
}

TEST(ProfileFile, OversizedFileCountsAsEmptyAndIsLeftAlone) {
    const TempFolder folder;
    const std::string path = folder.file("huge.ini");
    writeBytes(path, "[S]\nk=1\n");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(MaxProfileFileBytes) + 1), 0);
    EXPECT_EQ(readProfileString(path, "S", "k", Default), Default);
    EXPECT_FALSE(writeProfileString(path, "S", "k", "2"));
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_size, static_cast<off_t>(MaxProfileFileBytes) + 1);
}

TEST(ProfileFile, WriteThroughASymbolicLinkChangesTheLinkedFile) {
    const TempFolder folder;
    const std::string real = folder.file("real.ini");
    const std::string link = folder.file("link.ini");
    writeBytes(real, "[S]\nk=1\n");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    EXPECT_TRUE(writeProfileString(link, "S", "k", "2"));
    EXPECT_EQ(readBytes(real), "[S]\nk=2\n");
    struct stat status {};
    EXPECT_TRUE(::lstat(link.c_str(), &status) == 0 && S_ISLNK(status.st_mode));
}

// Permissions do not stop the superuser, so these run in a child process that gives up its
// privileges first (see runUnprivileged); they are skipped when it cannot.
TEST(ProfileFile, UnwritableFolderWithWritableFileIsRewrittenInPlace) {
    const TempFolder folder;
    const std::string path = folder.file("inplace.ini");
    writeBytes(path, "; kept\r\n[S]\r\nk=1\r\n[T]\r\nx=0\r\n");
    test::giveToUnprivileged(path);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);

    const std::optional<int> status = test::runUnprivileged([&] {
        const bool ok = writeProfileString(path, "S", "k", "22") &&
                        writeProfileString(path, "S", "j", "3") &&
                        writeProfileString(path, "T", "x", "") &&
                        readProfileString(path, "S", "k", Default) == "22";
        return ok ? 0 : 1;
    });
    if (!status)
        GTEST_SKIP() << "cannot give up the superuser's privileges";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(readBytes(path), "; kept\r\n[S]\r\nk=22\r\nj=3\r\n[T]\r\nx=\r\n");
    EXPECT_EQ(folder.entryCount(), 1U);
}

TEST(ProfileFile, UnwritableFolderWithoutTheFileWritesNothing) {
    const TempFolder folder;
    const std::string path = folder.file("absent.ini");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const std::optional<int> status = test::runUnprivileged([&] {
        const bool ok = !writeProfileString(path, "S", "k", "v") &&
                        readProfileString(path, "S", "k", Default) == Default;
        return ok ? 0 : 1;
    });
    if (!status)
        GTEST_SKIP() << "cannot give up the superuser's privileges";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(folder.entryCount(), 0U);
}

TEST(ProfileFile, UnreadableFileGivesTheDefaultAndIsLeftAlone) {
    const TempFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    const std::string path = folder.file("secret.ini");
    writeBytes(path, "[S]\nk=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    const std::optional<int> status = test::runUnprivileged([&] {
        const bool ok = readProfileString(path, "S", "k", Default) == Default &&
                        !writeProfileString(path, "S", "k", "2");
        return ok ? 0 : 1;
    });
    if (!status)
        GTEST_SKIP() << "cannot give up the superuser's privileges";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(readBytes(path), "[S]\nk=1\n");
}

TEST(ProfileFile, ConcurrentWritersInSeveralProcessesLoseNoKey) {
    constexpr int Writers = 6;
    constexpr int Rounds = 40;
    const TempFolder folder;
    const std::string path = folder.file("shared.ini");
    // std::string on the left: GCC 12 at -O3 takes "literal" + temporary string for an
    // overlapping copy (a false -Wrestrict).
    const auto section = [](int round) { return std::string("S") + std::to_string(round % 3); };
    const auto key = [](int writer, int round) {
        return std::string("w") + std::to_string(writer) + "r" + std::to_string(round);
    };
    const auto value = [](int writer, int round) { return std::to_string(writer * 1000 + round); };

    // All writers wait on the gate and start together when the parent closes it.
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (int writer = 0; writer < Writers; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(gate[1]);
            char ignored = 0;
            (void)!::read(gate[0], &ignored, 1);
            bool ok = true;
            for (int round = 0; round < Rounds; ++round) {
                ok = writeProfileString(path, section(round), key(writer, round),
                                        value(writer, round)) &&
                     readProfileString(path, section(round), key(writer, round), Default) ==
                         value(writer, round) &&
                     ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const std::optional<std::string> bytes = readBytes(path);
    ASSERT_TRUE(bytes);
    for (int writer = 0; writer < Writers; ++writer)
        for (int round = 0; round < Rounds; ++round)
            EXPECT_EQ(findProfileValue(*bytes, section(round), key(writer, round)),
                      value(writer, round));
    EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '='), Writers * Rounds);
    EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '['), 3);
    EXPECT_EQ(folder.entryCount(), 1U);
}

} // namespace
} // namespace vorlane
