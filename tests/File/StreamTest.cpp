#include <gtest/gtest.h>

#include <dirent.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Base/StreamCreator.h"
#include "FileTestSupport.h"

namespace {

std::string Iota(unsigned n) {
  std::string bytes(n, '\0');
  for (unsigned i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + 1);
  return bytes;
}

std::string ReadAll(base::Stream& stream, unsigned n) {
  std::string bytes(n, '\0');
  bytes.resize(stream.Read(bytes.data(), n));
  return bytes;
}

struct SeekCase {
  unsigned size;
  unsigned start;
  int offset;
  int origin;
  unsigned expected;
};

class SeekTest : public ::testing::TestWithParam<SeekCase> {};

// Memory and frame streams share the seek rules: origin 2 counts from size - 1, results clamp.
TEST_P(SeekTest, MemoryAndFrameStreamsClamp) {
  const SeekCase& c = GetParam();
  const std::string bytes = Iota(c.size);
  base::MemoryStream memory(bytes.data(), c.size);
  memory.Seek(static_cast<int>(c.start), 0);
  EXPECT_EQ(memory.Seek(c.offset, c.origin), c.expected);

  base::MemoryStream inner(bytes.data(), c.size);
  base::FrameStream frame(&inner, false, 0, c.size);
  frame.Seek(static_cast<int>(c.start), 0);
  EXPECT_EQ(frame.Seek(c.offset, c.origin), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SeekTest,
                         ::testing::Values(SeekCase{10, 0, 0, 2, 9},    // end is size - 1
                                           SeekCase{10, 0, 5, 2, 10},   // clamped to size
                                           SeekCase{10, 3, -20, 1, 0},  // clamped to 0
                                           SeekCase{10, 3, 4, 1, 7}, SeekCase{10, 3, 4, 0, 4},
                                           SeekCase{10, 3, 99, 0, 10}, SeekCase{10, 3, -1, 0, 0},
                                           SeekCase{10, 6, 1, 7, 6},    // unknown origin stays
                                           SeekCase{0, 0, 0, 2, 0}));

TEST(MemoryStreamTest, GrowsByWhatAWriteNeedsAndKeepsItsBytes) {
  base::MemoryStream stream("abcd", 4);
  stream.Seek(0, 2);
  stream.Seek(1, 1);
  EXPECT_TRUE(stream.IsEnd());
  EXPECT_EQ(stream.Write("xyz", 3), 3u);
  EXPECT_EQ(stream.GetSize(), 7u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetBuffer()), 7), "abcdxyz");

  stream.Seek(1, 0);
  EXPECT_EQ(stream.Write("Q", 1), 1u);  // an overwrite inside does not grow
  EXPECT_EQ(stream.GetSize(), 7u);
  stream.Seek(0, 0);
  EXPECT_EQ(ReadAll(stream, 100), "aQcdxyz");
  EXPECT_TRUE(stream.IsEnd());
}

TEST(MemoryStreamTest, ResizeKeepsThePrefixAndClampsThePosition) {
  base::MemoryStream stream("abcde", 5);
  stream.Seek(4, 0);
  stream.Resize(2, true);
  EXPECT_EQ(stream.GetSize(), 2u);
  EXPECT_EQ(stream.GetPosition(), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetBuffer()), 2), "ab");
  stream.Resize(0, true);
  EXPECT_EQ(stream.GetBuffer(), nullptr);
  EXPECT_EQ(stream.GetPosition(), 0u);
}

// A stream whose resize is ours to watch; it starts at a position close to the 32-bit limit.
class NearLimitStream : public base::MemoryStream {
 public:
  NearLimitStream() {
    mSize = 0xFFFFFFF0u;
    mPosition = 0xFFFFFFF0u;
  }
  ~NearLimitStream() override { mSize = 0; }
  void Resize(unsigned, bool) override { ++mResizes; }
  int mResizes = 0;
};

TEST(MemoryStreamTest, WriteThatWouldPassFourGigabytesFailsWithoutResizing) {
  NearLimitStream stream;
  char bytes[0x20] = {};
  EXPECT_EQ(stream.Write(bytes, sizeof bytes), 0u);
  EXPECT_EQ(stream.mResizes, 0);
}

TEST(MemoryStreamTest, WriteFailsWhenTheDerivedResizeDoesNotGrow) {
  struct FixedStream : base::MemoryStream {
    void Resize(unsigned, bool) override {}
  } stream;
  EXPECT_EQ(stream.Write("abc", 3), 0u);
  EXPECT_EQ(stream.GetSize(), 0u);
}

TEST(FrameStreamTest, ReadsOnlyItsWindow) {
  const std::string bytes = Iota(1000);
  base::MemoryStream inner(bytes.data(), 1000);
  base::FrameStream frame(&inner, false, 100, 8);
  EXPECT_EQ(ReadAll(frame, 20), bytes.substr(100, 8));
  EXPECT_TRUE(frame.IsEnd());
  EXPECT_EQ(ReadAll(frame, 20), "");
  EXPECT_EQ(frame.Write("x", 1), 0u);
  frame.Seek(-3, 2);
  EXPECT_EQ(ReadAll(frame, 20), bytes.substr(104, 4));
}

