// Conversions at the Qt boundary: wide strings to QString and back, twips to pixels.
#pragma once

#include <QString>
#include <string>

#include "platform/product.h"

namespace kv::lnx {

inline int Px(int twips) { return (twips + kTwipsPerPixelAt96Dpi / 2) / kTwipsPerPixelAt96Dpi; }

inline QString Q(const std::wstring& s) { return QString::fromStdWString(s); }
inline QString Q(const wchar_t* s) { return QString::fromWCharArray(s); }
inline std::wstring W(const QString& s) { return s.toStdWString(); }

}  // namespace kv::lnx
