#include "data/engine/Connection.h"

#include "core/AppError.h"
#include "data/Find.h"
#include "data/engine/Dialect.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

constexpr int BusyTimeoutMs = 200;
constexpr int StatementCacheLimit = 300;

// The object named in an SQLite message such as "no such table: main.Cases".
QString nameAfter(const QString& message, const QString& prefix) {
    QString name = message.mid(message.indexOf(prefix) + prefix.size()).trimmed();
    if (name.startsWith(QLatin1String("main."))) name = name.mid(5);
    return name;
}

} // namespace

[[noreturn]] void throwItemNotFound(const QString& name) {
    throw DbError(DbErr::ItemNotFound, QStringLiteral("Item '%1' not found in this collection.").arg(name));
}

void throwSqlite(sqlite3* db, int rc, DbOp op, const QString& path) {
    const int primary = rc & 0xff;
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        switch (op) {
        case DbOp::Open:
            throw DbError(DbErr::FileInUse,
                          QStringLiteral("Could not use '%1'; file already in use.").arg(path));
        case DbOp::RowWrite:
            throw DbError(DbErr::RowLocked,
                          QStringLiteral("Could not update; currently locked by another session."));
        case DbOp::BulkWrite:
            throw DbError(DbErr::TableLocked,
                          QStringLiteral("Could not update the table; it is locked by another session."));
        case DbOp::Schema:
            throw DbError(DbErr::CannotLockFile, QStringLiteral("Could not lock file '%1'.").arg(path));
        }
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw DbError(DbErr::UnrecognizedFormat,
                      QStringLiteral("Unrecognized database format '%1'.").arg(path));
    case SQLITE_CANTOPEN:
        throw DbError(DbErr::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        throw DbError(3051,
                      QStringLiteral("Could not write to '%1'; the file is read-only or you do not have "
                                     "permission to change it.")
                          .arg(path));
    case SQLITE_IOERR:
        throw DbError(3043, QStringLiteral("Disk or network error (%1).").arg(message));
    case SQLITE_FULL:
        throw DbError(3026, QStringLiteral("Not enough space on disk."));
    case SQLITE_NOMEM:
        throw DbError(3035, QStringLiteral("System resource exceeded."));
    case SQLITE_TOOBIG:
        throw DbError(
            DbErr::FieldTooSmall,
            QStringLiteral("The field is too small to accept the amount of data you attempted to add."));
    case SQLITE_MISMATCH:
        throw DbError(3464, QStringLiteral("Data type mismatch in criteria expression."));
    case SQLITE_CONSTRAINT:
        switch (rc) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_ROWID:
            throw DbError(
                DbErr::DuplicateKey,
                QStringLiteral("The changes you requested to the table were not successful because they "
                               "would create duplicate values in the index or primary key."));
        case SQLITE_CONSTRAINT_NOTNULL: {
            QString field = nameAfter(message, QStringLiteral("failed:"));
            field = field.mid(field.lastIndexOf(u'.') + 1);
            throw DbError(3314, QStringLiteral("You must enter a value in the '%1' field.").arg(field));
        }
        case SQLITE_CONSTRAINT_CHECK:
            throw DbError(3315, QStringLiteral("Field '%1' cannot be a zero-length string.")
                                    .arg(nameAfter(message, QStringLiteral("failed:"))));
        default:
            throw DbError(
                3317,
                QStringLiteral("One or more values are prohibited by a validation rule (%1).").arg(message));
        }
    case SQLITE_ERROR:
    case SQLITE_RANGE:
        if (message.startsWith(QLatin1String("no such table:"))) {
            const QString name = nameAfter(message, QStringLiteral("no such table:"));
            throw DbError(DbErr::TableNotFound,
                          QStringLiteral("The database engine cannot find the input table "
                                         "or query '%1'. Make sure it exists and that its "
                                         "name is spelled correctly.")
                              .arg(name));
        }
        if (message.startsWith(QLatin1String("no such column:")))
            throwItemNotFound(nameAfter(message, QStringLiteral("no such column:")));
        if (message.startsWith(QLatin1String("duplicate column name:")))
            throw DbError(DbErr::DuplicateField, QStringLiteral("Cannot define field more than once (%1).")
                                                     .arg(nameAfter(message, QStringLiteral("name:"))));
        if (message.contains(QLatin1String("already exists")))
            throw DbError(DbErr::ObjectExists, QStringLiteral("Object already exists (%1).").arg(message));
        if (message.startsWith(QLatin1String("no such index:")))
            throw DbError(DbErr::NotAnIndex, QStringLiteral("'%1' isn't an index in this table.")
                                                 .arg(nameAfter(message, QStringLiteral("no such index:"))));
        if (message.startsWith(QLatin1String("no such function:")))
            throw DbError(3085, QStringLiteral("Undefined function '%1' in expression.")
                                    .arg(nameAfter(message, QStringLiteral("no such function:"))));
        throw DbError(DbErr::SqlSyntax, QStringLiteral("Syntax error in SQL statement (%1).").arg(message));
    default:
        break;
    }
    throw DbError(3000, QStringLiteral("Reserved error (%1); %2").arg(rc).arg(message));
}

