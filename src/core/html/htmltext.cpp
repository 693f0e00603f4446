#include "core/html/htmltext.h"

#include "core/common/win31j.h"

#include <QRegularExpression>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace HtmlText {

Encoding DeclaredEncoding(QStringView text)
{
    static const QRegularExpression declaration(
        QStringLiteral(R"((?:charset\s*=\s*["']?\s*|@charset\s*["']\s*)utf-?8(?![0-9a-z]))"),
        QRegularExpression::CaseInsensitiveOption);
    return declaration.match(text).hasMatch() ? Encoding::Utf8 : Encoding::Win31J;
}

namespace {

void appendFallback(char32_t cp, Fallback fallback, QByteArray &out)
{
    const QByteArray hex = QByteArray::number(uint(cp), 16).toUpper();
    if (fallback == Fallback::CssEscape) {
        out += '\\';
        out += hex;
        out += ' ';
    } else {
        out += "&#x";
        out += hex;
        out += ';';
    }
}

// Character by character, for the rare text that holds characters the code
// page lacks.
void appendWin31JSlowly(QStringView text, Fallback fallback, QByteArray &out)
{
    qsizetype runStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const char16_t u = text[i].unicode();
        qsizetype len = 1;
        char32_t cp = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            len = 2;
            cp = QChar::surrogateToUcs4(u, text[i + 1].unicode());
        }
        const bool unmappable = len == 2 || QChar::isSurrogate(u) || Win31J::countUnmappable(text.sliced(i, 1)) > 0;
        if (unmappable) {
            Win31J::encodeAppend(text.sliced(runStart, i - runStart), out);
            appendFallback(QChar::isSurrogate(cp) ? char32_t(0xFFFD) : cp, fallback, out);
            runStart = i + len;
        }
        i += len;
    }
    Win31J::encodeAppend(text.sliced(runStart), out);
}

// UTF-16 as UTF-8 into out, which has room for three bytes a unit; a
// surrogate without its partner becomes U+FFFD. Returns the end. One tight
// loop: Qt's encoder is several times slower on Japanese text.
char *appendUtf8(QStringView text, char *out)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p < end) {
        char32_t u = *p++;
        if (u < 0x80) {
            *out++ = char(u);
        } else if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && p < end && QChar::isLowSurrogate(*p)) {
            u = QChar::surrogateToUcs4(char16_t(u), *p++);
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            if (QChar::isSurrogate(u))
                u = 0xFFFD;
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

// Bits of the ASCII units below 64 the rules replace.
quint64 specialUnits(Preparing rules)
{
    quint64 mask = 0;
    if (rules.fakeTab)
        mask |= quint64(1) << '\t' | quint64(1) << ' ';
    if (rules.escapeTag)
        mask |= quint64(1) << '&' | quint64(1) << '<' | quint64(1) << '>';
    if (rules.lineBreaks)
        mask |= quint64(1) << '\r';
    return mask;
}

bool isSpecial(char16_t u, quint64 mask)
{
    return u < 64 && (mask >> u) & 1;
}

template<size_t N>
char *put(char *out, const char (&text)[N])
{
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

// The replacement of the unit at p (special under the rules), or nothing
// when it stays as it is (a lone space, a CR without LF): p is moved past
// what was replaced.
char *putReplacement(const char16_t *&p, const char16_t *end, Encoding encoding, char *out)
{
    const char16_t u = *p;
    const bool pair = p + 1 < end && p[1] == (u == u'\r' ? u'\n' : u' ');
    switch (u) {
    case u'\t': break;
    case u' ':
    case u'\r':
        if (!pair)
            return nullptr;
        ++p;
        if (u == u'\r') {
            ++p;
            return put(out, "<BR>\r\n");
        }
        break;
    case u'&': ++p; return put(out, "&amp;");
    case u'<': ++p; return put(out, "&lt;");
    case u'>': ++p; return put(out, "&gt;");
    default: return nullptr;
    }
    ++p; // a tab or the second space: one ideographic space
    return encoding == Encoding::Utf8 ? put(out, "\xE3\x80\x80") : put(out, "\x81\x40");
}

char *prepareUtf8(const char16_t *p, const char16_t *const end, quint64 mask, char *out)
{
    while (p < end) {
        char32_t u = *p;
        // Japanese first: three bytes, no surrogate.
        if (u >= 0x800 && (u & 0xF800) != 0xD800) {
            out[0] = char(0xE0 | (u >> 12));
            out[1] = char(0x80 | ((u >> 6) & 0x3F));
            out[2] = char(0x80 | (u & 0x3F));
            out += 3;
            ++p;
            continue;
        }
#if defined(__SSE2__)
        // Eight ASCII units at once where nothing is replaced.
        if (u < 0x80 && mask == 0 && end - p >= 8) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            if (_mm_movemask_epi8(
                    _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(short(0xFF80))), _mm_setzero_si128()))
                == 0xFFFF) {
                _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(units, units));
                out += 8;
                p += 8;
                continue;
            }
        }
