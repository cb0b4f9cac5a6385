#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "BufferTestHelpers.h"

namespace core::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

class BufferSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(TARVIK_BINARY_DIR) / "buffer-save-test" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        buffer.ResetEmpty();
    }
    void TearDown() override { fs::remove_all(dir); }

    static Bytes ReadFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path dir;
    CCrystalTextBuffer buffer;
};

TEST_F(BufferSaveTest, EmptyBufferWritesOnlyTheByteOrderMark) {
    const fs::path file = dir / "empty.txt";
    ASSERT_TRUE(buffer.SaveUnicodeFile(file.string()));
    EXPECT_EQ(ReadFile(file), (Bytes{0xFF, 0xFE}));
}

TEST_F(BufferSaveTest, LinesAreLittleEndianJoinedByCrLfWithoutTrailingBreak) {
    Fill(buffer, u"A\n\u20AC\n");
    const fs::path file = dir / "lines.txt";
    ASSERT_TRUE(buffer.SaveUnicodeFile(file.string()));
    EXPECT_EQ(ReadFile(file),
              (Bytes{0xFF, 0xFE, 'A', 0, 0x0D, 0, 0x0A, 0, 0xAC, 0x20, 0x0D, 0, 0x0A, 0}));
}

TEST_F(BufferSaveTest, ExistingFileIsTruncatedAndNewFileGetsMode0644) {
    const fs::path file = dir / "old.txt";
    std::ofstream(file) << std::string(1000, 'z');
    Fill(buffer, u"x");
    const mode_t oldMask = ::umask(022);
    ASSERT_TRUE(buffer.SaveUnicodeFile(file.string()));
    const fs::path fresh = dir / "fresh.txt";
    ASSERT_TRUE(buffer.SaveUnicodeFile(fresh.string()));
    ::umask(oldMask);
    EXPECT_EQ(ReadFile(file), (Bytes{0xFF, 0xFE, 'x', 0}));
    struct stat info {};
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(BufferSaveTest, LargeBufferIsWrittenCompletely) {
    std::u16string text;
    for (int i = 0; i < 20000; ++i)
        text += u"line of text number " + std::u16string(1, u'0' + i % 10) + u"\n";
    Fill(buffer, text);
    const fs::path file = dir / "large.txt";
    ASSERT_TRUE(buffer.SaveUnicodeFile(file.string()));
    const Bytes bytes = ReadFile(file);
    // 20000 lines of 21 units, 20000 breaks of 2 units (the last empty line has none), mark.
    EXPECT_EQ(bytes.size(), 2u + 20000u * 21u * 2u + 20000u * 4u);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x0A);
}

TEST_F(BufferSaveTest, UncreatableFileOrBadPathFails) {
    EXPECT_FALSE(buffer.SaveUnicodeFile((dir / "missing" / "x.txt").string()));
    EXPECT_FALSE(buffer.SaveUnicodeFile(dir.string()));
    EXPECT_FALSE(buffer.SaveUnicodeFile(""));
    EXPECT_FALSE(buffer.SaveUnicodeFile(std::string("a\0b", 3)));
}

TEST_F(BufferSaveTest, WriteErrorIsReported) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    Fill(buffer, u"text");
    EXPECT_FALSE(buffer.SaveUnicodeFile("/dev/full"));
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(buffer.WriteLines(fd));
    ::close(fd);
}

TEST_F(BufferSaveTest, WriteLinesWritesToAnOpenDescriptor) {
    Fill(buffer, u"a\r\nb");
    const fs::path file = dir / "fd.txt";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(buffer.WriteLines(fd));
    ::close(fd);
    EXPECT_EQ(ReadFile(file), (Bytes{'a', 0, 0x0D, 0, 0x0A, 0, 'b', 0}));
}

}  // namespace
}  // namespace core::test
