#include "persist/streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "support/temp_dir.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

void Store(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the same serialisation into a file and into a string; returns the file's bytes.
template <typename Fn>
std::string ToFile(const TempDir& dir, Fn&& write) {
  const std::string path = dir.File("out.bin");
  FileWriter writer;
  EXPECT_TRUE(writer.Open(path));
  write(static_cast<Writer&>(writer));
  EXPECT_TRUE(writer.Close());
  return Load(path);
}

template <typename Fn>
std::string ToString(Fn&& write) {
  std::string target;
  StringWriter writer(target);
  write(static_cast<Writer&>(writer));
  return target;
}

}  // namespace

TEST(StreamLayout, ValuesAreLittleEndianAndAlikeInFilesAndStrings) {
  TempDir dir;
  auto values = [](Writer& w) {
    w.WriteFloat(1.0f);
    w.WriteFloat(0.012f);
    w.WriteBool(true);
    w.WriteBool(false);
    w.WriteInt(-2);
    w.WriteCount(0x01020304u);
    w.WriteLength(5);
  };
  const std::string expected =
      Bytes({0x00, 0x00, 0x80, 0x3F, 0xA6, 0x9B, 0x44, 0x3C, 0x01, 0x00, 0xFE, 0xFF, 0xFF,
             0xFF, 0x04, 0x03, 0x02, 0x01, 0x05, 0x00, 0x00, 0x00});
  EXPECT_EQ(ToString(values), expected);
  EXPECT_EQ(ToFile(dir, values), expected);

  // Only a stored 1 is true.
  const std::string bools = Bytes({0x01, 0x02, 0xFF, 0x00});
  StringReader reader(bools.data(), bools.size());
  EXPECT_TRUE(reader.ReadBool());
  EXPECT_FALSE(reader.ReadBool());
  EXPECT_FALSE(reader.ReadBool());
  EXPECT_FALSE(reader.ReadBool());

  // A string writer appends to what its target already holds.
  std::string target = "x";
  StringWriter appender(target);
  appender.WriteBool(true);
  EXPECT_EQ(target, "x\x01");
}

TEST(StreamLayout, TextFramingDependsOnTheStream) {
  TempDir dir;
  auto abc = [](Writer& w) { w.WriteString("abc"); };
  EXPECT_EQ(ToFile(dir, abc), Bytes({0x61, 0x62, 0x63, 0x0D}));
  EXPECT_EQ(ToString(abc), Bytes({0x04, 0x00, 0x00, 0x00, 0x61, 0x62, 0x63, 0x00}));

  auto empty = [](Writer& w) { w.WriteString(""); };
  EXPECT_EQ(ToFile(dir, empty), Bytes({0x0D}));
  EXPECT_EQ(ToString(empty), Bytes({0x01, 0x00, 0x00, 0x00, 0x00}));

  // A text ends at its first zero in either framing.
  auto embedded = [](Writer& w) { w.WriteString(std::string("ab\0cd", 5)); };
  EXPECT_EQ(ToFile(dir, embedded), Bytes({0x61, 0x62, 0x0D}));
  EXPECT_EQ(ToString(embedded), Bytes({0x03, 0x00, 0x00, 0x00, 0x61, 0x62, 0x00}));
}

TEST(StreamRoundTrip, FileAndStringReadBackWhatWasWritten) {
  TempDir dir;
  auto write = [](Writer& w) {
    w.WriteString("Pad 1");
    w.WriteInt(-123456);
    w.WriteCount(4000000000u);
    w.WriteFloat(-0.75f);
    w.WriteBool(true);
    w.WriteString("");
    w.WriteLength(3);
    w.WriteBytes("x\0y", 3);
    w.WriteString("abc");
  };
  auto check = [](Reader& r) {
    EXPECT_EQ(r.ReadString(512), "Pad 1");
    EXPECT_EQ(r.ReadInt(), -123456);
    EXPECT_EQ(r.ReadCount(), 4000000000u);
    EXPECT_EQ(r.ReadFloat(), -0.75f);
    EXPECT_TRUE(r.ReadBool());
    EXPECT_EQ(r.ReadString(1), "");
    EXPECT_EQ(r.ReadLengthPrefixed(), std::string("x\0y", 3));
    EXPECT_EQ(r.ReadString(4), "abc");  // exactly fills a 4-byte buffer
    EXPECT_EQ(r.Remaining(), 0u);
  };
  const std::string chunk = ToString(write);
  StringReader stringReader(chunk.data(), chunk.size());
  check(stringReader);

  ToFile(dir, write);
  FileReader fileReader;
  ASSERT_TRUE(fileReader.Open(dir.File("out.bin")));
  check(fileReader);

  // A file reader drops leading spaces, keeps inner ones; a string reader keeps all.
  Store(dir.File("pad.bin"), "   Pad 1\r  \r");
  ASSERT_TRUE(fileReader.Open(dir.File("pad.bin")));
  EXPECT_EQ(fileReader.ReadString(512), "Pad 1");
  EXPECT_EQ(fileReader.ReadString(512), "");
  const std::string spaced = ToString([](Writer& w) { w.WriteString("  x"); });
  StringReader spacedReader(spaced.data(), spaced.size());
  EXPECT_EQ(spacedReader.ReadString(512), "  x");
}

