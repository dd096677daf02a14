#include "settings/profilefile.h"

#include "profilestrings.h"
#include "settings/profiletext.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

namespace vorlane {
namespace {

using test::GetIniString;
using test::PutIniString;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

TEST(ProfileFile, WriteCreatesTheFileAndReadFindsTheValue) {
    const TempFolder folder;
    const std::string path = folder.file("new.ini");
    EXPECT_EQ(GetIniString("S", "k", path), MissingValue);
    EXPECT_FALSE(readBytes(path)) << "a read must not create the file";

    EXPECT_TRUE(PutIniString(path, "S", "k", "v"));
    EXPECT_EQ(readBytes(path), "[S]\r\nk=v\r\n");
    EXPECT_EQ(GetIniString("s", "K", path), "v");
    EXPECT_EQ(GetIniString("S", "other", path), MissingValue);
    EXPECT_EQ(folder.entryCount(), 1U) << "no temporary file may stay behind";
}

TEST(ProfileFile, RewriteKeepsThePermissionBits) {
    for (const mode_t mode : std::initializer_list<mode_t>{0600, 0640, 0664, 0604}) {
        const TempFolder folder;
        const std::string path = folder.file("kept.ini");
        writeBytes(path, "[S]\nk=1\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_TRUE(PutIniString(path, "S", "k", "2"));
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
    EXPECT_FALSE(PutIniString(path, "S", "k", "2"));
    EXPECT_FALSE(PutIniString(path, "S", "new", "2"));
    EXPECT_EQ(readBytes(path), "[S]\nk=1\n");
    EXPECT_EQ(GetIniString("S", "k", path), "1");
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
        EXPECT_EQ(GetIniString("S", "k", path), MissingValue) << path;
        EXPECT_FALSE(PutIniString(path, "S", "k", "v")) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(folder.entryCount(), 2U);
}

TEST(ProfileFile, OversizedFileCountsAsEmptyAndIsLeftAlone) {
    const TempFolder folder;
    const std::string path = folder.file("huge.ini");
    writeBytes(path, "[S]\nk=1\n");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(MaxProfileFileBytes) + 1), 0);
    EXPECT_EQ(GetIniString("S", "k", path), MissingValue);
    EXPECT_FALSE(PutIniString(path, "S", "k", "2"));
    EXPECT_EQ(std::filesystem::file_size(path), MaxProfileFileBytes + 1);
}

TEST(ProfileFile, WriteThroughASymbolicLinkChangesTheLinkedFile) {
    const TempFolder folder;
    const std::string real = folder.file("real.ini");
    const std::string link = folder.file("link.ini");
    writeBytes(real, "[S]\nk=1\n");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    EXPECT_TRUE(PutIniString(link, "S", "k", "2"));
    EXPECT_EQ(readBytes(real), "[S]\nk=2\n");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
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
        const bool ok = PutIniString(path, "S", "k", "22") && PutIniString(path, "S", "j", "3") &&
                        PutIniString(path, "T", "x", "") && GetIniString("S", "k", path) == "22";
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
        const bool ok =
            !PutIniString(path, "S", "k", "v") && GetIniString("S", "k", path) == MissingValue;
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
        const bool ok =
            GetIniString("S", "k", path) == MissingValue && !PutIniString(path, "S", "k", "2");
        return ok ? 0 : 1;
    });
    if (!status)
        GTEST_SKIP() << "cannot give up the superuser's privileges";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(readBytes(path), "[S]\nk=1\n");
}

TEST(ProfileFile, SixteenWritersOfFiveHundredWritesEachLoseNothing) {
    constexpr int Writers = 16;
    constexpr int Writes = 500;
    const TempFolder folder(test::memoryFolder());
    const std::string path = folder.file("shared.ini");
    const auto key = [](int writer) { return std::to_string(writer); };
    // A long comment makes each write hold the lock long enough for the writers to queue up.
    writeBytes(path, std::string("[S]\r\n;").append(16 * 1024, 'c').append("\r\n"));
    test::Children writers(Writers, [&](int writer) {
        bool ok = true;
        for (int round = 0; round < Writes; ++round)
            ok = PutIniString(path, "S", key(writer), std::to_string(round)) && ok;
        return ok ? 0 : 1;
    });
    EXPECT_TRUE(writers.succeeded()) << "a write was refused";
    const std::optional<std::string> bytes = readBytes(path);
    ASSERT_TRUE(bytes);
    for (int writer = 0; writer < Writers; ++writer)
        EXPECT_EQ(findProfileValue(*bytes, "S", key(writer)), std::to_string(Writes - 1));
    EXPECT_EQ(folder.entryCount(), 1U);
}

