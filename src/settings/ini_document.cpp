// Lines are kept whole, so untouched text survives a rewrite; lookups go through hash maps,
// so a load or a save of n keys costs O(n).
#include "settings/ini_document.h"

namespace kv {
namespace {

constexpr wchar_t kByteOrderMark = L'\uFEFF';

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

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

}  // namespace

std::wstring FoldIniName(std::wstring_view name) {
  std::wstring out(Trim(name));
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return out;
}

std::int32_t ParseProfileInt(std::wstring_view value, std::int32_t def) {
  if (value.empty()) return def;
  std::size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) negative = value[i++] == L'-';
  std::uint32_t n = 0;
  for (; i < value.size() && value[i] >= L'0' && value[i] <= L'9'; ++i) {
    n = n * 10u + static_cast<std::uint32_t>(value[i] - L'0');
  }
  if (negative) n = 0u - n;
  return static_cast<std::int32_t>(n);
}

IniDocument IniDocument::Parse(std::wstring_view text) {
  IniDocument doc;
  if (!text.empty() && text.front() == kByteOrderMark) {
    doc.byteOrderMark_ = true;
    text.remove_prefix(1);
  }
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
    doc.AddLine(std::wstring(text.substr(pos, end - pos)));
    pos = end;
  }
  return doc;
}

void IniDocument::AddLine(std::wstring line) {
  const std::wstring_view text = Trim(Content(line));
  if (!text.empty() && text.front() == L'[') {
    const std::wstring_view inner = text.substr(1);
    index_.try_emplace(FoldIniName(inner.substr(0, inner.find(L']'))), sections_.size());
    sections_.push_back({{std::move(line)}, {}, 0});
    return;
  }
  if (sections_.empty()) {
    prelude_.push_back(std::move(line));
    return;
  }
  Section& section = sections_.back();
  const std::size_t at = section.lines.size();
  if (!text.empty()) {
    section.lastNonBlank = at;
    if (text.front() != L';') section.keys.try_emplace(FoldIniName(text.substr(0, text.find(L'='))), at);
  }
  section.lines.push_back(std::move(line));
}

std::optional<std::wstring> IniDocument::Get(std::wstring_view section,
                                             std::wstring_view key) const {
  const auto s = index_.find(FoldIniName(section));
  if (s == index_.end()) return std::nullopt;
  const Section& sec = sections_[s->second];
  const auto k = sec.keys.find(FoldIniName(key));
  if (k == sec.keys.end()) return std::nullopt;
  const std::wstring_view text = Trim(Content(sec.lines[k->second]));
  const std::size_t eq = text.find(L'=');
  if (eq == std::wstring_view::npos) return std::wstring();
  return std::wstring(Unquote(Trim(text.substr(eq + 1))));
}

void IniDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  std::wstring entry;
  entry.reserve(key.size() + value.size() + 3);
  entry.append(key).append(L"=").append(value).append(L"\r\n");

  const std::wstring folded = FoldIniName(section);
  const auto s = index_.find(folded);
  if (s == index_.end()) {
    std::wstring* last = !sections_.empty()        ? &sections_.back().lines.back()
                         : !prelude_.empty()       ? &prelude_.back()
                                                   : nullptr;
    if (last != nullptr && !HasBreak(*last)) last->append(L"\r\n");
    index_.emplace(folded, sections_.size());
    std::wstring header;
    header.append(L"[").append(section).append(L"]\r\n");
    sections_.push_back({{std::move(header)}, {}, 0});
    sections_.back().keys.emplace(FoldIniName(key), 1);
    sections_.back().lines.push_back(std::move(entry));
    sections_.back().lastNonBlank = 1;
    return;
  }
  Section& sec = sections_[s->second];
  const std::wstring foldedKey = FoldIniName(key);
  if (const auto k = sec.keys.find(foldedKey); k != sec.keys.end()) {
    // In place, keeping the name as the file spells it and the line's own terminator.
    std::wstring& line = sec.lines[k->second];
    const std::wstring_view content = Content(line);
    std::wstring replaced(Trim(content.substr(0, content.find(L'='))));
    replaced.append(L"=").append(value).append(std::wstring_view(line).substr(content.size()));
    line = std::move(replaced);
    return;
  }
  std::wstring& after = sec.lines[sec.lastNonBlank];
  if (!HasBreak(after)) after.append(L"\r\n");
  const std::size_t at = sec.lastNonBlank + 1;
  sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  // Only blank lines follow the last non-blank one, so no key's line number moves.
  sec.keys.emplace(foldedKey, at);
  sec.lastNonBlank = at;
}

std::wstring IniDocument::Serialize() const {
  std::size_t size = 0;
  for (const auto& l : prelude_) size += l.size();
  for (const auto& s : sections_)
    for (const auto& l : s.lines) size += l.size();
  std::wstring out;
  out.reserve(size + 1);
  if (byteOrderMark_) out += kByteOrderMark;
  for (const auto& l : prelude_) out += l;
  for (const auto& s : sections_)
    for (const auto& l : s.lines) out += l;
  return out;
}

}  // namespace kv
