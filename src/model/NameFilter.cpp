#include "NameFilter.h"

namespace t2 {

QChar FilterNameKey(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) return c;
    if (u >= 'a' && u <= 'z') return QChar(char16_t(u - 'a' + 'A'));
    switch (u) {
    case ' ': case '.': case '-': case '/': case '*': case '#':
    case '@': case '(': case ')': case ':': case '?':
        return c;
    default:
        return QChar();
    }
}

QString FilterNameText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const QChar f = FilterNameKey(c);
        if (!f.isNull()) out.append(f);
    }
    return out;
}

}  // namespace t2
