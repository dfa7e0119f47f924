// The mappings file shared by every instance: its layout, damaged files, and
// that it is written only from the editor's timer or at destruction.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "learnables.h"
#include "support/temp_dir.h"

namespace {

std::string Word(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string Header(int count) { return Word(0x3F800000u) + Word(static_cast<std::uint32_t>(count)); }
std::string Record(const std::string& name, const std::string& prefix, int c) {
  return name + '\r' + prefix + '\r' + Word(static_cast<std::uint32_t>(c));
}
void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(MidiLearnFile, SharesMappingsAndLoadsWhatItCan) {
  TempDir dir;
  const std::string path = dir.File("MidiLearnMappings.dat");
  Learnables a;
  a.manager.SetFilePath(path);  // missing: no mappings, nothing created
  EXPECT_TRUE(Tied(a.manager).empty());
  EXPECT_FALSE(std::filesystem::exists(path));
  a.Learn(a.x2, 5);
  a.Learn(a.freeze, 5);
  ASSERT_TRUE(a.manager.WriteIfPending());
  EXPECT_EQ(Contents(path), Header(2) + Record("X", "2", 5) + Record("Freeze Position", "", 5));
  Learnables b;  // another instance
  b.manager.SetFilePath(path);
  EXPECT_EQ(Tied(b.manager), (Pairs{{&b.x2, 5}, {&b.freeze, 5}}));

  // Unknown names and controllers outside 0..127 are skipped, the rest loads.
  Put(path, Header(6) + Record("Nope", "", 3) + Record("X", "9", 6) + Record("X", "1", 200) +
                Record("X", "1", -1) + Record("Y", "1", 4) + Record("Freeze Position", "", 0));
  Learnables c;
  c.manager.SetFilePath(path);
  EXPECT_EQ(Tied(c.manager), (Pairs{{&c.y1, 4}, {&c.freeze, 0}}));

  // Loading again replaces the list; a cut-off file keeps its whole records.
  Put(path, Header(3) + Record("Y", "2", 4) + "X\r1\r\x05");
  c.manager.LoadMappings();
  EXPECT_EQ(Tied(c.manager), (Pairs{{&c.y2, 4}}));

  for (const std::string& bad :
       {std::string(), Header(1), Header(-5) + Record("Y", "1", 1),
        Header(1) + std::string(300, 'Y') + "\r1\r" + Word(1), Header(0x7FFFFFFF) + "Y"}) {
    Put(path, bad);
    Learnables d;
    d.manager.SetFilePath(path);
    EXPECT_TRUE(Tied(d.manager).empty()) << bad.size();
  }
}

TEST(MidiLearnFile, WrittenFromTheEditorTimerOrAtDestructionOnly) {
  TempDir dir;
  const std::string folder = dir.File("later");
  const std::string path = folder + "/Data/MidiLearnMappings.dat";
  {
    Learnables a;
    a.manager.SetFilePath(path);
    a.Learn(a.x1, 10);
    a.Move(10, 127);
    a.manager.ApplyPendingValues();
    EXPECT_EQ(a.x1.rawValue(), 1.0f);
    EXPECT_FALSE(std::filesystem::exists(folder));  // the audio thread did no file work
    EXPECT_TRUE(a.manager.WriteIfPending());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(a.manager.WriteIfPending());

    // Disconnecting does not rewrite the file: the next instance has it back.
    a.manager.Disconnect(&a.x1);
    EXPECT_FALSE(a.manager.WriteIfPending());
    Learnables b;
    b.manager.SetFilePath(path);
    EXPECT_EQ(Tied(b.manager), (Pairs{{&b.x1, 10}}));

    a.Learn(a.y1, 11);  // stored as the instance goes
    std::filesystem::remove(path);
  }
  Learnables c;
  c.manager.SetFilePath(path);
  EXPECT_EQ(Tied(c.manager), (Pairs{{&c.y1, 11}}));
}

}  // namespace
