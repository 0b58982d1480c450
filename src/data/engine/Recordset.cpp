#include "data/engine/Recordset.h"

#include "core/AppError.h"
#include "data/engine/Connection.h"
#include "data/engine/Dialect.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QVector>
#include <optional>

namespace {

// Where the rows of a recordset come from.
enum class Source {
    Table,  // a table located row by row with small queries
    Keyset, // the row ids of a single-table set, rows read one at a time
    Rows,   // the values of every row, read on opening (read-only)
};

enum class Pos {
    Unpositioned, // a table recordset not yet positioned: behaves as on its first row
    Before,       // BOF
    On,           // on a row (which may have been deleted through this recordset)
    After,        // EOF
    Empty,        // no rows: BOF and EOF
    NoCurrent,    // after a seek without a match
};

enum class Direction { First, Last, Next, Previous };

struct Field {
    QString name;
    int column = -1; // the table column (Table and Keyset sources)
    ColumnInfo info;
};

[[noreturn]] void noCurrentRecord() {
    throw DbError(DbErr::NoCurrentRecord, QStringLiteral("No current record."));
}
[[noreturn]] void readOnly() {
    throw DbError(DbErr::ReadOnly, QStringLiteral("Cannot update. Database or object is read-only."));
}
[[noreturn]] void notSupported() {
    throw DbError(3251, QStringLiteral("Operation is not supported for this type of object."));
}
[[noreturn]] void recordDeleted() {
    throw DbError(DbErr::RecordDeleted, QStringLiteral("Record is deleted."));
}
[[noreturn]] void notEditing() {
    throw DbError(DbErr::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
}

// ---- Recognising a SELECT over a single table ----------------------------------------------------------

struct Token {
    enum Kind { Word, Name, Text, Number, Punct } kind;
    qsizetype begin;
    qsizetype end;
    QString text; // the word, the unquoted name, or the punctuation character
    int depth;    // parenthesis depth
};

QList<Token> tokenize(const QString& s) {
    QList<Token> tokens;
    int depth = 0;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        const qsizetype b = i;
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (i < n && s[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            const qsizetype e = s.indexOf(QLatin1String("*/"), i + 2);
            i = e < 0 ? n : e + 2;
        } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? u']' : c;
            QString text;
            ++i;
            while (i < n) {
                if (s[i] == close) {
                    if (close != u']' && i + 1 < n && s[i + 1] == close) {
                        text += close;
                        i += 2;
                        continue;
                    }
                    break;
                }
                text += s[i++];
            }
            i = qMin(i + 1, n);
            tokens.append({c == u'\'' ? Token::Text : Token::Name, b, i, text, depth});
        } else if (c.isLetter() || c == u'_') {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == u'_' || s[i] == u'$'))
                ++i;
            tokens.append({Token::Word, b, i, s.mid(b, i - b), depth});
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isLetterOrNumber() || s[i] == u'.'))
                ++i;
            tokens.append({Token::Number, b, i, s.mid(b, i - b), depth});
        } else {
            if (c == u')') --depth;
            tokens.append({Token::Punct, b, i + 1, QString(c), depth});
            if (c == u'(') ++depth;
            ++i;
        }
    }
    return tokens;
}

struct SimpleSelect {
    QString table;
    QString alias;
    struct Item {
        bool star = false;
        QString column;
        QString alias;
    };
    QList<Item> items;
    QString fromText;  // the table and its alias as written
    QString whereText; // the condition, without WHERE
    QString orderText; // the sort, without ORDER BY
};

bool isClauseWord(const QString& w) {
    static const QSet<QString> words = {
        QStringLiteral("WHERE"),     QStringLiteral("ORDER"),  QStringLiteral("GROUP"),
        QStringLiteral("HAVING"),    QStringLiteral("LIMIT"),  QStringLiteral("UNION"),
        QStringLiteral("INTERSECT"), QStringLiteral("EXCEPT"), QStringLiteral("WINDOW"),
        QStringLiteral("JOIN"),      QStringLiteral("INNER"),  QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),     QStringLiteral("CROSS"),  QStringLiteral("NATURAL"),
        QStringLiteral("FULL"),      QStringLiteral("OUTER"),  QStringLiteral("ON"),
        QStringLiteral("USING"),     QStringLiteral("AS"),     QStringLiteral("FROM"),
        QStringLiteral("SELECT")};
    return words.contains(w.toUpper());
}

