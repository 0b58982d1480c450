#include "data/Find.h"

#include "core/Format.h"
#include "core/Money.h"
#include "data/engine/Database.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>

namespace {

bool isMark(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// The length of the character (one or two UTF-16 units) at i.
qsizetype charLength(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// Folds character by character, so that a folded text can be mapped back onto the original one:
// origins, when given, receives for each folded unit the index of the character it comes from.
QString fold(const QString& text, QList<qsizetype>* origins) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out += QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
            if (origins) origins->append(i);
            ++i;
            continue;
        }
        const qsizetype length = charLength(text, i);
        QString kept;
        for (const char32_t u : text.mid(i, length).normalized(QString::NormalizationForm_D).toUcs4())
            if (!isMark(u)) kept += QString::fromUcs4(&u, 1);
        kept = kept.toLower();
        out += kept;
        if (origins)
            for (qsizetype k = 0; k < kept.size(); ++k) origins->append(i);
        i += length;
    }
    return out;
}

QString argText(sqlite3_value* value) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

void resultText(sqlite3_context* context, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void foldFunction(sqlite3_context* context, int count, sqlite3_value** values) {
    QStringList parts;
    for (int i = 0; i < count; ++i)
        if (sqlite3_value_type(values[i]) != SQLITE_NULL) parts.append(find_sFold(argText(values[i])));
    if (parts.isEmpty())
        sqlite3_result_null(context);
    else
        resultText(context, parts.join(QLatin1Char(' ')));
}

void amountFunction(sqlite3_context* context, int, sqlite3_value** values) {
    switch (sqlite3_value_type(values[0])) {
    case SQLITE_INTEGER:
        resultText(context, money_sPlain(Money::fromUnits(sqlite3_value_int64(values[0]))));
        break;
    case SQLITE_FLOAT:
        resultText(context, money_sPlain(Money::fromUnits(std::llround(sqlite3_value_double(values[0])))));
        break;
    default:
        sqlite3_result_null(context);
    }
}

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c >= u'0' && c <= u'9') digits += c;
    return digits;
}

void digitsFunction(sqlite3_context* context, int, sqlite3_value** values) {
    const QString digits =
        sqlite3_value_type(values[0]) == SQLITE_NULL ? QString() : digitsOf(argText(values[0]));
    if (digits.isEmpty())
        sqlite3_result_null(context);
    else
        resultText(context, digits);
}

struct IndexedTable {
    const char* table;  // the FTS table
    const char* source; // the table it follows
    const char* key;
    const char* columns;          // of the FTS table
    const char* values;           // the same, from a row of the source, "@." standing for new., old. or nothing
    QStringList watched;          // the source fields the values come from
};

const IndexedTable& casesIndex() {
    static const IndexedTable t{"FindCases", "Cases", "CaseID", "Reference, CheckNumber, AccountNumber, Amount",
                                "find_fold(@.ReferenceNumber), find_fold(@.CheckNumber), "
                                "find_fold(@.AccountNumber), find_amount(@.CheckAmount)",
                                {"ReferenceNumber", "CheckNumber", "AccountNumber", "CheckAmount"}};
    return t;
}

const IndexedTable& customersIndex() {
    static const IndexedTable t{"FindCustomers", "Address", "CustomerID", "Name, Company, Phone",
                                "find_fold(@.FirstName, @.LastName, @.ShowAs), find_fold(@.CompanyName), "
                                "find_fold(@.Phone, @.Phone2, find_digits(@.Phone), find_digits(@.Phone2))",
                                {"FirstName", "LastName", "ShowAs", "CompanyName", "Phone", "Phone2"}};
    return t;
}

QStringList triggerNames(const IndexedTable& t) {
    const QString table = QString::fromLatin1(t.table);
    return {table + QStringLiteral("_Insert"), table + QStringLiteral("_Update"), table + QStringLiteral("_Delete")};
}