TEST(ProfileFile, AWriteRemovesOnlyTheTemporaryFilesThatCrashedWritersLeft) {
    const TempFolder folder;
    const std::string path = folder.file("vorlane.ini");
    const std::string outside = folder.file("outside");
    writeBytes(path, "[S]\nk=1\n");
    writeBytes(outside, "mine");
    enum class Kind { File, Link, Folder };
    const struct {
        std::string name;
        Kind kind;
        bool removed;
    } rows[] = {
        {".vorlane.ini.a1B2c3", Kind::File, true},  {".vorlane.ini.XXXXXX", Kind::File, true},
        {".vorlane.ini.abcde", Kind::File, false},  {".vorlane.ini.abcdefg", Kind::File, false},
        {".vorlane.ini.ab-def", Kind::File, false}, {"vorlane.ini.abcdef", Kind::File, false},
        {".vorlane.ini~", Kind::File, false},       {".cutter.ini.abcdef", Kind::File, false},
        {".vorlane.ini.link01", Kind::Link, false}, {".vorlane.ini.fold01", Kind::Folder, false},
    };
    for (const auto& row : rows) {
        const std::string entry = folder.file(row.name);
        if (row.kind == Kind::File)
            writeBytes(entry, "[S]\nk=0\n");
        else if (row.kind == Kind::Link)
            ASSERT_EQ(::symlink(outside.c_str(), entry.c_str()), 0);
        else
            ASSERT_EQ(::mkdir(entry.c_str(), 0700), 0);
    }
    EXPECT_TRUE(PutIniString(path, "S", "k", "2"));
    for (const auto& row : rows)
        EXPECT_EQ(!std::filesystem::exists(std::filesystem::symlink_status(folder.file(row.name))),
                  row.removed)
            << row.name;
    EXPECT_EQ(readBytes(outside), "mine");
}

