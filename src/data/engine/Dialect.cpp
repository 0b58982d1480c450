#include "data/engine/Dialect.h"

#include "core/Value.h"

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Reads a quoted run starting at s[i] (the opening quote) where a doubled quote stands for one.
// Returns false when the closing quote is missing; i ends after the closing quote.
bool readQuoted(const QString& s, qsizetype& i, QChar quote, QString& content) {
    ++i;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                content += quote;
                i += 2;
                continue;
            }
            ++i;
            return true;
        }
        content += s[i++];
    }
    return false;
}

// A classic Like pattern as an SQL LIKE pattern: * and ? are the wildcards, [x] a literal character.
QString likePattern(const QString& pattern, bool& needsEscape) {
    QString out;
    needsEscape = false;
    auto literal = [&](QChar c) {
        if (c == u'%' || c == u'_' || c == u'\\') {
            needsEscape = true;
            out += u'\\';
        }
        out += c;
    };
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'*')
            out += u'%';
        else if (c == u'?')
            out += u'_';
        else if (c == u'[' && i + 2 < pattern.size() && pattern[i + 2] == u']') {
            literal(pattern[i + 1]);
            i += 2;
        } else
            literal(c);
    }
    return out;
}

} // namespace

QString sqlQuoteText(const QString& text) {
    QString s = text;
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

QString sqlQuoteName(const QString& name) {
    QString s = name;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

QString translateSql(const QString& classic) {
    const QString& s = classic;
    QString out;
    out.reserve(s.size() + 16);
    bool likePending = false; // the previous word was Like: the next text is a pattern
    QChar previous;           // the last significant character written

    auto emitText = [&](const QString& content) {
        if (likePending) {
            bool escape = false;
            out += sqlQuoteText(likePattern(content, escape));
            if (escape) out += QStringLiteral(" ESCAPE '\\'");
        } else {
            out += sqlQuoteText(content);
        }
        likePending = false;
        previous = u'\'';
    };

    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype start = i;
            QString content;
            if (!readQuoted(s, i, c, content)) {
                out += s.mid(start); // unterminated: leave it for SQLite to reject
                break;
            }
            emitText(content);
        } else if (c == u'[') {
            const qsizetype end = s.indexOf(u']', i + 1);
            if (end < 0) {
                out += s.mid(i);
                break;
            }
            out += sqlQuoteName(s.mid(i + 1, end - i - 1));
            i = end + 1;
            likePending = false;
            previous = u'"';
        } else if (c == u'#') {
            const qsizetype end = s.indexOf(u'#', i + 1);
            const auto dt = end > i ? Value::parseDateTime(s.mid(i + 1, end - i - 1)) : std::nullopt;
            if (dt) {
                out += u'\'' + dt->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\'';
                i = end + 1;
                previous = u'\'';
            } else {
                out += c;
                ++i;
                previous = c;
            }
            likePending = false;
        } else if (isWordStart(c)) {
            const qsizetype start = i;
            while (i < s.size() && isWordChar(s[i]))
                ++i;
            const QString word = s.mid(start, i - start);
            const bool qualified = previous == u'.';
            if (!qualified && word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                out += u'1';
            else if (!qualified && word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                out += u'0';
            else if (!qualified && word.compare(QLatin1String("DISTINCTROW"), Qt::CaseInsensitive) == 0)
                out += QStringLiteral("DISTINCT");
            else
                out += word;
            likePending = !qualified && word.compare(QLatin1String("Like"), Qt::CaseInsensitive) == 0;
            previous = u'a';
        } else if (c.isDigit()) {
            // A number, including forms such as 1.5E+3, stays as it is.
            const qsizetype start = i;
            while (i < s.size() &&
                   (s[i].isLetterOrNumber() || s[i] == u'.' ||
                    ((s[i] == u'+' || s[i] == u'-') && (s[i - 1] == u'e' || s[i - 1] == u'E'))))
                ++i;
            out += s.mid(start, i - start);
            likePending = false;
            previous = u'0';
        } else if (c == u'&') {
            out += QStringLiteral("||");
            ++i;
            likePending = false;
            previous = c;
        } else {
            out += c;
            ++i;
            if (!c.isSpace()) {
                likePending = false;
                previous = c;
            }
        }
    }
    return out;
}