// ---------------------------------------------------------------------------------------------------------

ColumnInfo columnFromDecl(const QString& name, const QString& declType) {
    ColumnInfo c;
    c.name = name;
    c.declType = declType;
    const QString u = declType.toUpper();
    auto has = [&](const char* s) { return u.contains(QLatin1String(s)); };
    if (has("CHAR") || has("TEXT") || has("CLOB") || has("MEMO")) {
        c.kind = ColumnKind::Text;
        static const QRegularExpression sizeRx(QStringLiteral(R"(\(\s*(\d+)\s*\))"));
        if (!has("LONGTEXT"))
            if (const auto m = sizeRx.match(u); m.hasMatch()) c.size = m.captured(1).toInt();
    } else if (has("YESNO") || has("BOOL") || has("BIT")) {
        c.kind = ColumnKind::Boolean;
    } else if (has("CURRENCY") || has("MONEY")) {
        c.kind = ColumnKind::Currency;
    } else if (has("DATE") || has("TIME")) {
        c.kind = ColumnKind::Date;
    } else if (has("DOUB") || has("REAL") || has("FLOA") || has("SINGLE") || has("NUMERIC") ||
               has("DECIMAL")) {
        c.kind = ColumnKind::Double;
    } else if (has("SHORT") || has("SMALLINT")) {
        c.kind = ColumnKind::Integer;
        c.bits = 16;
    } else if (has("LONG")) {
        c.kind = ColumnKind::Integer;
        c.bits = 32;
    } else if (has("INT") || has("COUNTER")) {
        c.kind = ColumnKind::Integer;
    }
    c.defaultValue = Value::null();
    return c;
}

ColumnKind kindFromStorage(int sqliteType) {
    switch (sqliteType) {
    case SQLITE_INTEGER:
        return ColumnKind::Integer;
    case SQLITE_FLOAT:
        return ColumnKind::Double;
    case SQLITE_NULL:
        return ColumnKind::Unknown;
    default:
        return ColumnKind::Text;
    }
}

QString storedDate(const QDateTime& dt) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second());
}

QString sqlLiteral(const Value& stored) {
    switch (stored.kind()) {
    case Value::Kind::Null:
    case Value::Kind::Empty:
        return QStringLiteral("NULL");
    case Value::Kind::Integer:
        return QString::number(stored.toLongLong());
    case Value::Kind::Double:
        return QString::number(stored.toDouble(), 'g', 17);
    default:
        return sqlQuoteText(stored.toString());
    }
}

Value toStored(const Value& value, const ColumnInfo& column) {
    if (value.isNull()) return value;
    switch (column.kind) {
    case ColumnKind::Text: {
        QString s = value.toString();
        if (column.size > 0 && s.size() > column.size)
            throw DbError(DbErr::FieldTooSmall,
                          QStringLiteral("The field is too small to accept the amount of "
                                         "data you attempted to add."));
        return Value(s);
    }
    case ColumnKind::Unknown:
        switch (value.kind()) {
        case Value::Kind::Empty:
            return Value::null();
        case Value::Kind::Boolean:
            return Value(qint64(value.toBool() ? 1 : 0));
        case Value::Kind::Currency:
            return Value(value.currencyScaled());
        case Value::Kind::Date:
            return Value(storedDate(value.toDateTime()));
        default:
            return value;
        }
    default:
        break;
    }
    if (value.isEmpty()) return Value::null();
    switch (column.kind) {
    case ColumnKind::Boolean:
        return Value(qint64(value.toBool() ? 1 : 0));
    case ColumnKind::Integer: {
        const qint64 n = value.toLongLong();
        if (column.bits < 64) {
            const qint64 limit = qint64(1) << (column.bits - 1);
            if (n < -limit || n >= limit)
                throw DbError(DbErr::NumericOverflow, QStringLiteral("Numeric field overflow."));
        }
        return Value(n);
    }
    case ColumnKind::Currency:
        return Value(value.currencyScaled());
    case ColumnKind::Double:
        return Value(value.toDouble());
    case ColumnKind::Date:
        return Value(storedDate(value.toDateTime()));
    default:
        return value;
    }
}