TEST(ParameterFile, HeaderNeedsTheTypeWordAndAVersionInRange) {
  TempDir dir;
  const std::string path = dir.File("a.patch");
  ParameterFileWriter writer;
  writer.kind.typeWord = "ZelvanePatch";
  ASSERT_TRUE(writer.Open(path));
  writer.WriteHeader();
  writer.WriteInt(42);
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(Load(path), "ZelvanePatch\r" + Bytes({0x00, 0x00, 0x80, 0x3F, 42, 0, 0, 0}));

  ParameterFileReader reader;
  reader.kind.typeWord = "ZelvanePatch";
  ASSERT_TRUE(reader.Open(path));
  EXPECT_EQ(reader.kind.version, 1.0f);
  EXPECT_EQ(reader.ReadInt(), 42);

  auto refused = [&](const std::string& bytes) {
    Store(path, bytes);
    reader.kind.version = 7.0f;
    const bool opened = reader.Open(path);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.kind.version, 7.0f);  // untouched on failure
    return !opened;
  };
  const std::string one = Bytes({0x00, 0x00, 0x80, 0x3F});
  const std::string two = Bytes({0x00, 0x00, 0x00, 0x40});
  EXPECT_TRUE(refused("zelvanePatch\r" + one));  // case matters
  EXPECT_TRUE(refused("ZelvanePatchX\r" + one));
  EXPECT_TRUE(refused("ZelvanePatch\r" + two));  // above [1, 1]
  EXPECT_TRUE(refused("ZelvanePatch\r" + Bytes({0x00, 0x00})));  // version cut short
  EXPECT_TRUE(refused("ZelvanePatch"));                           // no carriage return
  EXPECT_TRUE(refused(""));
  EXPECT_TRUE(refused(std::string(5000, 'Z') + "\r" + one));  // longer than the word buffer
  EXPECT_FALSE(reader.Open(dir.File("missing.patch")));
  EXPECT_FALSE(reader.Open(dir.path().string()));  // a folder

  // Leading spaces before the type word are skipped like in any file text.
  Store(path, "  ZelvanePatch\r" + one);
  EXPECT_TRUE(reader.Open(path));

  reader.kind.maxVersion = 2.0f;
  Store(path, "ZelvanePatch\r" + two);
  ASSERT_TRUE(reader.Open(path));
  EXPECT_EQ(reader.kind.version, 2.0f);
  reader.kind.minVersion = 1.5f;
  EXPECT_TRUE(refused("ZelvanePatch\r" + one));  // below the range
}