std::optional<SimpleSelect> analyzeSelect(const QString& sql) {
    QList<Token> t = tokenize(sql);
    while (!t.isEmpty() && t.last().kind == Token::Punct && t.last().text == QLatin1String(";"))
        t.removeLast();
    const qsizetype n = t.size();
    auto kw = [&](qsizetype i, const char* w) {
        return i < n && t[i].kind == Token::Word && t[i].depth == 0 &&
               t[i].text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    };
    auto isName = [&](qsizetype i) {
        return i < n && (t[i].kind == Token::Name || (t[i].kind == Token::Word && !isClauseWord(t[i].text)));
    };
    auto isPunct = [&](qsizetype i, char c) {
        return i < n && t[i].kind == Token::Punct && t[i].text[0] == QChar(c);
    };

    if (!kw(0, "SELECT")) return std::nullopt;
    qsizetype i = 1;
    if (kw(i, "DISTINCT")) return std::nullopt;
    if (kw(i, "ALL")) ++i;
    qsizetype from = i;
    while (from < n && !kw(from, "FROM"))
        ++from;
    if (from >= n) return std::nullopt;

    SimpleSelect result;
    // The select list: *, name, table.name, table.* with an optional alias.
    qsizetype itemStart = i;
    while (itemStart < from) {
        qsizetype itemEnd = itemStart;
        while (itemEnd < from && !(isPunct(itemEnd, ',') && t[itemEnd].depth == 0))
            ++itemEnd;
        SimpleSelect::Item item;
        qsizetype p = itemStart;
        if (isPunct(p, '*')) {
            item.star = true;
            ++p;
        } else if (isName(p) && isPunct(p + 1, '.') && p + 2 < itemEnd) {
            if (isPunct(p + 2, '*'))
                item.star = true;
            else if (isName(p + 2))
                item.column = t[p + 2].text;
            else
                return std::nullopt;
            p += 3;
        } else if (isName(p)) {
            item.column = t[p].text;
            ++p;
        } else {
            return std::nullopt;
        }
        if (p < itemEnd) {
            if (item.star) return std::nullopt;
            if (kw(p, "AS")) ++p;
            if (p != itemEnd - 1 || !isName(p)) return std::nullopt;
            item.alias = t[p].text;
        }
        result.items.append(item);
        itemStart = itemEnd + 1;
    }
    if (result.items.isEmpty()) return std::nullopt;

    // FROM one table with an optional alias.
    qsizetype j = from + 1;
    if (!isName(j)) return std::nullopt;
    result.table = t[j].text;
    const qsizetype fromBegin = t[j].begin;
    ++j;
    if (kw(j, "AS")) ++j;
    if (isName(j))
        result.alias = t[j++].text;
    else if (kw(j - 1, "AS"))
        return std::nullopt;
    result.fromText = sql.mid(fromBegin, t[j - 1].end - fromBegin);

    if (kw(j, "WHERE")) {
        const qsizetype start = j + 1;
        qsizetype k = start;
        while (k < n && !kw(k, "ORDER") && !kw(k, "GROUP") && !kw(k, "HAVING") && !kw(k, "LIMIT") &&
               !kw(k, "UNION") && !kw(k, "INTERSECT") && !kw(k, "EXCEPT") && !kw(k, "WINDOW"))
            ++k;
        if (k == start) return std::nullopt;
        result.whereText = sql.mid(t[start].begin, t[k - 1].end - t[start].begin);
        j = k;
    }
    if (kw(j, "ORDER") && kw(j + 1, "BY")) {
        const qsizetype start = j + 2;
        for (qsizetype k = start; k < n; ++k)
            if (kw(k, "LIMIT") || kw(k, "UNION") || kw(k, "INTERSECT") || kw(k, "EXCEPT") || kw(k, "WINDOW"))
                return std::nullopt;
        if (start >= n) return std::nullopt;
        result.orderText = sql.mid(t[start].begin, t[n - 1].end - t[start].begin);
        j = n;
    }
    if (j != n) return std::nullopt;
    return result;
}