Value fromStored(const Value& stored, ColumnKind kind) {
    using K = Value::Kind;
    const K k = stored.kind();
    if (k == K::Null || k == K::Empty) return Value::null();
    const bool number = k == K::Integer || k == K::Double;
    switch (kind) {
    case ColumnKind::Boolean:
        if (number) return Value(stored.toDouble() != 0.0);
        break;
    case ColumnKind::Currency:
        if (k == K::Integer) return Value::currencyFromScaled(stored.toLongLong());
        if (k == K::Double) return Value::currencyFromScaled(std::llround(stored.toDouble()));
        break;
    case ColumnKind::Double:
        if (number) return Value(stored.toDouble());
        break;
    case ColumnKind::Date:
        if (number) return Value::fromDayNumber(stored.toDouble());
        if (k == K::Text)
            if (const auto day = Value::parseDayNumber(stored.toString())) return Value::fromDayNumber(*day);
        break;
    case ColumnKind::Text:
        if (number) return Value(stored.toString());
        break;
    case ColumnKind::Integer:
    case ColumnKind::Unknown:
        break;
    }
    return stored;
}

// ---------------------------------------------------------------------------------------------------------

Connection::Connection(const QString& path, bool create) : m_path(path) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    try {
        if (rc != SQLITE_OK) throwSqlite(m_db, rc, DbOp::Open, path);
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, BusyTimeoutMs);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        // The find index's triggers fold texts with the program's own function.
        find_RegisterSqlFunctions(m_db);
        // The connection stays open for the whole session and nothing else writes the file meanwhile, so
        // pages read once stay valid: a page cache of up to 32 MB keeps the long lists (the picker, the
        // case lookup) from reading the file again each time.
        sqlite3_exec(m_db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
        // Reading the schema proves that the file is a database and that it can be read now.
        Stmt check(*this, QStringLiteral("SELECT count(*) FROM sqlite_master"), DbOp::Open);
        check.step();
    } catch (...) {
        close();
        throw;
    }
    struct stat st {};
    if (::stat(path.toLocal8Bit().constData(), &st) == 0) {
        m_device = st.st_dev;
        m_inode = st.st_ino;
    }
}

Connection::~Connection() {
    close();
}

sqlite3* Connection::handle() const {
    if (!m_db) throw DbError(DbErr::ObjectInvalid, QStringLiteral("Object invalid or no longer set."));
    return m_db;
}

void Connection::close() {
    for (sqlite3_stmt* s : std::as_const(m_statements))
        sqlite3_finalize(s);
    m_statements.clear();
    m_tables.clear();
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
    transactionDepth = 0;
    if (lockFd >= 0) ::flock(lockFd, LOCK_UN);
    lockFd = -1;
}