TEST(StreamBounds, DamagedStringDataThrowsInsteadOfOverrunning) {
  auto reader = [](const std::string& bytes) { return StringReader(bytes.data(), bytes.size()); };
  const std::string three = Bytes({1, 2, 3});
  StringReader shortData = reader(three);
  EXPECT_THROW(shortData.ReadInt(), StreamError);
  EXPECT_EQ(shortData.Remaining(), 3u);  // a failed read consumes nothing
  char buffer[8];
  EXPECT_THROW(shortData.ReadBytes(buffer, 4), StreamError);
  shortData.ReadBytes(buffer, 3);
  EXPECT_THROW(shortData.ReadBool(), StreamError);

  auto textThrows = [&](const std::string& bytes, std::size_t capacity) {
    StringReader r = reader(bytes);
    EXPECT_THROW(r.ReadString(capacity), StreamError) << testing::PrintToString(bytes);
  };
  textThrows(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}), 512);  // huge prefix
  textThrows(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}), 512);  // negative
  textThrows(Bytes({0x00, 0x00, 0x00, 0x00, 'a', 0}), 512);  // no room for the zero
  textThrows(Bytes({0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'}), 512);  // zero missing
  textThrows(Bytes({0x04, 0x00, 0x00, 0x00, 'a', 'b', 'c', 0}), 3);  // longer than the buffer
  textThrows(Bytes({0x01, 0x00, 0x00, 0x00, 0}), 0);
  textThrows(Bytes({0x05, 0x00, 0x00}), 512);  // prefix cut short

  for (const std::string& bytes : {Bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 2}),
                                   Bytes({0xFE, 0xFF, 0xFF, 0xFF, 1, 2})}) {
    StringReader prefixed = reader(bytes);
    EXPECT_THROW(prefixed.ReadLengthPrefixed(), StreamError);
  }
  const std::string zeroLength = Bytes({0x00, 0x00, 0x00, 0x00});
  StringReader prefixed = reader(zeroLength);
  EXPECT_EQ(prefixed.ReadLengthPrefixed(), "");

  // A zero before the end ends the text, as it would in the caller's buffer.
  const std::string earlyZero = Bytes({0x04, 0x00, 0x00, 0x00, 'a', 0, 'b', 0, 9});
  StringReader early = reader(earlyZero);
  EXPECT_EQ(early.ReadString(4), "a");
  EXPECT_EQ(early.Remaining(), 1u);
}

TEST(StreamBounds, DamagedFilesThrowInsteadOfOverrunning) {
  TempDir dir;
  const std::string path = dir.File("bad.bin");
  FileReader reader;
  auto open = [&](const std::string& bytes) {
    Store(path, bytes);
    EXPECT_TRUE(reader.Open(path));
  };
  open("abc");  // the last text lacks its carriage return
  EXPECT_THROW(reader.ReadString(512), StreamError);
  open("     ");
  EXPECT_THROW(reader.ReadString(512), StreamError);
  open("abcd\r");
  EXPECT_THROW(reader.ReadString(4), StreamError);  // needs 5 bytes with its zero
  open("\r");
  EXPECT_THROW(reader.ReadString(0), StreamError);  // not even room for the zero
  open(Bytes({0x00, 0x00, 0x80}));
  EXPECT_THROW(reader.ReadFloat(), StreamError);
  open(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'}));
  EXPECT_THROW(reader.ReadLengthPrefixed(), StreamError);
  open(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a'}));
  EXPECT_THROW(reader.ReadLengthPrefixed(), StreamError);
  open(std::string("ab\0c\r", 5));
  EXPECT_EQ(reader.ReadString(512), "ab");
  EXPECT_EQ(reader.Remaining(), 0u);  // consumed up to the carriage return

  open("abc\r");
  reader.Close();
  EXPECT_EQ(reader.Remaining(), 0u);
  EXPECT_THROW(reader.ReadBool(), StreamError);
  FileWriter closed;
  EXPECT_THROW(closed.WriteInt(1), StreamError);
  EXPECT_FALSE(closed.Close());
}

TEST(FileWriterFailure, FullDiskIsNeverReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  auto failed = [](std::size_t bytes) {
    FileWriter writer;
    if (!writer.Open("/dev/full")) return true;
    try {
      const std::string block(bytes, 'x');
      writer.WriteBytes(block.data(), block.size());
      writer.WriteString("tail");
    } catch (const StreamError&) {
      writer.Close();
      return true;
    }
    return !writer.Close();
  };
  EXPECT_TRUE(failed(1));        // stays in the buffer until the close
  EXPECT_TRUE(failed(1 << 20));  // fails while writing
}

TEST(FileImage, ReadsAFileHeldInMemoryWithTheFileFraming) {
  TempDir dir;
  const std::string path = dir.File("image.bin");
  FileWriter w;
  ASSERT_TRUE(w.Open(path));
  w.WriteString("  name");
  w.WriteFloat(2.5f);
  w.WriteString("tail");
  ASSERT_TRUE(w.Close());
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  FileImageReader r(bytes.data(), bytes.size());
  EXPECT_EQ(r.ReadString(512), "name");
  EXPECT_FLOAT_EQ(r.ReadFloat(), 2.5f);
  EXPECT_EQ(r.ReadString(512), "tail");
  EXPECT_EQ(r.Remaining(), 0u);
  FileImageReader cut(bytes.data(), bytes.size() - 1);  // the last carriage return lost
  cut.ReadString(512);
  cut.ReadFloat();
  EXPECT_THROW(cut.ReadString(512), StreamError);
}