QStringList indexStatements(const IndexedTable& t) {
    const QString table = QString::fromLatin1(t.table), source = QString::fromLatin1(t.source),
                  key = QString::fromLatin1(t.key), columns = QString::fromLatin1(t.columns),
                  values = QString::fromLatin1(t.values);
    const QStringList names = triggerNames(t);
    const QString insertNew = QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (new.%3, %4);")
                                  .arg(table, columns, key, QString(values).replace(QStringLiteral("@."),
                                                                                    QStringLiteral("new.")));
    const QString deleteOld = QStringLiteral("DELETE FROM %1 WHERE rowid = old.%2;").arg(table, key);
    QStringList changed;
    for (const QString& field : t.watched + QStringList{key})
        changed.append(QStringLiteral("old.%1 IS NOT new.%1").arg(field));
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, tokenize = 'trigram')").arg(table, columns),
        QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT %3, %4 FROM %5")
            .arg(table, columns, key, QString(values).remove(QStringLiteral("@.")), source),
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3 END").arg(names[0], source, insertNew),
        // Only a change of an indexed field costs an index write; a case save that changes anything else
        // passes by.
        QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON %3 WHEN %4 BEGIN %5 %6 END")
            .arg(names[1], (t.watched + QStringList{key}).join(QStringLiteral(", ")), source,
                 changed.join(QStringLiteral(" OR ")), deleteOld, insertNew),
        QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3 END").arg(names[2], source, deleteOld),
    };
}

// An FTS5 phrase: the text in double quotes, an inner one doubled, so that nothing typed is syntax.
QString phrase(const QString& text) {
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString nameOf(const RowReader& row, int showAs, int first, int last) {
    const QString display = row.text(showAs).trimmed();
    if (!display.isEmpty()) return display;
    return (row.text(first) + QLatin1Char(' ') + row.text(last)).trimmed();
}

QString joined(const QStringList& parts) {
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty()) kept.append(part.trimmed());
    return kept.join(QStringLiteral(" \u00b7 "));
}

// A customer row: CustomerID, ShowAs, FirstName, LastName, CompanyName, Phone, Phone2.
const QString CustomerColumns = QStringLiteral(
    "Address.CustomerID, Address.ShowAs, Address.FirstName, Address.LastName, Address.CompanyName, "
    "Address.Phone, Address.Phone2");

FindHit customerHit(const RowReader& row, const QStringList& terms) {
    FindHit hit;
    hit.customerKey = row.integer(0);
    hit.text = joined({nameOf(row, 1, 2, 3), row.text(4), row.text(5), row.text(6)});
    hit.terms = terms;
    return hit;
}

// A case row: CaseID, CustomerID, ReferenceNumber, CheckNumber, AccountNumber, CheckAmount, and the
// customer's ShowAs, FirstName, LastName.
const QString CaseQuery = QStringLiteral(
    "SELECT Cases.CaseID, Cases.CustomerID, Cases.ReferenceNumber, Cases.CheckNumber, Cases.AccountNumber, "
    "Cases.CheckAmount, Address.ShowAs, Address.FirstName, Address.LastName "
    "FROM FindCases INNER JOIN Cases ON Cases.CaseID = FindCases.rowid "
    "LEFT JOIN Address ON Address.CustomerID = Cases.CustomerID WHERE FindCases MATCH ?1");

FindHit caseHit(const RowReader& row, const QStringList& terms) {
    FindHit hit;
    hit.caseKey = row.integer(0);
    hit.customerKey = row.integer(1);
    hit.terms = terms;
    const QString reference = row.text(2), check = row.text(3), account = row.text(4);
    const QString amount = row.isNull(5) ? QString() : fmt_Currency(Money::fromUnits(row.integer(5)));
    // The account number only when it is what was found: the line stays short.
    const bool accountFound = std::any_of(terms.cbegin(), terms.cend(), [&](const QString& term) {
        return find_sFold(account).contains(find_sFold(term));
    });
    hit.text = joined({reference.isEmpty() ? QString() : QStringLiteral("Case # ") + reference,
                       check.isEmpty() ? QString() : QStringLiteral("Check # ") + check,
                       accountFound ? QStringLiteral("Account # ") + account : QString(), amount,
                       nameOf(row, 6, 7, 8)});
    return hit;
}

void addCase(FindResults& results, const FindHit& hit) {
    if (int(results.cases.size()) >= FindLimit) return;
    for (const FindHit& known : results.cases)
        if (known.caseKey == hit.caseKey) return;
    results.cases.push_back(hit);
}

const QRegularExpression& phoneLike() {
    static const QRegularExpression rx(QStringLiteral(R"(^[0-9 ()+\-./]*[0-9][0-9 ()+\-./]*$)"));
    return rx;
}

} // namespace

QString find_sFold(const QString& text) {
    return fold(text, nullptr);
}

void find_RegisterSqlFunctions(sqlite3* db) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "find_fold", -1, flags, nullptr, foldFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "find_amount", 1, flags, nullptr, amountFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "find_digits", 1, flags, nullptr, digitsFunction, nullptr, nullptr, nullptr);
}

QStringList find_TriggerNames() {
    return triggerNames(casesIndex()) + triggerNames(customersIndex());
}