TEST(ProfileFile, WritersKilledMidWriteLeaveAtMostTheOneInFlightTemporaryFile) {
    const TempFolder folder(test::memoryFolder());
    const std::string path = folder.file("vorlane.ini");
    // Large enough that a kill often lands while the temporary file is being written.
    writeBytes(path, std::string("[S]\r\nk=0\r\n;").append(1 << 20, 'c').append("\r\n"));
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        test::Children writer(1, [&](int) {
            for (int n = 0;; ++n)
                PutIniString(path, "S", "k", std::to_string(n));
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        writer.kill();
        EXPECT_FALSE(writer.succeeded());
        EXPECT_LE(folder.entryCount(), 2U) << "round " << round;
    }
    EXPECT_TRUE(PutIniString(path, "S", "k", "done"));
    EXPECT_EQ(folder.entryCount(), 1U);
}

// The in-place path reserves the blocks of the new size before it overwrites anything. On a
// full disk a write that needs more blocks therefore leaves the file as it was, down to its
// last comment line, and one that fits in the blocks the file has goes through.
TEST(ProfileFile, InPlaceRewriteOnAFullDiskLeavesTheFileWholeOrWritesItWhole) {
    const test::SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs the superuser";
    const std::string path = disk.file("vorlane.ini");
    constexpr std::string_view Tail = "; mine\r\n";
    std::string file = "[S]\r\nk=1\r\n;";
    file.append(12288 - file.size() - 2 - Tail.size(), 'c').append("\r\n").append(Tail);
    writeBytes(path, file);
    test::giveToUnprivileged(path);
    disk.fill("filler");
    ASSERT_EQ(::chmod(disk.path().c_str(), 0555), 0); // the in-place path

    const struct {
        std::string section;
        std::string value;
        bool written;
        std::string newLine; // the line of k afterwards
    } rows[] = {
        {"T", "1", false, "k=1"}, // a new section needs another block
        {"S", "11", false, "k=1"},
        {"S", "2", true, "k=2"},
        {"S", "", true, "k="},
    };
    for (const auto& row : rows) {
        const std::optional<int> status = test::runUnprivileged(
            [&] { return PutIniString(path, row.section, "k", row.value) ? 0 : 1; });
        if (!status)
            GTEST_SKIP() << "cannot give up the superuser's privileges";
        EXPECT_EQ(*status, row.written ? 0 : 1) << row.section << " " << row.value;
        file.replace(5, file.find("\r\n", 5) - 5, row.newLine);
        EXPECT_EQ(readBytes(path), file) << row.section << " " << row.value;
    }
}

TEST(ProfileFile, AWriteThatWouldPassTheSizeLimitIsNotMade) {
    const TempFolder folder(test::memoryFolder());
    const std::string path = folder.file("vorlane.ini");
    std::string file = "[S]\r\nk=5\r\n;";
    file.append(MaxProfileFileBytes - 1 - file.size() - 2, 'c').append("\r\n");
    writeBytes(path, file);
    const struct {
        std::string section;
        std::string value;
        bool written;
        std::size_t sizeAfter;
    } rows[] = {
        {"S", "55", true, MaxProfileFileBytes}, // exactly at the limit
        {"S", "555", false, MaxProfileFileBytes},
        {"T", "5", false, MaxProfileFileBytes}, // a new section
        {"S", "6", true, MaxProfileFileBytes - 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PutIniString(path, row.section, "k", row.value), row.written) << row.value;
        EXPECT_EQ(std::filesystem::file_size(path), row.sizeAfter) << row.value;
    }
    EXPECT_EQ(GetIniString("S", "k", path), "6");
}

// Where a rename would change the file's identity or cannot be done, the file is rewritten in
// place: other names of it, its owner and its extended attributes stay.
TEST(ProfileFile, WritesInPlaceWhereARenameWouldChangeTheFileOrCannotBeDone) {
    const TempFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    // Too long for the temporary name beside it (NAME_MAX), or for the temporary path (PATH_MAX).
    const std::string longName = std::string(251, 'n').append(".ini");
    std::string longPath = folder.path();
    constexpr std::size_t LongPathBytes = 4090;
    constexpr std::size_t LongestTemporaryName = 255 - 8;
    while (LongPathBytes - longPath.size() - 1 > LongestTemporaryName)
        longPath.append("/").append(200, 'd');
    ASSERT_TRUE(std::filesystem::create_directories(longPath));
    longPath.append("/").append(LongPathBytes - longPath.size() - 1, 'p');
    const std::string sticky = folder.file("sticky");
    ASSERT_EQ(::mkdir(sticky.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);

    enum class Writer { Self, Unprivileged };
    const struct {
        std::string path;
        uid_t owner;
        mode_t mode;
        std::string otherLink; // a second name of the file, when not empty
        Writer writer;
    } rows[] = {
        {folder.file(longName), ::geteuid(), 0644, "", Writer::Self},
        {longPath, ::geteuid(), 0644, "", Writer::Self},
        {folder.file("linked.ini"), ::geteuid(), 0644, folder.file("other-name.ini"), Writer::Self},
        {folder.file("nobodys.ini"), test::NobodyId, 0666, "", Writer::Self},
        {sticky + "/roots.ini", 0, 0666, "", Writer::Unprivileged},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.substr(folder.path().size()).substr(0, 40));
        if (row.owner != ::geteuid() && ::geteuid() != 0)
            continue; // only the superuser can give the file to another user
        writeBytes(row.path, "[S]\r\nk=1\r\n");
        ASSERT_TRUE(row.otherLink.empty() || ::link(row.path.c_str(), row.otherLink.c_str()) == 0);
        ASSERT_EQ(::chmod(row.path.c_str(), row.mode), 0);
        ASSERT_EQ(::chown(row.path.c_str(), row.owner, row.owner), 0);
        const bool attribute = ::setxattr(row.path.c_str(), "user.vorlane", "kept", 4, 0) == 0;
        struct stat before {};
        ASSERT_EQ(::stat(row.path.c_str(), &before), 0);

        const auto write = [&] { return PutIniString(row.path, "S", "k", "2") ? 0 : 1; };
        const std::optional<int> status =
            row.writer == Writer::Self ? write() : test::runUnprivileged(write);
        if (!status)
            GTEST_SKIP() << "cannot give up the superuser's privileges";
        EXPECT_EQ(*status, 0);
        EXPECT_EQ(readBytes(row.path), "[S]\r\nk=2\r\n");
        if (!row.otherLink.empty()) {
            EXPECT_EQ(readBytes(row.otherLink), "[S]\r\nk=2\r\n");
        }
        struct stat after {};
        ASSERT_EQ(::stat(row.path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        std::array<char, 8> value{};
        if (attribute) { // not every file system has user attributes
            EXPECT_EQ(::getxattr(row.path.c_str(), "user.vorlane", value.data(), value.size()), 4);
            EXPECT_EQ(std::string_view(value.data()), "kept");
        }
    }
    const std::filesystem::directory_iterator stickyEntries(sticky);
    EXPECT_EQ(std::distance(begin(stickyEntries), end(stickyEntries)), ::geteuid() == 0 ? 1 : 0);
}

} // namespace
} // namespace vorlane