TEST(FrameStreamTest, WindowPastTheInnerEndGivesShortCounts) {
  base::MemoryStream inner("0123456789", 10);
  base::FrameStream frame(&inner, false, 6, 8);
  EXPECT_EQ(ReadAll(frame, 8), "6789");
  EXPECT_EQ(frame.GetSize(), 8u);
  base::FrameStream outside(&inner, false, 50, 4);
  EXPECT_EQ(ReadAll(outside, 4), "");
}

TEST(FrameStreamTest, WindowPositionsDoNotWrapAtFourGigabytes) {
  base::MemoryStream inner("0123456789", 10);
  // offset + position = 2^32 once wrapped to 0, the inner stream's first bytes.
  base::FrameStream frame(&inner, false, 0xFFFFFFF0u, 0x20);
  EXPECT_EQ(frame.Seek(0x10, base::Stream::kBegin), 0x10u);
  char bytes[4] = {'-', '-', '-', '-'};
  EXPECT_EQ(frame.Read(bytes, 4), 0u);
  EXPECT_EQ(std::string(bytes, 4), "----");
  EXPECT_EQ(frame.Seek(0, base::Stream::kCurrent), 0x10u);
  frame.Seek(0x1C, base::Stream::kBegin);
  EXPECT_EQ(frame.Read(bytes, 4), 0u);
}

TEST(FrameStreamTest, ReadStopsAtTheInnerEnd) {
  base::MemoryStream inner("0123456789", 10);
  base::FrameStream frame(&inner, false, 8, 100);
  char bytes[8] = {};
  EXPECT_EQ(frame.Read(bytes, 8), 2u);
  EXPECT_EQ(std::string(bytes, 2), "89");
  EXPECT_EQ(frame.Read(bytes, 8), 0u);  // the window's position 2 lies at the inner end
}

TEST(FrameStreamTest, SeveralWindowsShareOneInnerStream) {
  base::MemoryStream inner("abcdefgh", 8);
  base::FrameStream left(&inner, false, 0, 4);
  base::FrameStream right(&inner, false, 4, 4);
  EXPECT_EQ(ReadAll(right, 2), "ef");
  EXPECT_EQ(ReadAll(left, 2), "ab");
  EXPECT_EQ(ReadAll(right, 2), "gh");
  EXPECT_EQ(ReadAll(left, 9), "cd");
}

