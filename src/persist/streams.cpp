#include "persist/streams.h"

#include <sys/stat.h>

#include <cstring>
#include <limits>

void Writer::WriteBool(bool value) {
  const unsigned char byte = value ? 1 : 0;
  WriteBytes(&byte, 1);
}

void Writer::WriteWord(std::uint32_t bits) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
      static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
  WriteBytes(bytes, 4);
}

std::uint32_t Reader::ReadWord() {
  unsigned char b[4];
  ReadBytes(b, 4);
  return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
         std::uint32_t{b[3]} << 24;
}

std::string Reader::ReadLengthPrefixed() {
  const std::int32_t n = ReadLength();
  if (n < 0 || static_cast<std::size_t>(n) > Remaining()) {
    throw StreamError("a length prefix points past the end of the data");
  }
  std::string bytes(static_cast<std::size_t>(n), '\0');
  if (n > 0) ReadBytes(bytes.data(), bytes.size());
  return bytes;
}

std::string Reader::ReadString(std::size_t capacity) {
  if (capacity == 0) throw StreamError("no room for a text");
  std::string text = GetString(capacity);
  text.resize(std::strlen(text.c_str()));  // a zero inside ends the text
  return text;
}

bool Reader::ReadBool() {
  unsigned char byte = 0;
  ReadBytes(&byte, 1);
  return byte == 1;  // any other byte is false
}

bool FileWriter::Open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "wb"));
  return file_ != nullptr;
}

bool FileWriter::Close() {
  if (file_ == nullptr) return false;
  const bool ok = std::fflush(file_.get()) == 0 && std::ferror(file_.get()) == 0;
  return (std::fclose(file_.release()) == 0) && ok;
}

void FileWriter::WriteBytes(const void* data, std::size_t count) {
  if (file_ == nullptr) throw StreamError("the file is not open for writing");
  if (count > 0 && std::fwrite(data, 1, count, file_.get()) != count) {
    throw StreamError("the file could not be written (disk full?)");
  }
}

void FileWriter::PutString(std::string_view text) {
  WriteBytes(text.data(), text.size());
  const char cr = '\r';
  WriteBytes(&cr, 1);
}

bool FileReader::Open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "rb"));
  position_ = 0;
  size_ = 0;
  if (file_ == nullptr) return false;
  struct stat st {};
  if (fstat(fileno(file_.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
    file_.reset();
    return false;
  }
  size_ = static_cast<std::size_t>(st.st_size);
  return true;
}

void FileReader::Close() {
  file_.reset();
  size_ = 0;
  position_ = 0;
}

void FileReader::ReadBytes(void* data, std::size_t count) {
  if (file_ == nullptr) throw StreamError("the file is not open for reading");
  if (count > Remaining() || std::fread(data, 1, count, file_.get()) != count) {
    throw StreamError("unexpected end of file");
  }
  position_ += count;
}

namespace {

// File framing: leading spaces are skipped; the text runs to the first
// carriage return.
std::string ReadCarriageReturnText(Reader& reader, std::size_t capacity) {
  std::string text;
  bool leading = true;
  for (;;) {
    unsigned char c = 0;
    reader.ReadBytes(&c, 1);  // throws at the end: a text without its carriage return
    if (c == '\r') return text;
    if (leading && c == ' ') continue;
    leading = false;
    if (text.size() + 1 >= capacity) throw StreamError("a text in the file is too long");
    text.push_back(static_cast<char>(c));
  }
}

}  // namespace

std::string FileReader::GetString(std::size_t capacity) {
  return ReadCarriageReturnText(*this, capacity);
}

std::string FileImageReader::GetString(std::size_t capacity) {
  return ReadCarriageReturnText(*this, capacity);
}

void ParameterFileWriter::WriteHeader() {
  WriteString(kind.typeWord);
  WriteFloat(kind.version);
}

bool ReadFileHeader(Reader& reader, FileKind& kind) {
  try {
    if (reader.ReadString(ParameterFileReader::kTypeWordCapacity) != kind.typeWord) return false;
    const float version = reader.ReadFloat();
    if (static_cast<double>(kind.minVersion) <= version &&
        static_cast<double>(version) <= kind.maxVersion) {
      kind.version = version;
      return true;
    }
  } catch (const StreamError&) {
    // a header cut short is a header that does not match
  }
  return false;
}

bool ParameterFileReader::Open(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  if (!FileReader::Open(path)) return false;
  if (ReadFileHeader(*this, kind)) return true;
  Close();
  return false;
}

void StringWriter::WriteBytes(const void* data, std::size_t count) {
  target_.append(static_cast<const char*>(data), count);
}

void StringWriter::PutString(std::string_view text) {
  if (text.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw StreamError("a text is too long for its length prefix");
  }
  WriteLength(static_cast<std::int32_t>(text.size() + 1));
  WriteBytes(text.data(), text.size());
  const char nul = '\0';
  WriteBytes(&nul, 1);
}

void StringReader::ReadBytes(void* data, std::size_t count) {
  if (count > Remaining()) throw StreamError("unexpected end of data");
  if (count > 0) std::memcpy(data, data_ + position_, count);
  position_ += count;
}

std::string StringReader::GetString(std::size_t capacity) {
  const std::int32_t length = ReadLength();
  if (length < 1 || static_cast<std::size_t>(length) > Remaining()) {
    throw StreamError("a text length points past the end of the data");
  }
  if (static_cast<std::size_t>(length) > capacity) throw StreamError("a text is too long");
  const char* begin = reinterpret_cast<const char*>(data_ + position_);
  const std::size_t chars = strnlen(begin, static_cast<std::size_t>(length));
  // Without a zero the caller's buffer would be left unterminated.
  if (chars == static_cast<std::size_t>(length)) throw StreamError("a text lacks its zero");
  position_ += static_cast<std::size_t>(length);
  return std::string(begin, chars);
}
