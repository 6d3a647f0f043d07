// Conversion between the core's wide strings and the locale's multibyte encoding.
#pragma once

#include <string>
#include <string_view>

namespace kv::lnx {

// Bytes that do not decode become U+DC80 + byte, so that any byte string survives a round trip.
std::wstring Decode(std::string_view bytes);

// The inverse of Decode. Returns false when some character has no encoding in the locale's
// charset (it is then written as '?'); U+DC80..U+DCFF turn back into their raw bytes.
bool Encode(std::wstring_view text, std::string& out);

// Lossy form of Encode for places where a failure has no better answer than '?'.
std::string EncodeLossy(std::wstring_view text);

}  // namespace kv::lnx