struct CopyCase {
  const char* name;
  unsigned sourceSize;
  unsigned sourcePosition;
  unsigned n;
  unsigned expected;    // bytes copied
  unsigned firstByte;   // source index of the first byte copied
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

class CopyTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyTest, CopiesWhatIsAskedAndLeft) {
  const CopyCase& c = GetParam();
  const std::string bytes = Iota(c.sourceSize);
  base::MemoryStream source(bytes.data(), c.sourceSize);
  source.Seek(static_cast<int>(c.sourcePosition), 0);
  base::MemoryStream target;
  EXPECT_EQ(target.CopyFrom(&source, c.n), c.expected);
  ASSERT_EQ(target.GetSize(), c.expected);
  if (c.expected > 0) {
    EXPECT_EQ(std::memcmp(target.GetBuffer(), bytes.data() + c.firstByte, c.expected), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyTest,
    ::testing::Values(CopyCase{"Nothing", 10, 0, 0, 0, 0}, CopyCase{"WholeFromStart", 10, 7, 0xFFFFFFFFu, 10, 0},
                      CopyCase{"OnlyWhatIsLeft", 10, 7, 5, 3, 7}, CopyCase{"Part", 10, 2, 5, 5, 2},
                      CopyCase{"AtEnd", 10, 10, 5, 0, 0},
                      CopyCase{"SeveralChunks", 0x100000 * 2 + 17, 0, 0xFFFFFFFFu, 0x100000 * 2 + 17, 0},
                      CopyCase{"ChunksFromTheMiddle", 0x100000 + 40, 30, 0x100000 + 5, 0x100000 + 5, 30}),
    [](const auto& info) { return std::string(info.param.name); });

// A source that claims more than it delivers (a shrinking file, a window past its inner end).
class ShortSource : public base::MemoryStream {
 public:
  using MemoryStream::MemoryStream;
  unsigned GetSize() override { return 100; }
};

TEST(CopyFromTest, StopsAtAShortReadAndReportsTheBytesCopied) {
  ShortSource source("abcdef", 6);
  base::MemoryStream target;
  EXPECT_EQ(target.CopyFrom(&source, 50), 6u);
  EXPECT_EQ(target.GetSize(), 6u);
}

TEST(CopyFromTest, StopsAtAShortWrite) {
  base::MemoryStream source("abcdef", 6);
  base::MemoryStream inner("12", 2);
  base::FrameStream readOnly(&inner, false, 0, 2);
  EXPECT_EQ(readOnly.CopyFrom(&source, 6), 0u);
}

class FileStreamTest : public filetest::TempFolderTest {};

int OpenDescriptors() {
  int count = 0;
  DIR* dir = opendir("/proc/self/fd");
  while (readdir(dir)) ++count;
  closedir(dir);
  return count;
}

TEST_F(FileStreamTest, ReadsWritesAndNeverReportsItsEnd) {
  base::FileStream out;
  ASSERT_EQ(out.GetHandle().Open(u"f.bin", file::FileHandleWin32::kWrite, file::FileHandleWin32::kCreateAlways), VN_OK);
  EXPECT_EQ(out.Write("hello", 5), 5u);
  EXPECT_EQ(out.GetSize(), 5u);
  EXPECT_EQ(out.Read(nullptr, 0), 0u);  // a write-only handle reads nothing

  base::FileStream in;
  ASSERT_EQ(in.GetHandle().Open(u"f.bin", 0, 2), VN_OK);
  EXPECT_EQ(ReadAll(in, 10), "hello");
  EXPECT_FALSE(in.IsEnd());
  EXPECT_EQ(in.Write("x", 1), 0u);
  EXPECT_EQ(in.Seek(-2, 2), 3u);
  EXPECT_EQ(in.Seek(-10, 1), 3u);  // before the start: the position stays
  EXPECT_EQ(in.Seek(1, 0), 1u);
}

TEST_F(FileStreamTest, FailedOpenKeepsThePathAndTheHandleClosed) {
  file::FileHandleWin32 handle;
  EXPECT_EQ(handle.Open(u"missing.bin", 0, 2), VN_FAIL);
  EXPECT_EQ(handle.GetPath(), u"missing.bin");
  EXPECT_FALSE(handle.IsOpen());
  EXPECT_EQ(handle.Close(), VN_FAIL);
  base::FileStream stream;
  EXPECT_EQ(stream.GetSize(), 0u);
  EXPECT_EQ(stream.Seek(5, 0), 0u);
  char byte;
  EXPECT_EQ(stream.Read(&byte, 1), 0u);
}

TEST_F(FileStreamTest, DispositionsAndAccessCodes) {
  file::FileHandleWin32 handle;
  EXPECT_EQ(handle.Open(u"new.bin", 1, 1), VN_OK);
  EXPECT_EQ(handle.Close(), VN_OK);
  EXPECT_EQ(handle.GetPath(), u"");
  EXPECT_EQ(handle.Open(u"new.bin", 1, 1), VN_FAIL);  // create new: present
  EXPECT_EQ(handle.Open(u"new.bin", 2, 7), VN_FAIL);  // unknown disposition
  ASSERT_EQ(handle.Open(u"new.bin", 9, 2), VN_OK);    // no access: opens, reads and writes fail
  unsigned count = 77;
  char byte;
  EXPECT_EQ(handle.Read(&byte, 1, &count), VN_FAIL);
  EXPECT_EQ(handle.Write("x", 1, &count), VN_FAIL);
  EXPECT_EQ(count, 77u);
}

TEST_F(FileStreamTest, OpenOnAnOpenHandleClosesItFirst) {
  WriteTestFile("a.bin", "a");
  file::FileHandleWin32 handle;
  ASSERT_EQ(handle.Open(u"a.bin", 0, 2), VN_OK);
  const int before = OpenDescriptors();
  for (int i = 0; i < 5; ++i) ASSERT_EQ(handle.Open(u"a.bin", 0, 2), VN_OK);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(FileStreamTest, CreatorsOpenNewStreams) {
  WriteTestFile("data.bin", "0123456789");
  base::FileStreamCreator missing(u"nothing.bin", 0, 2);
  base::Stream* stream = reinterpret_cast<base::Stream*>(0x1);
  EXPECT_EQ(missing.Create(&stream), VN_FAIL);
  EXPECT_EQ(stream, reinterpret_cast<base::Stream*>(0x1));

  base::FrameStreamCreator frames(new base::FileStreamCreator(u"data.bin", 0, 2), true, 3, 4);
  std::unique_ptr<base::Stream> a, b;
  ASSERT_EQ(frames.Create(&stream), VN_OK);
  a.reset(stream);
  ASSERT_EQ(frames.Create(&stream), VN_OK);
  b.reset(stream);
  EXPECT_EQ(ReadAll(*a, 2), "34");
  EXPECT_EQ(ReadAll(*b, 9), "3456");
  EXPECT_EQ(ReadAll(*a, 9), "56");

  base::FrameStreamCreator empty(nullptr, false, 0, 1);
  EXPECT_EQ(empty.Create(&stream), VN_FAIL);
  base::FrameStreamCreator broken(new base::FileStreamCreator(u"nothing.bin", 0, 2), true, 0, 1);
  EXPECT_EQ(broken.Create(&stream), VN_FAIL);
}

}  // namespace
