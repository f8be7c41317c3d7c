#pragma once
// Toolkit and host text is code page 932; Qt's is Unicode. Conversion happens here and nowhere else.

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "platform/Cp932.h"
#include "toolkit/Strings.h"

namespace workbench {

inline QString FromCp932(std::string_view text)
{
    return QString::fromStdString(platform::Cp932ToUtf8(text));
}

// Text with CR LF line breaks as Qt's text widgets hold it, with LF; in one pass, where QString's
// replace moves the rest of the text for every line.
inline QString FromCp932Lines(std::string text)
{
    size_t kept = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') {
            text[kept++] = text[i];
        }
    }
    text.resize(kept);
    return FromCp932(text);
}

inline std::string ToCp932(const QString& text)
{
    return platform::Utf8ToCp932(text.toStdString());
}

// Items as one list, which a widget takes in one insertion instead of one change per item.
inline QStringList ToQStrings(const tk::Strings& items)
{
    QStringList texts;
    texts.reserve(items.Count());
    for (std::string_view item : items) {
        texts.append(FromCp932(item));
    }
    return texts;
}

}  // namespace workbench

namespace workbench {

// The byte offset in the code page 932 text (each '\n' counted as CR LF when crLf) of a position in
// the Qt text, and back; a byte offset inside a character answers the character's start.
inline int Cp932Offset(const QString& text, int index, bool crLf = false)
{
    QString prefix = text.left(index);
    int breaks = crLf ? static_cast<int>(prefix.count('\n')) : 0;
    return static_cast<int>(ToCp932(prefix).size()) + breaks;
}

inline int QtIndex(const QString& text, int cp932Offset, bool crLf = false)
{
    int bytes = 0;
    int index = 0;
    while (index < text.size()) {
        int width = text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
        QString character = text.mid(index, width);
        int size = character == "\n" && crLf ? 2 : static_cast<int>(ToCp932(character).size());
        if (bytes + size > cp932Offset) {
            break;
        }
        bytes += size;
        index += width;
    }
    return index;
}

}  // namespace workbench