void Connection::updateStatistics(bool everything) noexcept {
    if (!m_db || transactionDepth > 0 || !sqlite3_get_autocommit(m_db)) return;
    // Only into the file this connection opened, never into another one put in its place since.
    struct stat st {};
    if (::stat(m_path.toLocal8Bit().constData(), &st) != 0 || st.st_dev != m_device || st.st_ino != m_inode)
        return;
    const char* sql = everything ? "PRAGMA analysis_limit = 1000; ANALYZE"
                                 : "PRAGMA analysis_limit = 1000; PRAGMA optimize";
    sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

sqlite3_stmt* Connection::acquire(const QString& sql, DbOp op, bool& owned) {
    sqlite3* db = handle();
    const auto it = m_statements.constFind(sql);
    if (it != m_statements.cend() && !sqlite3_stmt_busy(*it)) {
        owned = false;
        return *it;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
    if (rc != SQLITE_OK) throwSqlite(db, rc, op, m_path);
    const QByteArray rest = QByteArray(tail).trimmed();
    if (!stmt || (!rest.isEmpty() && rest != ";")) {
        sqlite3_finalize(stmt);
        throw DbError(DbErr::SqlSyntax,
                      stmt ? QStringLiteral("Characters found after end of SQL statement.")
                           : QStringLiteral("Syntax error in SQL statement (empty statement)."));
    }
    if (it != m_statements.cend()) {
        owned = true;
        return stmt;
    }
    if (m_statements.size() >= StatementCacheLimit) {
        for (auto i = m_statements.begin(); i != m_statements.end();) {
            if (sqlite3_stmt_busy(*i)) {
                ++i;
            } else {
                sqlite3_finalize(*i);
                i = m_statements.erase(i);
            }
        }
    }
    m_statements.insert(sql, stmt);
    owned = false;
    return stmt;
}

void Connection::exec(const QString& sql, DbOp op) {
    const QByteArray utf8 = sql.toUtf8();
    char* error = nullptr;
    const int rc = sqlite3_exec(handle(), utf8.constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK) throwSqlite(m_db, rc, op, m_path);
}

void Connection::invalidateSchema() {
    m_tables.clear();
}

std::shared_ptr<const TableInfo> Connection::table(const QString& name) {
    const QString key = name.toLower();
    if (const auto it = m_tables.constFind(key); it != m_tables.cend()) return *it;

    auto info = std::make_shared<TableInfo>();
    {
        Stmt s(*this,
               QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE type IN ('table', 'view') "
                              "AND name = ?1 COLLATE NOCASE"),
               DbOp::Open);
        s.bind(1, Value(name));
        if (!s.step()) return nullptr;
        info->isView = s.stored(0).toString() == QLatin1String("view");
        info->name = s.stored(1).toString();
        info->sql = s.stored(2).toString();
    }
    info->autoIncrement = info->sql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
    int pkCount = 0;
    int pkColumn = -1;
    {
        Stmt s(*this, QStringLiteral("SELECT name, type, dflt_value, pk FROM pragma_table_info(?1)"),
               DbOp::Open);
        s.bind(1, Value(info->name));
        while (s.step()) {
            ColumnInfo c = columnFromDecl(s.stored(0).toString(), s.stored(1).toString());
            const Value dflt = s.stored(2);
            if (!dflt.isNull()) {
                const QString text = dflt.toString();
                Value stored = Value::null();
                if (text.startsWith(u'\''))
                    stored = Value(
                        text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
                else if (const auto d = Value::parseNumber(text))
                    stored = (*d == std::trunc(*d) && std::fabs(*d) < 9e15) ? Value(qint64(*d)) : Value(*d);
                c.defaultValue = fromStored(stored, c.kind);
            }
            if (s.stored(3).toLongLong() > 0) {
                ++pkCount;
                pkColumn = int(info->columns.size());
            }
            info->byName.insert(c.name.toLower(), int(info->columns.size()));
            info->columns.append(c);
        }
    }
    if (pkCount == 1) {
        info->primaryKeyColumn = pkColumn;
        if (info->columns[pkColumn].declType.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0 &&
            !info->isView)
            info->rowidColumn = pkColumn;
    }
    if (!info->isView) {
        Stmt s(*this,
               QStringLiteral("SELECT il.name, ii.name FROM pragma_index_list(?1) AS il "
                              "JOIN pragma_index_info(il.name) AS ii WHERE ii.seqno = 0"),
               DbOp::Open);
        s.bind(1, Value(info->name));
        while (s.step())
            info->indexes.append({s.stored(0).toString(), s.stored(1).toString()});
    }
    m_tables.insert(key, info);
    return info;
}

std::shared_ptr<const TableInfo> Connection::requireTable(const QString& name) {
    if (auto t = table(name)) return t;
    throw DbError(DbErr::TableNotFound,
                  QStringLiteral("The database engine cannot find the input table or query "
                                 "'%1'. Make sure it exists and that its name is spelled "
                                 "correctly.")
                      .arg(name));
}

// ---------------------------------------------------------------------------------------------------------

Stmt::Stmt(Connection& connection, const QString& sql, DbOp op) : m_connection(connection), m_op(op) {
    m_stmt = connection.acquire(sql, op, m_owned);
}

Stmt::~Stmt() {
    if (m_owned) {
        sqlite3_finalize(m_stmt);
    } else {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

void Stmt::bind(int index, const Value& stored) {
    switch (stored.kind()) {
    case Value::Kind::Empty:
    case Value::Kind::Null:
        sqlite3_bind_null(m_stmt, index);
        break;
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
        sqlite3_bind_int64(m_stmt, index, stored.toLongLong());
        break;
    case Value::Kind::Double:
        sqlite3_bind_double(m_stmt, index, stored.toDouble());
        break;
    default: {
        const QByteArray utf8 = stored.toString().toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

bool Stmt::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwSqlite(sqlite3_db_handle(m_stmt), rc, m_op, m_connection.path());
}

void Stmt::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

Value Stmt::stored(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return Value::null();
    case SQLITE_INTEGER:
        return Value(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(m_stmt, column));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return Value(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    }
}

Value Stmt::logical(int column, ColumnKind kind) const {
    const int type = sqlite3_column_type(m_stmt, column);
    if (type == SQLITE_INTEGER) {
        const qint64 n = sqlite3_column_int64(m_stmt, column);
        switch (kind) {
        case ColumnKind::Integer:
        case ColumnKind::Unknown:
            return Value(n);
        case ColumnKind::Boolean:
            return Value(n != 0);
        case ColumnKind::Currency:
            return Value::currencyFromScaled(n);
        default:
            break;
        }
    }
    return fromStored(stored(column), kind);
}