// The SELECT of a saved query, from its CREATE VIEW statement.
QString viewSelect(const QString& createSql) {
    static const QRegularExpression rx(
        QStringLiteral(R"(^\s*CREATE\s+(?:TEMP\w*\s+)?VIEW\s+(?:IF\s+NOT\s+EXISTS\s+)?)"
                       R"((?:"(?:[^"]|"")*"|\[[^\]]*\]|`[^`]*`|[\w$]+)\s+AS\s+(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = rx.match(createSql);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

} // namespace

// ---------------------------------------------------------------------------------------------------------

struct Recordset::Impl {
    std::shared_ptr<Connection> connection;
    Type type = Type::Dynaset;
    Source source = Source::Rows;
    std::shared_ptr<const TableInfo> table;
    QString quotedTable;
    QList<Field> fields;
    QHash<QString, int> byName;

    Pos pos = Pos::Unpositioned;
    bool noMatch = false;
    bool deleted = false; // the current row was deleted through this recordset

    // Table source
    QString indexName;
    int indexColumn = -1; // -1: row id order
    qint64 rowid = 0;     // the current row (Table; Keyset keeps it in keys)
    Value indexValue;     // the current row's index value in stored form

    // Keyset source
    QVector<qint64> keys;
    QString rowidRef; // "Cases".rowid or "c".rowid

    // Table and Keyset sources
    QString fromText; // the table as the set names it: "Cases" or "Cases AS c"
    QString filter;   // the WHERE of a dynaset that moves through its table in key order

    // Rows source
    QVector<QVector<Value>> rows;

    // Keyset and Rows position
    qsizetype at = -1;

    // The current row's values (Table and Keyset) in stored form, each converted when first read
    bool loaded = false;
    QVector<Value> row;
    QVector<bool> converted;

    // The queries that read rows, built once (they depend on the index only)
    QString cachedHead;
    QString cachedSelectHead;

    EditMode mode = EditMode::None;
    QHash<int, Value> changes; // field -> stored value
    std::optional<qint64> reservedKey;

    Connection& db() const {
        connection->handle(); // 3420 once the database has been released
        return *connection;
    }

    int fieldIndex(const QString& name) const {
        if (const auto it = byName.constFind(name); it != byName.cend()) return *it;
        for (auto it = byName.cbegin(); it != byName.cend(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it.value();
        throwItemNotFound(name);
    }

    void addField(Field f) {
        byName.insert(f.name, int(fields.size()));
        fields.append(std::move(f));
    }

    QString columnList() const {
        QStringList names;
        for (const Field& f : fields)
            names.append(sqlQuoteName(f.info.name));
        return names.join(QStringLiteral(", "));
    }

    // ---- Table and keyset rows

    QString indexExpr() const {
        return indexColumn < 0 ? QStringLiteral("rowid") : sqlQuoteName(table->columns[indexColumn].name);
    }

    QString head() {
        if (cachedHead.isEmpty()) {
            const QString cols = columnList();
            cachedHead =
                QStringLiteral("SELECT rowid, %1%2%3 FROM %4 ")
                    .arg(indexExpr(), cols.isEmpty() ? QString() : QStringLiteral(", "), cols, quotedTable);
        }
        return cachedHead;
    }

    QString rowQuery() { return head() + QStringLiteral("WHERE rowid = ?1"); }

    // The index or the fields have changed: the row queries are built again.
    void forgetQueries() {
        cachedHead.clear();
        cachedSelectHead.clear();
    }

    void loadFrom(const Stmt& s) {
        rowid = sqlite3_column_int64(s.get(), 0);
        indexValue = s.stored(1);
        row.resize(fields.size());
        converted.fill(false, fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row[i] = s.stored(i + 2);
        loaded = true;
    }

    // Runs a positioning query; on a row it becomes the current row.
    // A value c is bound to ?3 (the value of a simple find criterion).
    bool locate(const QString& sql, const Value& a = Value(), const Value& b = Value(),
                const Value& c = Value()) {
        Stmt s(db(), sql, DbOp::Open);
        if (!a.isEmpty()) s.bind(1, a);
        if (!b.isEmpty()) s.bind(2, b);
        if (!c.isEmpty()) s.bind(3, c);
        if (!s.step()) return false;
        loadFrom(s);
        pos = Pos::On;
        deleted = false;
        return true;
    }

    void loadRow() {
        if (loaded) return;
        const qint64 id = source == Source::Keyset ? keys[at] : rowid;
        Stmt s(db(), rowQuery(), DbOp::Open);
        s.bind(1, Value(id));
        if (!s.step()) recordDeleted();
        loadFrom(s);
    }

    void ensurePositioned() {
        if (pos == Pos::Unpositioned) move(Direction::First);
    }

    void requireCurrent() {
        ensurePositioned();
        if (pos != Pos::On) noCurrentRecord();
        if (deleted) recordDeleted();
    }

    void discardEdit() {
        mode = EditMode::None;
        changes.clear();
        reservedKey.reset();
    }

    // ---- Movement

    void move(Direction direction) {
        discardEdit();
        if (source == Source::Table)
            moveTable(direction);
        else
            moveList(direction);
    }

    // The navigation queries of a table source: "SELECT rowid, <index>, <fields> FROM <source> WHERE
    // (<filter>) AND <condition> ORDER BY ...".
    QString select(const QString& condition) {
        if (cachedSelectHead.isEmpty()) {
            const QString cols = columnList();
            cachedSelectHead =
                QStringLiteral("SELECT rowid, %1%2%3 FROM %4")
                    .arg(indexExpr(), cols.isEmpty() ? QString() : QStringLiteral(", "), cols, fromText);
        }
        QString sql = cachedSelectHead;
        if (!filter.isEmpty())
            sql += QStringLiteral(" WHERE (") + filter + u')' +
                   (condition.isEmpty() ? QString() : QStringLiteral(" AND "));
        else if (!condition.isEmpty())
            sql += QStringLiteral(" WHERE ");
        return sql + condition + u' ';
    }

    QString ascending() const {
        return indexColumn < 0 ? QStringLiteral("ORDER BY rowid LIMIT 1")
                               : QStringLiteral("ORDER BY %1, rowid LIMIT 1").arg(indexExpr());
    }

    QString descending() const {
        return indexColumn < 0 ? QStringLiteral("ORDER BY rowid DESC LIMIT 1")
                               : QStringLiteral("ORDER BY %1 DESC, rowid DESC LIMIT 1").arg(indexExpr());
    }

    void moveTable(Direction direction) {
        const QString k = indexExpr();
        const bool byRowid = indexColumn < 0;
        const QString asc = ascending();
        const QString desc = descending();
        loaded = false;
        if (direction == Direction::Next || direction == Direction::Previous) {
            if (pos == Pos::Unpositioned) move(Direction::First);
            if (pos == Pos::Empty || pos == Pos::NoCurrent) noCurrentRecord();
            const bool next = direction == Direction::Next;
            if ((next && pos == Pos::After) || (!next && pos == Pos::Before)) noCurrentRecord();
            if (pos == Pos::Before || pos == Pos::After) {
                moveTable(next ? Direction::First : Direction::Last);
                return;
            }
            const Value id(rowid);
            bool found = false;
            if (byRowid) {
                found = next ? locate(select(QStringLiteral("rowid > ?1")) + asc, id)
                             : locate(select(QStringLiteral("rowid < ?1")) + desc, id);
            } else if (next) {
                if (indexValue.isNull())
                    found = locate(select(QStringLiteral("%1 IS NULL AND rowid > ?1").arg(k)) +
                                       QStringLiteral("ORDER BY rowid LIMIT 1"),
                                   id) ||
                            locate(select(QStringLiteral("%1 IS NOT NULL").arg(k)) + asc);
                else
                    found = locate(select(QStringLiteral("%1 = ?1 AND rowid > ?2").arg(k)) +
                                       QStringLiteral("ORDER BY rowid LIMIT 1"),
                                   indexValue, id) ||
                            locate(select(QStringLiteral("%1 > ?1").arg(k)) + asc, indexValue);
            } else {
                if (indexValue.isNull())
                    found = locate(select(QStringLiteral("%1 IS NULL AND rowid < ?1").arg(k)) +
                                       QStringLiteral("ORDER BY rowid DESC LIMIT 1"),
                                   id);
                else
                    found = locate(select(QStringLiteral("%1 = ?1 AND rowid < ?2").arg(k)) +
                                       QStringLiteral("ORDER BY rowid DESC LIMIT 1"),
                                   indexValue, id) ||
                            locate(select(QStringLiteral("%1 < ?1").arg(k)) + desc, indexValue) ||
                            locate(select(QStringLiteral("%1 IS NULL").arg(k)) +
                                   QStringLiteral("ORDER BY rowid DESC LIMIT 1"));
            }
            if (!found) {
                pos = next ? Pos::After : Pos::Before;
                deleted = false;
            }
            return;
        }
        if (!locate(select(QString()) + (direction == Direction::First ? asc : desc))) pos = Pos::Empty;
    }

    void moveList(Direction direction) {
        const qsizetype count = source == Source::Keyset ? keys.size() : rows.size();
        loaded = false;
        switch (direction) {
        case Direction::First:
        case Direction::Last:
            if (count == 0) {
                pos = Pos::Empty;
                at = -1;
            } else {
                pos = Pos::On;
                at = direction == Direction::First ? 0 : count - 1;
            }
            break;
        case Direction::Next:
            if (pos == Pos::After || pos == Pos::Empty || pos == Pos::NoCurrent) noCurrentRecord();
            if (pos == Pos::Before)
                at = 0;
            else if (!deleted)
                ++at;
            pos = at < count ? Pos::On : Pos::After;
            if (pos == Pos::After) at = count;
            break;
        case Direction::Previous:
            if (pos == Pos::Before || pos == Pos::Empty || pos == Pos::NoCurrent) noCurrentRecord();
            at = (pos == Pos::After ? count : at) - 1;
            pos = at >= 0 ? Pos::On : Pos::Before;
            if (pos == Pos::Before) at = -1;
            break;
        }
        deleted = false;
    }

    // ---- Finding

    // A criterion "Field = number" or "Field = \"text\"" on a column of the table, as a condition with
    // the value as parameter ?3, so that the same prepared statement serves every value.
    std::optional<std::pair<QString, Value>> boundCriterion(const QString& criterion) const {
        static const QRegularExpression simple(QStringLiteral(
            R"rx(^\s*(?:\[([^\]]+)\]|([A-Za-z_]\w*))\s*=\s*(?:(-?\d{1,15})|(-?\d{1,15}\.\d{1,15})|"((?:[^"]|"")*)")\s*$)rx"));
        const auto m = simple.match(criterion);
        if (!m.hasMatch() || !table) return std::nullopt;
        const int column = table->column(m.hasCaptured(1) ? m.captured(1) : m.captured(2));
        if (column < 0) return std::nullopt;
        Value value;
        if (m.hasCaptured(3))
            value = Value(m.captured(3).toLongLong());
        else if (m.hasCaptured(4))
            value = Value(m.captured(4).toDouble());
        else
            value = Value(m.captured(5).replace(QStringLiteral("\"\""), QStringLiteral("\"")));
        return std::pair<QString, Value>{sqlQuoteName(table->columns[column].name) + QStringLiteral(" = ?3"),
                                         value};
    }

    void find(const QString& criterion, Direction direction) {
        if (type != Type::Dynaset) notSupported();
        if (source == Source::Table)
            if (const auto bound = boundCriterion(criterion)) {
                findInTable(u'(' + bound->first + u')', direction, bound->second);
                return;
            }
        const QString condition = translateSql(criterion);
        if (source == Source::Table) {
            findInTable(u'(' + condition + u')', direction);
            return;
        }
        const qsizetype count = source == Source::Keyset ? keys.size() : rows.size();
        qsizetype start = 0;
        int step = 1;
        switch (direction) {
        case Direction::First:
            break;
        case Direction::Last:
            start = count - 1;
            step = -1;
            break;
        case Direction::Next:
            start = (pos == Pos::On) ? (deleted ? at : at + 1) : (pos == Pos::After ? count : 0);
            break;
        case Direction::Previous:
            start = (pos == Pos::On) ? at - 1 : (pos == Pos::After ? count - 1 : -1);
            step = -1;
            break;
        }
        qsizetype found = -1;
        if (source == Source::Keyset) {
            QSet<qint64> matches;
            {
                Stmt s(db(),
                       QStringLiteral("SELECT %1 FROM %2 WHERE (%3)").arg(rowidRef, fromText, condition),
                       DbOp::Open);
                while (s.step())
                    matches.insert(sqlite3_column_int64(s.get(), 0));
            }
            if (!matches.isEmpty())
                for (qsizetype i = start; i >= 0 && i < count; i += step)
                    if (matches.contains(keys[i])) {
                        found = i;
                        break;
                    }
        } else {
            // Each row in turn, as a one-row SELECT whose columns bear the field names.
            QStringList columns;
            for (int f = 0; f < fields.size(); ++f)
                columns.append(QStringLiteral("?%1%2 AS %3")
                                   .arg(f + 1)
                                   .arg(fields[f].info.kind == ColumnKind::Text
                                            ? QStringLiteral(" COLLATE NOCASE")
                                            : QString(),
                                        sqlQuoteName(fields[f].name)));
            Stmt s(db(),
                   QStringLiteral("SELECT 1 FROM (SELECT %1) WHERE (%2)")
                       .arg(columns.join(QStringLiteral(", ")), condition),
                   DbOp::Open);
            for (qsizetype i = start; i >= 0 && i < count; i += step) {
                for (int f = 0; f < fields.size(); ++f) {
                    ColumnInfo info = fields[f].info;
                    info.size = 0;
                    s.bind(f + 1, toStored(rows[i][f], info));
                }
                const bool match = s.step();
                s.reset();
                if (match) {
                    found = i;
                    break;
                }
            }
        }
        noMatch = found < 0;
        if (found >= 0) {
            discardEdit();
            at = found;
            pos = Pos::On;
            deleted = false;
            loaded = false;
        }
    }

    // value: the parameter ?3 of the condition, if it has one.
    void findInTable(const QString& condition, Direction direction, const Value& value = Value()) {
        bool found = false;
        const Value id(rowid);
        const bool onRow = pos == Pos::On;
        switch (direction) {
        case Direction::First:
            found = locate(select(condition) + ascending(), Value(), Value(), value);
            break;
        case Direction::Last:
            found = locate(select(condition) + descending(), Value(), Value(), value);
            break;
        case Direction::Next:
            if (onRow)
                found = locate(select(condition + QStringLiteral(" AND rowid > ?1")) + ascending(), id,
                               Value(), value);
            else if (pos != Pos::After)
                found = locate(select(condition) + ascending(), Value(), Value(), value);
            break;
        case Direction::Previous:
            if (onRow)
                found = locate(select(condition + QStringLiteral(" AND rowid < ?1")) + descending(), id,
                               Value(), value);
            else if (pos == Pos::After)
                found = locate(select(condition) + descending(), Value(), Value(), value);
            break;
        }
        noMatch = !found;
        if (found) discardEdit();
    }

    // ---- Reading and writing fields

    Value fieldValue(int f) {
        if (mode != EditMode::None)
            if (const auto it = changes.constFind(f); it != changes.cend())
                return fromStored(*it, fields[f].info.kind);
        if (mode == EditMode::AddNew) {
            if (table && fields[f].column >= 0 && fields[f].column == table->rowidColumn) {
                if (!reservedKey) reservedKey = nextKey();
                return Value(*reservedKey);
            }
            return fields[f].info.defaultValue;
        }
        requireCurrent();
        if (source == Source::Rows) return rows[at][f];
        loadRow();
        if (!converted[f]) {
            row[f] = fromStored(row[f], fields[f].info.kind);
            converted[f] = true;
        }
        return row[f];
    }

    qint64 nextKey() {
        const QString sql =
            table->autoIncrement
                ? QStringLiteral("SELECT max(ifnull((SELECT seq FROM sqlite_sequence WHERE name = ?1), 0), "
                                 "ifnull((SELECT max(rowid) FROM %1), 0)) + 1")
                      .arg(quotedTable)
                : QStringLiteral("SELECT ifnull(max(rowid), 0) + 1 FROM %1").arg(quotedTable);
        Stmt s(db(), sql, DbOp::Open);
        if (table->autoIncrement) s.bind(1, Value(table->name));
        s.step();
        return s.stored(0).toLongLong();
    }

    void requireUpdatable() const {
        if (source == Source::Rows) readOnly();
    }

    void writeChanges() {
        Connection& c = db();
        if (mode == EditMode::Edit) {
            if (!changes.isEmpty()) {
                QStringList sets;
                QList<Value> values;
                for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
                    sets.append(QStringLiteral("%1 = ?%2")
                                    .arg(sqlQuoteName(fields[it.key()].info.name))
                                    .arg(sets.size() + 1));
                    values.append(it.value());
                }
                const qint64 id = source == Source::Keyset ? keys[at] : rowid;
                Stmt s(c,
                       QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                           .arg(quotedTable, sets.join(QStringLiteral(", ")))
                           .arg(values.size() + 1),
                       DbOp::RowWrite);
                for (int i = 0; i < values.size(); ++i)
                    s.bind(i + 1, values[i]);
                s.bind(int(values.size()) + 1, Value(id));
                s.step();
                if (sqlite3_changes(c.handle()) == 0) recordDeleted();
            }
            discardEdit();
            loaded = false;
            if (source == Source::Table) locate(rowQuery(), Value(rowid));
            return;
        }

        // A new row
        QStringList columns;
        QList<Value> values;
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            columns.append(sqlQuoteName(fields[it.key()].info.name));
            values.append(it.value());
        }
        if (reservedKey && table->rowidColumn >= 0) {
            const QString key = sqlQuoteName(table->columns[table->rowidColumn].name);
            if (!columns.contains(key)) {
                columns.append(key);
                values.append(Value(*reservedKey));
            }
        }
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedTable);
        } else {
            QStringList params;
            for (int i = 0; i < values.size(); ++i)
                params.append(QStringLiteral("?%1").arg(i + 1));
            sql =
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quotedTable, columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
        }
        {
            Stmt s(c, sql, DbOp::RowWrite);
            for (int i = 0; i < values.size(); ++i)
                s.bind(i + 1, values[i]);
            s.step();
        }
        const qint64 newRowid = sqlite3_last_insert_rowid(c.handle());
        discardEdit();
        loaded = false;
        if (source == Source::Keyset) {
            keys.append(newRowid);
            at = keys.size() - 1;
            pos = Pos::On;
            deleted = false;
        } else {
            locate(rowQuery(), Value(newRowid));
        }
    }
};

// ---------------------------------------------------------------------------------------------------------

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::Recordset(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

Recordset::Impl& Recordset::impl() const {
    if (!d) throw DbError(DbErr::ObjectInvalid, QStringLiteral("Object invalid or no longer set."));
    return *d;
}

Recordset Recordset::openTable(const std::shared_ptr<Connection>& connection, const QString& name) {
    auto d = std::make_unique<Impl>();
    d->connection = connection;
    d->type = Type::Table;
    d->source = Source::Table;
    d->table = connection->requireTable(name);
    if (d->table->isView)
        throw DbError(DbErr::InvalidOperation,
                      QStringLiteral("Invalid operation: '%1' is a query, not a table.").arg(name));
    d->quotedTable = sqlQuoteName(d->table->name);
    d->fromText = d->quotedTable;
    for (int c = 0; c < d->table->columns.size(); ++c)
        d->addField({d->table->columns[c].name, c, d->table->columns[c]});
    return Recordset(std::move(d));
}

Recordset Recordset::openDynaset(const std::shared_ptr<Connection>& connection, const QString& source) {
    const QString text = source.trimmed();
    static const QRegularExpression nameRx(QStringLiteral(R"(^(?:\[[^\]]+\]|[^\s\[\]"'(),;]+)$)"));
    QString sql;
    if (nameRx.match(text).hasMatch()) {
        const QString name = text.startsWith(u'[') ? text.mid(1, text.size() - 2) : text;
        const auto info = connection->requireTable(name);
        sql = info->isView ? viewSelect(info->sql) : QString();
        if (sql.isEmpty()) sql = QStringLiteral("SELECT * FROM %1").arg(sqlQuoteName(info->name));
    } else {
        sql = translateSql(text);
    }

    auto d = std::make_unique<Impl>();
    d->connection = connection;
    d->type = Type::Dynaset;

    // A set over one table: updatable, read one row at a time.
    if (const auto simple = analyzeSelect(sql)) {
        const auto info = connection->table(simple->table);
        bool ok = info && !info->isView;
        for (const SimpleSelect::Item& item : simple->items) {
            if (!ok) break;
            if (item.star) {
                for (int c = 0; c < info->columns.size(); ++c)
                    d->addField({info->columns[c].name, c, info->columns[c]});
            } else {
                const int c = info->column(item.column);
                ok = c >= 0;
                if (ok)
                    d->addField(
                        {item.alias.isEmpty() ? info->columns[c].name : item.alias, c, info->columns[c]});
            }
        }
        if (ok) {
            d->table = info;
            d->quotedTable = sqlQuoteName(info->name);
            d->fromText = simple->fromText;
            d->rowidRef = (simple->alias.isEmpty() ? d->quotedTable : sqlQuoteName(simple->alias)) +
                          QStringLiteral(".rowid");
            try {
                if (simple->orderText.isEmpty()) {
                    // In key order: move through the table with the set's condition, row by row.
                    d->source = Source::Table;
                    d->filter = simple->whereText;
                    d->move(Direction::First);
                } else {
                    // Sorted: keep the row ids in set order (equal rows in key order).
                    d->source = Source::Keyset;
                    QString keysetSql = QStringLiteral("SELECT %1 FROM %2").arg(d->rowidRef, d->fromText);
                    if (!simple->whereText.isEmpty())
                        keysetSql += QStringLiteral(" WHERE ") + simple->whereText;
                    keysetSql +=
                        QStringLiteral(" ORDER BY ") + simple->orderText + QStringLiteral(", ") + d->rowidRef;
                    Stmt s(*connection, keysetSql, DbOp::Open);
                    while (s.step())
                        d->keys.append(sqlite3_column_int64(s.get(), 0));
                    d->moveList(Direction::First);
                }
                return Recordset(std::move(d));
            } catch (const DbError&) {
                // Not as simple as it looked (an alias in ORDER BY, say): read it as a whole below, which
                // also reports any real error.
            }
        }
        d = std::make_unique<Impl>();
        d->connection = connection;
        d->type = Type::Dynaset;
    }

    // Any other set: read every row now.
    d->source = Source::Rows;
    Stmt s(*connection, sql, DbOp::Open);
    sqlite3_stmt* st = s.get();
    const int n = s.columnCount();
    for (int c = 0; c < n; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(st, c));
        const char* decl = sqlite3_column_decltype(st, c);
        ColumnInfo info = columnFromDecl(name, decl ? QString::fromUtf8(decl) : QString());
        d->fields.append({name, -1, info});
        const char* tableName = sqlite3_column_table_name(st, c);
        if (tableName) d->byName.insert(QString::fromUtf8(tableName) + u'.' + name, c);
        if (!d->byName.contains(name)) d->byName.insert(name, c);
    }
    while (s.step()) {
        QVector<Value> values(n);
        for (int c = 0; c < n; ++c) {
            ColumnKind kind = d->fields[c].info.kind;
            if (kind == ColumnKind::Unknown) kind = kindFromStorage(sqlite3_column_type(st, c));
            values[c] = s.logical(c, kind);
        }
        d->rows.append(std::move(values));
    }
    d->moveList(Direction::First);
    return Recordset(std::move(d));
}

Recordset::Type Recordset::type() const {
    return impl().type;
}
bool Recordset::updatable() const {
    return impl().source != Source::Rows;
}
void Recordset::close() {
    d.reset();
}

bool Recordset::bof() const {
    Impl& r = impl();
    r.ensurePositioned();
    return r.pos == Pos::Before || r.pos == Pos::Empty;
}

bool Recordset::eof() const {
    Impl& r = impl();
    r.ensurePositioned();
    return r.pos == Pos::After || r.pos == Pos::Empty;
}

bool Recordset::noMatch() const {
    return impl().noMatch;
}
void Recordset::moveFirst() {
    impl().move(Direction::First);
}
void Recordset::moveLast() {
    impl().move(Direction::Last);
}
void Recordset::moveNext() {
    impl().move(Direction::Next);
}
void Recordset::movePrevious() {
    impl().move(Direction::Previous);
}

int Recordset::recordCount() const {
    Impl& r = impl();
    switch (r.source) {
    case Source::Keyset:
        return int(r.keys.size());
    case Source::Rows:
        return int(r.rows.size());
    case Source::Table:
        break;
    }
    QString sql = QStringLiteral("SELECT count(*) FROM ") + r.fromText;
    if (!r.filter.isEmpty()) sql += QStringLiteral(" WHERE (") + r.filter + u')';
    Stmt s(r.db(), sql, DbOp::Open);
    s.step();
    return int(s.stored(0).toLongLong());
}

int Recordset::absolutePosition() const {
    Impl& r = impl();
    if (r.type != Type::Dynaset || r.pos != Pos::On || r.deleted) return -1;
    if (r.source != Source::Table) return int(r.at);
    QString sql = QStringLiteral("SELECT count(*) FROM ") + r.fromText + QStringLiteral(" WHERE rowid < ?1");
    if (!r.filter.isEmpty()) sql += QStringLiteral(" AND (") + r.filter + u')';
    Stmt s(r.db(), sql, DbOp::Open);
    s.bind(1, Value(r.rowid));
    s.step();
    return int(s.stored(0).toLongLong());
}

void Recordset::setIndex(const QString& indexName) {
    Impl& r = impl();
    if (r.type != Type::Table) notSupported();
    const TableInfo& t = *r.table;
    int column = -2;
    if (indexName.isEmpty()) {
        column = -1;
    } else if (indexName.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
        if (t.primaryKeyColumn >= 0) column = t.primaryKeyColumn;
    } else {
        const QString prefixed = t.name + u'_' + indexName;
        for (const TableInfo::Index& index : t.indexes)
            if (index.name.compare(indexName, Qt::CaseInsensitive) == 0 ||
                index.name.compare(prefixed, Qt::CaseInsensitive) == 0)
                column = t.column(index.column);
        if (column < 0) // an index on the column of that name
            for (const TableInfo::Index& index : t.indexes)
                if (index.column.compare(indexName, Qt::CaseInsensitive) == 0)
                    column = t.column(index.column);
    }
    if (column == -2)
        throw DbError(DbErr::NotAnIndex, QStringLiteral("'%1' isn't an index in this table.").arg(indexName));
    r.indexColumn = column == t.rowidColumn ? -1 : column;
    r.indexName = indexName;
    r.forgetQueries();
    r.discardEdit();
    r.pos = Pos::Unpositioned;
    r.loaded = false;
}

const QString& Recordset::index() const {
    return impl().indexName;
}

void Recordset::seek(const QString& comparison, const Value& key) {
    Impl& r = impl();
    if (r.type != Type::Table) notSupported();
    if (r.indexName.isEmpty())
        throw DbError(3019, QStringLiteral("Operation invalid without a current index."));
    static const QStringList comparisons = {QStringLiteral("="), QStringLiteral(">="), QStringLiteral(">"),
                                            QStringLiteral("<="), QStringLiteral("<")};
    const QString op = comparison.trimmed();
    if (!comparisons.contains(op)) throw DbError(3001, QStringLiteral("Invalid argument."));
    r.discardEdit();
    r.loaded = false;
    ColumnInfo info;
    if (r.indexColumn < 0) {
        info.kind = ColumnKind::Integer;
    } else {
        info = r.table->columns[r.indexColumn];
        info.size = 0;
    }
    const Value stored = toStored(key, info);
    bool found = false;
    if (!stored.isNull()) {
        const QString k = r.indexExpr();
        const bool descending = op.startsWith(u'<');
        const bool byRowid = r.indexColumn < 0;
        const QString order =
            descending ? (byRowid ? QStringLiteral("rowid DESC") : k + QStringLiteral(" DESC, rowid DESC"))
                       : (byRowid ? QStringLiteral("rowid") : k + QStringLiteral(", rowid"));
        const QString sql = r.select(QStringLiteral("%1 %2 ?1").arg(k, op)) +
                            QStringLiteral("ORDER BY %1 LIMIT 1").arg(order);
        found = r.locate(sql, stored);
    }
    r.noMatch = !found;
    if (!found) {
        r.pos = Pos::NoCurrent;
        r.deleted = false;
    }
}

void Recordset::findFirst(const QString& criterion) {
    impl().find(criterion, Direction::First);
}
void Recordset::findLast(const QString& criterion) {
    impl().find(criterion, Direction::Last);
}
void Recordset::findNext(const QString& criterion) {
    impl().find(criterion, Direction::Next);
}
void Recordset::findPrevious(const QString& criterion) {
    impl().find(criterion, Direction::Previous);
}

int Recordset::fieldCount() const {
    return int(impl().fields.size());
}

QString Recordset::fieldName(int index) const {
    const Impl& r = impl();
    if (index < 0 || index >= r.fields.size()) throwItemNotFound(QString::number(index));
    return r.fields[index].name;
}

Value Recordset::value(const QString& field) const {
    Impl& r = impl();
    return r.fieldValue(r.fieldIndex(field));
}

void Recordset::setValue(const QString& field, const Value& value) {
    Impl& r = impl();
    const int f = r.fieldIndex(field);
    if (r.mode == EditMode::None)
        throw DbError(DbErr::UpdateWithoutEdit,
                      QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const Field& def = r.fields[f];
    if (r.table && def.column >= 0 && def.column == r.table->rowidColumn && r.table->autoIncrement)
        throw DbError(3164, QStringLiteral("Field '%1' cannot be updated.").arg(def.name));
    r.changes.insert(f, toStored(value, def.info));
}

Recordset::EditMode Recordset::editMode() const {
    return impl().mode;
}

void Recordset::addNew() {
    Impl& r = impl();
    r.requireUpdatable();
    r.discardEdit();
    r.mode = EditMode::AddNew;
}

void Recordset::edit() {
    Impl& r = impl();
    r.requireUpdatable();
    r.discardEdit();
    r.requireCurrent();
    r.mode = EditMode::Edit;
}

void Recordset::update() {
    Impl& r = impl();
    if (r.mode == EditMode::None) notEditing();
    r.writeChanges();
}

void Recordset::cancelUpdate() {
    Impl& r = impl();
    if (r.mode == EditMode::None) notEditing();
    r.discardEdit();
}

void Recordset::remove() {
    Impl& r = impl();
    r.requireUpdatable();
    r.discardEdit();
    r.requireCurrent();
    const qint64 id = r.source == Source::Keyset ? r.keys[r.at] : r.rowid;
    Stmt s(r.db(), QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(r.quotedTable), DbOp::RowWrite);
    s.bind(1, Value(id));
    s.step();
    if (r.source == Source::Keyset) r.keys.remove(r.at);
    r.deleted = true;
    r.loaded = false;
}
