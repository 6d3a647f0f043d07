// INI parsing, planned edits and the per-path cache that keeps a long load or save linear.
#include "ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kv::linux_ini {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    s.remove_prefix(1);
    s.remove_suffix(1);
  }
  return s;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string FoldName(std::string_view name) {
  std::string out(Trim(name));
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::int32_t ParseProfileInt(std::string_view value, std::int32_t def) {
  if (value.empty()) return def;
  std::size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  std::uint32_t n = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    n = n * 10u + static_cast<std::uint32_t>(value[i] - '0');
  }
  if (negative) n = 0u - n;
  return static_cast<std::int32_t>(n);
}

Document::Document(std::string bytes) : bytes_(std::move(bytes)) { ParseFrom(0); }

bool Document::EndsWithTerminator() const {
  const std::size_t contentStart = bytes_.starts_with(kBom) ? kBom.size() : 0;
  if (bytes_.size() == contentStart) return true;
  return bytes_.back() == '\n' || bytes_.back() == '\r';
}

void Document::ParseFrom(std::size_t offset) {
  if (offset == 0) {
    lines_.clear();
    sections_.clear();
    sectionIndex_.clear();
    current_ = -1;
    if (bytes_.starts_with(kBom)) offset = kBom.size();
  }
  std::size_t pos = offset;
  while (pos < bytes_.size()) {
    const std::size_t brk = bytes_.find_first_of("\r\n", pos);
    Line line{pos, brk == std::string::npos ? bytes_.size() : brk, 0};
    if (brk == std::string::npos) {
      line.end = bytes_.size();
    } else if (bytes_[brk] == '\r' && brk + 1 < bytes_.size() && bytes_[brk + 1] == '\n') {
      line.end = brk + 2;
    } else {
      line.end = brk + 1;
    }
    lines_.push_back(line);
    ParseLine(lines_.size() - 1);
    pos = line.end;
  }
}

void Document::ParseLine(std::size_t lineIndex) {
  const Line& line = lines_[lineIndex];
  const std::string_view text =
      Trim(std::string_view(bytes_).substr(line.start, line.contentEnd - line.start));
  if (text.empty()) return;
  if (text.front() == '[') {
    const std::string_view inner = text.substr(1);
    const std::string name = FoldName(inner.substr(0, inner.find(']')));
    sections_.push_back({lineIndex, {}});
    current_ = static_cast<long>(sections_.size() - 1);
    sectionIndex_.try_emplace(name, sections_.size() - 1);
    return;
  }
  if (current_ < 0) return;
  Section& section = sections_[static_cast<std::size_t>(current_)];
  section.lastNonBlankLine = lineIndex;
  if (text.front() == ';') return;
  const std::size_t eq = text.find('=');
  const std::string_view value =
      eq == std::string_view::npos ? std::string_view{} : text.substr(eq + 1);
  section.keys.try_emplace(FoldName(text.substr(0, eq)),
                           Key{lineIndex, std::string(Unquote(Trim(value)))});
}

std::optional<std::string> Document::Get(std::string_view section, std::string_view key) const {
  const auto s = sectionIndex_.find(FoldName(section));
  if (s == sectionIndex_.end()) return std::nullopt;
  const auto& keys = sections_[s->second].keys;
  const auto k = keys.find(FoldName(key));
  if (k == keys.end()) return std::nullopt;
  return k->second.value;
}

Document::Edit Document::PlanWrite(std::string_view section, std::string_view key,
                                   std::string_view value) const {
  std::string entry;
  entry.reserve(key.size() + value.size() + 3);
  entry.append(key).append("=").append(value);

  const auto s = sectionIndex_.find(FoldName(section));
  if (s == sectionIndex_.end()) {
    Edit edit{bytes_, true};
    if (!EndsWithTerminator()) edit.bytes += "\r\n";
    edit.bytes.append("[").append(section).append("]\r\n").append(entry).append("\r\n");
    return edit;
  }
  const Section& sec = sections_[s->second];
  if (const auto k = sec.keys.find(FoldName(key)); k != sec.keys.end()) {
    // In place, keeping the spelling of the name that the file already has.
    const Line& line = lines_[k->second.line];
    const std::string_view text =
        std::string_view(bytes_).substr(line.start, line.contentEnd - line.start);
    std::string replaced(Trim(text.substr(0, text.find('='))));
    replaced.append("=").append(value);
    Edit edit{bytes_.substr(0, line.start), false};
    edit.bytes.append(replaced).append(bytes_, line.contentEnd);
    return edit;
  }
  const Line& last = lines_[sec.lastNonBlankLine];
  std::string insert = last.end == last.contentEnd ? "\r\n" : "";
  insert.append(entry).append("\r\n");
  Edit edit{bytes_.substr(0, last.end), last.end == bytes_.size()};
  edit.bytes.append(insert).append(bytes_, last.end);
  return edit;
}

void Document::Apply(Edit edit) {
  const std::size_t oldSize = bytes_.size();
  const bool canContinue = edit.pureAppend && oldSize != 0 && EndsWithTerminator();
  bytes_ = std::move(edit.bytes);
  ParseFrom(canContinue ? oldSize : 0);
}

std::optional<Store::Signature> Store::Stat(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  Signature sig{st.st_dev,
                st.st_ino,
                st.st_size,
                static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
                true};
  return sig;
}

Store::Signature Store::FromFd(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  return {st.st_dev,
          st.st_ino,
          st.st_size,
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
          static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
          true};
}

Store::Entry* Store::Load(const std::string& path) {
  const std::optional<Signature> sig = Stat(path);
  auto it = cache_.find(path);
  if (!sig) {
    // No file (or none that we may see): reads give their defaults, a write creates it.
    if (it == cache_.end() || it->second.sig.exists) {
      it = cache_.insert_or_assign(path, Entry{Signature{}, Document{}}).first;
    }
    return &it->second;
  }
  if (it != cache_.end() && it->second.sig == *sig) return &it->second;

  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  ++reads_;
  std::string bytes;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return nullptr;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  const Signature now = FromFd(fd);
  ::close(fd);
  return &cache_.insert_or_assign(path, Entry{now, Document(std::move(bytes))}).first->second;
}

std::optional<std::string> Store::Get(const std::string& path, std::string_view section,
                                      std::string_view key) {
  Entry* e = Load(path);
  if (e == nullptr) return std::nullopt;
  return e->doc.Get(section, key);
}

bool Store::Write(const std::string& path, std::string_view section, std::string_view key,
                  std::string_view value) {
  Entry* e = Load(path);
  if (e == nullptr) return false;
  Document::Edit edit = e->doc.PlanWrite(section, key, value);
  const std::size_t oldSize = e->doc.bytes().size();
  const bool append = edit.pureAppend && e->sig.exists;
  const int fd = append ? ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC)
                        : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const std::string_view data =
      append ? std::string_view(edit.bytes).substr(oldSize) : std::string_view(edit.bytes);
  const bool ok = WriteAll(fd, data);
  const Signature sig = FromFd(fd);
  const bool closed = ::close(fd) == 0;
  if (!ok || !closed || !sig.exists) {
    cache_.erase(path);
    return false;
  }
  e->doc.Apply(std::move(edit));
  e->sig = sig;
  return true;
}

}  // namespace kv::linux_ini