bool find_bHasIndex(Database& db) {
    QStringList names = find_TriggerNames();
    for (const IndexedTable* t : {&casesIndex(), &customersIndex()})
        names << QString::fromLatin1(t->table);
    int found = 0;
    QList<Value> parameters;
    QStringList places;
    for (const QString& name : names) {
        parameters.append(Value(name));
        places.append(QStringLiteral("?%1").arg(parameters.size()));
    }
    db.readRows(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN (%1)").arg(places.join(u',')),
                parameters, [&](const RowReader& row) { found = int(row.integer(0)); });
    return found == names.size();
}

void find_CreateIndex(Database& db) {
    for (const IndexedTable* t : {&casesIndex(), &customersIndex()}) {
        for (const QString& trigger : triggerNames(*t))
            db.execute(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger));
        db.execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(QString::fromLatin1(t->table)));
        for (const QString& statement : indexStatements(*t))
            db.execute(statement);
    }
}

FindResults find_Search(const QString& databasePath, const QString& typed) {
    FindResults results;
    const QString text = typed.trimmed();
    const QString folded = find_sFold(text);
    if (folded.isEmpty()) return results;
    Database db = Database::open(databasePath);

    if (folded.size() < FindIndexedLength) {
        // The display names that begin with the text: a range of the display-name index.
        db.readRows(QStringLiteral("SELECT %1 FROM Address WHERE ShowAs >= ?1 AND ShowAs < ?2 "
                                   "ORDER BY ShowAs LIMIT %2")
                        .arg(CustomerColumns)
                        .arg(FindLimit),
                    {Value(text), Value(text + QChar(0xFFFF))},
                    [&](const RowReader& row) { results.customers.push_back(customerHit(row, {text})); });
        return results;
    }

    QStringList terms{text};
    QString match = phrase(folded);
    if (phoneLike().match(text).hasMatch()) {
        const QString digits = digitsOf(text);
        if (digits != folded && digits.size() >= FindIndexedLength) {
            match += QStringLiteral(" OR ") + phrase(digits);
            terms.append(digits);
        }
    }

    // An amount finds the cases of exactly that check amount first.
    if (const std::optional<Money> amount = money_Parse(text); amount && digitsOf(text).size() > 0) {
        const QStringList amountTerms = terms + QStringList{fmt_Currency(*amount)};
        db.readRows(CaseQuery + QStringLiteral(" AND Cases.CheckAmount = ?2 ORDER BY FindCases.rowid DESC LIMIT %1")
                                    .arg(FindLimit),
                    {Value(QStringLiteral("Amount : ") + phrase(money_sPlain(*amount))), Value(amount->units())},
                    [&](const RowReader& row) { addCase(results, caseHit(row, amountTerms)); });
    }
    db.readRows(CaseQuery + QStringLiteral(" ORDER BY FindCases.rowid DESC LIMIT %1").arg(FindLimit), {Value(match)},
                [&](const RowReader& row) { addCase(results, caseHit(row, terms)); });
    db.readRows(QStringLiteral("SELECT %1 FROM FindCustomers INNER JOIN Address ON Address.CustomerID = "
                               "FindCustomers.rowid WHERE FindCustomers MATCH ?1 "
                               "ORDER BY FindCustomers.rowid DESC LIMIT %2")
                    .arg(CustomerColumns)
                    .arg(FindLimit),
                {Value(match)}, [&](const RowReader& row) { results.customers.push_back(customerHit(row, terms)); });
    return results;
}

QString find_sHighlight(const QString& line, const QStringList& terms) {
    QList<qsizetype> origins;
    const QString folded = fold(line, &origins);
    QList<bool> bold(line.size(), false);
    for (const QString& term : terms) {
        const QString t = find_sFold(term);
        if (t.isEmpty()) continue;
        for (qsizetype at = folded.indexOf(t); at >= 0; at = folded.indexOf(t, at + 1)) {
            const qsizetype last = origins[at + t.size() - 1];
            qsizetype end = last + charLength(line, last);
            while (end < line.size() && isMark(line[end].unicode())) ++end; // its combining marks too
            for (qsizetype i = origins[at]; i < end; ++i) bold[i] = true;
        }
    }
    QString html;
    for (qsizetype i = 0; i < line.size();) {
        qsizetype j = i;
        while (j < line.size() && bold[j] == bold[i]) ++j;
        const QString run = line.mid(i, j - i).toHtmlEscaped();
        html += bold[i] ? QStringLiteral("<b>") + run + QStringLiteral("</b>") : run;
        i = j;
    }
    return html;
}
