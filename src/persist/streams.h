// Byte streams for everything the instrument stores: typed values in, bytes
// out (little-endian, floats as their bit pattern), to a file or to an
// in-memory string. Text framing is the one difference: a carriage return
// after the characters in files, a length prefix and a zero in strings.
// Every read is bounded: a read past the end, an over-long text or a length
// prefix larger than the data throws StreamError for the caller to report.
// Thread: a stream belongs to the thread that made it.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Writer {
 public:
  virtual ~Writer() = default;

  // A zero-terminated text: characters after an embedded zero are not part
  // of it, whatever the framing.
  void WriteString(std::string_view text) { PutString(text.substr(0, text.find('\0'))); }
  void WriteBool(bool value);
  void WriteCount(std::uint32_t value) { WriteWord(value); }
  void WriteLength(std::int32_t value) { WriteWord(static_cast<std::uint32_t>(value)); }
  void WriteFloat(float value) { WriteWord(std::bit_cast<std::uint32_t>(value)); }
  void WriteInt(std::int32_t value) { WriteWord(static_cast<std::uint32_t>(value)); }
  virtual void WriteBytes(const void* data, std::size_t count) = 0;

 protected:
  virtual void PutString(std::string_view text) = 0;

 private:
  // Little-endian on every host, so files move between machines.
  void WriteWord(std::uint32_t bits);
};

class Reader {
 public:
  virtual ~Reader() = default;

  // A length-prefixed run of bytes, whatever the framing of this reader.
  std::string ReadLengthPrefixed();
  // One text in this reader's framing; capacity counts the terminating zero
  // of the buffer the text is meant for, so at most capacity - 1 characters.
  // Like that buffer, the result ends at the first zero byte of the text.
  std::string ReadString(std::size_t capacity);
  bool ReadBool();
  std::uint32_t ReadCount() { return ReadWord(); }
  std::int32_t ReadLength() { return static_cast<std::int32_t>(ReadWord()); }
  float ReadFloat() { return std::bit_cast<float>(ReadWord()); }
  std::int32_t ReadInt() { return static_cast<std::int32_t>(ReadWord()); }
  // Exactly count bytes, or StreamError.
  virtual void ReadBytes(void* data, std::size_t count) = 0;
  // Bytes left to read.
  virtual std::size_t Remaining() const = 0;

 protected:
  virtual std::string GetString(std::size_t capacity) = 0;

 private:
  std::uint32_t ReadWord();
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class FileWriter : public Writer {
 public:
  // Creates or truncates the file; true when open.
  virtual bool Open(const std::string& path);
  // Flushes and closes; false when anything could not be written.
  bool Close();
  bool isOpen() const { return file_ != nullptr; }
  void WriteBytes(const void* data, std::size_t count) override;

 protected:
  void PutString(std::string_view text) override;

 private:
  FilePtr file_;
};

class FileReader : public Reader {
 public:
  virtual bool Open(const std::string& path);
  void Close();
  bool isOpen() const { return file_ != nullptr; }
  void ReadBytes(void* data, std::size_t count) override;
  std::size_t Remaining() const override { return size_ - position_; }

 protected:
  std::string GetString(std::size_t capacity) override;

 private:
  FilePtr file_;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
};

// The header of every library file: the type word and a version.
struct FileKind {
  std::string extension;
  std::string typeWord;
  float version = 1.0f;
  float minVersion = 1.0f;
  float maxVersion = 1.0f;
};

// Reads the header of a library file at the reader's position and checks it:
// the exact type word, then a version inside [minVersion, maxVersion], which
// goes into kind.version. False on a mismatch or a header cut short.
bool ReadFileHeader(Reader& reader, FileKind& kind);

class ParameterFileWriter : public FileWriter {
 public:
  FileKind kind;
  // Type word, then the version's four bytes.
  void WriteHeader();
};

class ParameterFileReader : public FileReader {
 public:
  FileKind kind;
  static constexpr std::size_t kTypeWordCapacity = 128;
  // Opens and checks the header (ReadFileHeader). On a mismatch the file is
  // closed.
  bool Open(const std::string& path) override;
};

// Appends to a caller-owned byte string (zero bytes included).
class StringWriter : public Writer {
 public:
  explicit StringWriter(std::string& target) : target_(target) {}
  void WriteBytes(const void* data, std::size_t count) override;

 protected:
  void PutString(std::string_view text) override;

 private:
  std::string& target_;
};

// Reads from caller-owned bytes of known size.
class StringReader : public Reader {
 public:
  StringReader(const void* data, std::size_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  void ReadBytes(void* data, std::size_t count) override;
  std::size_t Remaining() const override { return size_ - position_; }
  std::size_t position() const { return position_; }

 protected:
  std::string GetString(std::size_t capacity) override;

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// The bytes of a whole file held in memory, read with the file framing of
// texts (a patch file handed over as a state chunk).
class FileImageReader : public StringReader {
 public:
  using StringReader::StringReader;

 protected:
  std::string GetString(std::size_t capacity) override;
};
