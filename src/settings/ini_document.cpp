// Lines are kept whole, so untouched text survives a rewrite. The document owns two buffers
// (the parsed text and what edits added) and small fixed-size records; a load or a save of n
// keys costs O(n) time with a handful of allocations in all.
#include "settings/ini_document.h"

namespace kv {
namespace {

constexpr wchar_t kByteOrderMark = L'\uFEFF';

// Blanks as the profile functions see them: the C0 spaces and Ctrl-Z, an old end-of-file mark.
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == L'\x1A'; }

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::wstring_view Unquote(std::wstring_view s) {
  if (s.size() >= 2 && (s.front() == L'"' || s.front() == L'\'') && s.back() == s.front()) {
    s.remove_prefix(1);
    s.remove_suffix(1);
  }
  return s;
}

// The line without its terminator.
std::wstring_view Content(std::wstring_view line) {
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.remove_suffix(1);
  return line;
}

bool HasBreak(std::wstring_view line) { return Content(line).size() != line.size(); }

wchar_t Fold(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// FNV-1a of the folded, trimmed name; never 0, which marks a free slot.
std::size_t HashName(std::wstring_view name, std::size_t seed) {
  std::uint64_t h = 1469598103934665603ull ^ seed;
  for (wchar_t c : Trim(name)) {
    h ^= static_cast<std::uint32_t>(Fold(c));
    h *= 1099511628211ull;
  }
  // FNV's low bits are weak and the index uses them: mix the high bits down.
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  return h == 0 ? 1 : static_cast<std::size_t>(h);
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

// The name in a header line ("[name]", or "[name" without the bracket), and a key line's name.
std::wstring_view HeaderName(std::wstring_view line) {
  const std::wstring_view inner = Trim(Content(line)).substr(1);
  return inner.substr(0, inner.find(L']'));
}
std::wstring_view KeyName(std::wstring_view line) {
  const std::wstring_view text = Trim(Content(line));
  return text.substr(0, text.find(L'='));
}

constexpr std::size_t kSectionSeed = 0;
std::size_t KeySeed(std::uint32_t section) { return (section + 1) * 0x9E3779B97F4A7C15ull; }

}  // namespace

std::wstring FoldIniName(std::wstring_view name) {
  std::wstring out(Trim(name));
  for (wchar_t& c : out) c = Fold(c);
  return out;
}

std::int32_t ParseProfileInt(std::wstring_view value, std::int32_t def) {
  if (value.empty()) return def;
  std::size_t i = 0;
  // As Windows' integer reader: every control character counts as a blank here.
  while (i < value.size() && value[i] <= L' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) negative = value[i++] == L'-';
  std::uint32_t n = 0;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
    n = n * 10u + static_cast<std::uint32_t>(value[i] - L'0');
  }
  if (negative) n = 0u - n;
  return static_cast<std::int32_t>(n);
}

std::wstring_view IniDocument::LineText(std::uint32_t line) const {
  const Line& l = lines_[line];
  return std::wstring_view(l.added ? added_ : text_).substr(l.begin, l.size);
}

void IniDocument::Index(Slot slot) {
  if ((used_ + 1) * 2 > slots_.size()) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{0, 0, 0});
    used_ = 0;
    for (const Slot& s : old) {
      if (s.hash != 0) Index(s);
    }
  }
  std::size_t i = slot.hash & (slots_.size() - 1);
  while (slots_[i].hash != 0) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = slot;
  ++used_;
}

std::uint32_t IniDocument::FindSection(std::wstring_view name, std::size_t hash) const {
  if (slots_.empty()) return kNone;
  for (std::size_t i = hash & (slots_.size() - 1); slots_[i].hash != 0;
       i = (i + 1) & (slots_.size() - 1)) {
    const Slot& s = slots_[i];
    if (s.hash == hash && s.line == kNone &&
        SameName(HeaderName(LineText(sections_[s.section].header)), name))
      return s.section;
  }
  return kNone;
}

std::uint32_t IniDocument::FindKey(std::uint32_t section, std::wstring_view name,
                                   std::size_t hash) const {
  if (slots_.empty()) return kNone;
  for (std::size_t i = hash & (slots_.size() - 1); slots_[i].hash != 0;
       i = (i + 1) & (slots_.size() - 1)) {
    const Slot& s = slots_[i];
    if (s.hash == hash && s.section == section && s.line != kNone &&
        SameName(KeyName(LineText(s.line)), name))
      return s.line;
  }
  return kNone;
}

std::uint32_t IniDocument::AddLine(std::wstring_view text, std::uint32_t after) {
  const auto id = static_cast<std::uint32_t>(lines_.size());
  lines_.push_back({static_cast<std::uint32_t>(added_.size()),
                    static_cast<std::uint32_t>(text.size()), kNone, true});
  added_.append(text);
  if (after == kNone) {  // at the end of the file
    if (last_ == kNone) {
      first_ = id;
    } else {
      lines_[last_].next = id;
    }
    last_ = id;
  } else {
    lines_[id].next = lines_[after].next;
    lines_[after].next = id;
    if (last_ == after) last_ = id;
  }
  return id;
}

