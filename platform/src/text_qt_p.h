// Private to platform/src. Windows-1252 text to and from QString at the Qt
// boundary.
#pragma once
#include "plat/text.h"
#include <QString>
#include <string>
#include <string_view>

namespace plat {

inline QString qstr_from_ansi(std::string_view ansi)
{
    QString s;
    s.reserve(static_cast<qsizetype>(ansi.size()));
    for (char c : ansi)
        s.append(QChar(static_cast<char16_t>(AnsiToUnicode(static_cast<unsigned char>(c)))));
    return s;
}

inline QString qstr_from_ansi(const char* ansi)
{
    return ansi ? qstr_from_ansi(std::string_view(ansi)) : QString();
}

// Characters outside 1252 (surrogate pairs included) become '?'.
inline std::string ansi_from_qstr(const QString& s)
{
    std::string out;
    out.reserve(static_cast<size_t>(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            ++i;
            out.push_back('?');
            continue;
        }
        out.push_back(static_cast<char>(UnicodeToAnsi(c.unicode())));
    }
    return out;
}

} // namespace plat