#endif
        if (u < 0x80) {
            if (isSpecial(char16_t(u), mask)) {
                if (char *next = putReplacement(p, end, Encoding::Utf8, out)) {
                    out = next;
                    continue;
                }
            }
            *out++ = char(u);
            ++p;
            continue;
        }
        ++p;
        if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && p < end && QChar::isLowSurrogate(*p)) {
            u = QChar::surrogateToUcs4(char16_t(u), *p++);
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            if (QChar::isSurrogate(u))
                u = 0xFFFD;
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

// A run without replacements in Windows-31J, its lacking characters as references.
char *win31jRun(QStringView run, char *out)
{
    Win31J::EncodeStats stats;
    const qsizetype n = Win31J::encodeInto(run, out, &stats);
    if (stats.unmappableCount == 0)
        return out + n;
    QByteArray slow;
    appendWin31JSlowly(run, Fallback::CharacterReference, slow);
    std::memcpy(out, slow.constData(), size_t(slow.size()));
    return out + slow.size();
}

char *prepareWin31J(const char16_t *p, const char16_t *const end, quint64 mask, char *out)
{
    const char16_t *run = p;
    while (p < end) {
        if (!isSpecial(*p, mask)) {
            ++p;
            continue;
        }
        const char16_t *const at = p;
        char replacement[8];
        char *const replaced = putReplacement(p, end, Encoding::Win31J, replacement);
        if (!replaced) {
            ++p;
            continue;
        }
        out = win31jRun(QStringView(run, at - run), out);
        std::memcpy(out, replacement, size_t(replaced - replacement));
        out += replaced - replacement;
        run = p;
    }
    return win31jRun(QStringView(run, end - run), out);
}

} // namespace

char *PrepareInto(QStringView text, Preparing rules, Encoding encoding, char *out)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    const quint64 mask = specialUnits(rules);
    return encoding == Encoding::Utf8 ? prepareUtf8(p, end, mask, out) : prepareWin31J(p, end, mask, out);
}

void AppendEncoded(QStringView text, Encoding encoding, Fallback fallback, QByteArray &out)
{
    if (encoding == Encoding::Utf8) {
        const qsizetype start = out.size();
        out.resize(start + 3 * text.size());
        char *const end = appendUtf8(text, out.data() + start);
        out.truncate(end - out.constData());
        return;
    }
    const qsizetype start = out.size();
    Win31J::EncodeStats stats;
    Win31J::encodeAppend(text, out, &stats);
    if (stats.unmappableCount == 0)
        return;
    out.truncate(start);
    appendWin31JSlowly(text, fallback, out);
}

QByteArray Encoded(QStringView text, Encoding encoding, Fallback fallback)
{
    QByteArray out;
    out.reserve(text.size() * (encoding == Encoding::Utf8 ? 3 : 2));
    AppendEncoded(text, encoding, fallback, out);
    return out;
}

QString EscapeMarkup(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text[i];
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"')
            break;
        ++i;
    }
    if (i == n)
        return text;
    QString out = text.left(i);
    out.reserve(n + 16);
    for (; i < n; ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); break;
        case u'<': out += QLatin1String("&lt;"); break;
        case u'>': out += QLatin1String("&gt;"); break;
        case u'"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

namespace {

bool encodedInHref(char16_t u)
{
    return u < 0x20 || u == 0x7F || u == u'%' || u == u'#' || u == u'?' || u == u'&' || u == u'"' || u == u' ';
}

} // namespace

QString Href(const QString &path)
{
    for (const QChar c : path) {
        if (encodedInHref(c.unicode()))
            return Href(QStringView(path));
    }
    return path;
}

QString Href(QStringView path)
{
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(path.size() + 8);
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        if (encodedInHref(u)) {
            out += QLatin1Char('%');
            out += QLatin1Char(hex[u >> 4]);
            out += QLatin1Char(hex[u & 0xF]);
        } else {
            out += c;
        }
    }
    return out;
}

qsizetype DiskBytes(QStringView name)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (u < 0x80)
            bytes += 1;
        else if (u < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(u) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}

QString CutToDiskBytes(const QString &name, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < name.size()) {
        const char16_t u = name[i].unicode();
        qsizetype len = 1;
        qsizetype b = u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        if (QChar::isHighSurrogate(u) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
            len = 2;
            b = 4;
        }
        if (bytes + b > maxBytes)
            break;
        bytes += b;
        i += len;
    }
    return name.left(i);
}

} // namespace HtmlText