void IniDocument::ReplaceLine(std::uint32_t line, std::wstring_view text) {
  lines_[line].begin = static_cast<std::uint32_t>(added_.size());
  lines_[line].size = static_cast<std::uint32_t>(text.size());
  lines_[line].added = true;
  added_.append(text);
}

void IniDocument::EnsureBreak(std::uint32_t line) {
  if (line == kNone || HasBreak(LineText(line))) return;
  std::wstring text(LineText(line));
  ReplaceLine(line, text.append(L"\r\n"));
}

IniDocument IniDocument::Parse(std::wstring_view text) { return Parse(std::wstring(text)); }

IniDocument IniDocument::Parse(std::wstring&& whole) {
  IniDocument doc;
  doc.text_ = std::move(whole);
  std::wstring_view text = doc.text_;
  if (!text.empty() && text.front() == kByteOrderMark) {
    doc.byteOrderMark_ = true;
    text.remove_prefix(1);
  }
  const std::size_t base = doc.text_.size() - text.size();
  doc.lines_.reserve(text.size() / 32 + 1);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring_view::npos) {
      end = text.size();
    } else if (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') {
      end += 2;
    } else {
      end += 1;
    }
    const auto id = static_cast<std::uint32_t>(doc.lines_.size());
    doc.lines_.push_back({static_cast<std::uint32_t>(base + pos),
                          static_cast<std::uint32_t>(end - pos), kNone, false});
    if (doc.last_ == kNone) {
      doc.first_ = id;
    } else {
      doc.lines_[doc.last_].next = id;
    }
    doc.last_ = id;
    doc.ParseLine(id);
    pos = end;
  }
  return doc;
}

void IniDocument::ParseLine(std::uint32_t line) {
  const std::wstring_view text = Trim(Content(LineText(line)));
  if (!text.empty() && text.front() == L'[') {
    const auto id = static_cast<std::uint32_t>(sections_.size());
    sections_.push_back({line, line});
    const std::wstring_view name = HeaderName(LineText(line));
    const std::size_t hash = HashName(name, kSectionSeed);
    if (FindSection(name, hash) == kNone) Index({hash, id, kNone});  // the first one wins
    return;
  }
  if (sections_.empty() || text.empty()) return;  // before any header: no section's
  const auto section = static_cast<std::uint32_t>(sections_.size() - 1);
  sections_.back().lastNonBlank = line;
  if (text.front() == L';') return;
  const std::wstring_view name = KeyName(LineText(line));
  const std::size_t hash = HashName(name, KeySeed(section));
  if (FindKey(section, name, hash) == kNone) Index({hash, section, line});
}

std::optional<std::wstring> IniDocument::Get(std::wstring_view section,
                                             std::wstring_view key) const {
  const std::uint32_t s = FindSection(section, HashName(section, kSectionSeed));
  if (s == kNone) return std::nullopt;
  const std::uint32_t k = FindKey(s, key, HashName(key, KeySeed(s)));
  if (k == kNone) return std::nullopt;
  const std::wstring_view text = Trim(Content(LineText(k)));
  const std::size_t eq = text.find(L'=');
  // A name alone on its line is a key without a value: read, it is missing; written, it is
  // replaced in place.
  if (eq == std::wstring_view::npos) return std::nullopt;
  return std::wstring(Unquote(Trim(text.substr(eq + 1))));
}

void IniDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  std::wstring entry;
  entry.reserve(key.size() + value.size() + 3);
  entry.append(key).append(L"=").append(value).append(L"\r\n");

  const std::size_t sectionHash = HashName(section, kSectionSeed);
  std::uint32_t s = FindSection(section, sectionHash);
  if (s == kNone) {
    EnsureBreak(last_);
    std::wstring header;
    header.append(L"[").append(section).append(L"]\r\n");
    s = static_cast<std::uint32_t>(sections_.size());
    const std::uint32_t line = AddLine(header, kNone);
    sections_.push_back({line, line});
    Index({sectionHash, s, kNone});
  }
  const std::size_t keyHash = HashName(key, KeySeed(s));
  if (const std::uint32_t k = FindKey(s, key, keyHash); k != kNone) {
    // In place, keeping the name as the file spells it and the line's own terminator.
    const std::wstring_view line = LineText(k);
    const std::wstring_view content = Content(line);
    std::wstring replaced(Trim(content.substr(0, content.find(L'='))));
    replaced.append(L"=").append(value).append(line.substr(content.size()));
    ReplaceLine(k, replaced);
    return;
  }
  Section& sec = sections_[s];
  EnsureBreak(sec.lastNonBlank);
  const std::uint32_t line = AddLine(entry, sec.lastNonBlank);
  sec.lastNonBlank = line;
  Index({keyHash, s, line});
}

std::wstring IniDocument::Serialize() const {
  std::wstring out;
  out.reserve(text_.size() + added_.size() + 1);
  if (byteOrderMark_) out += kByteOrderMark;
  for (std::uint32_t l = first_; l != kNone; l = lines_[l].next) out += LineText(l);
  return out;
}

}  // namespace kv
