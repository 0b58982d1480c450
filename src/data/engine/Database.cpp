#include "data/engine/Database.h"

#include "core/AppError.h"
#include "data/engine/Connection.h"
#include "data/engine/Dialect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The process-wide state: cached connections, and the descriptors that carry advisory (flock) holds on
// database files. A descriptor is never closed while the program runs: closing any descriptor of a file
// would also drop the locks SQLite holds on it in this process. Holds are given up with LOCK_UN instead.
struct Registry {
    QHash<QString, std::shared_ptr<Connection>> connections;
    QHash<QString, int> sharedFds;    // one per file, for holdSharedLock
    QSet<QString> sharedHeld;         // files whose shared descriptor currently holds LOCK_SH
    QHash<QString, int> exclusiveFds; // one per file, for openExclusive
    QHash<QString, std::weak_ptr<Connection>> exclusiveOwners; // the Database holding each exclusive lock
};

Registry& registry() {
    static Registry r;
    return r;
}

QString normalizedPath(const QString& path) {
    if (path.trimmed().isEmpty())
        throw DbError(DbErr::FileNotFound, QStringLiteral("Could not find file ''."));
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void throwPathNotFound(const QString& path) {
    throw DbError(DbErr::PathNotFound,
                  QStringLiteral("'%1' is not a valid path. Make sure that the path name is "
                                 "spelled correctly and that the folder exists.")
                      .arg(path));
}

// 3044 for a missing folder, 3024 for a missing file, 3343 for something that cannot be a database.
void checkExistingFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.dir().exists()) throwPathNotFound(path);
    if (!info.exists() || info.isDir())
        throw DbError(DbErr::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (info.size() == 0)
        throw DbError(DbErr::UnrecognizedFormat,
                      QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

[[noreturn]] void throwInUse(const QString& path) {
    throw DbError(DbErr::FileInUse, QStringLiteral("Could not use '%1'; file already in use.").arg(path));
}

// The pooled descriptor of a file; replaced when the file itself has been replaced.
int lockDescriptor(QHash<QString, int>& pool, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat onDisk {};
    if (::stat(name.constData(), &onDisk) != 0) checkExistingFile(path);
    if (const auto it = pool.constFind(path); it != pool.cend()) {
        struct stat held {};
        if (::fstat(*it, &held) == 0 && held.st_dev == onDisk.st_dev && held.st_ino == onDisk.st_ino)
            return *it;
        ::close(*it);
        pool.remove(path);
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        checkExistingFile(path);
        throw DbError(DbErr::FileInUse,
                      QStringLiteral("Could not use '%1'; the file cannot be opened.").arg(path));
    }
    pool.insert(path, fd);
    return fd;
}

QString declaredType(const FieldDef& f) {
    switch (f.type) {
    case FieldType::Boolean:
        return QStringLiteral("YESNO");
    case FieldType::Integer:
        return QStringLiteral("SHORT");
    case FieldType::Long:
        return QStringLiteral("LONG");
    case FieldType::Currency:
        return QStringLiteral("CURRENCY");
    case FieldType::Single:
        return QStringLiteral("SINGLE");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Date:
        return QStringLiteral("DATETIME");
    case FieldType::Text:
        if (f.size < 0 || f.size > 255) break;
        return QStringLiteral("TEXT(%1) COLLATE NOCASE").arg(f.size == 0 ? 255 : f.size);
    case FieldType::Memo:
        return QStringLiteral("LONGTEXT COLLATE NOCASE");
    default:
        break;
    }
    throw DbError(DbErr::InvalidFieldType,
                  QStringLiteral("Invalid field data type for field '%1'.").arg(f.name));
}

// The column definition of a field other than the key.
QString columnDefinition(const FieldDef& f) {
    if (f.name.trimmed().isEmpty())
        throw DbError(DbErr::InvalidOperation, QStringLiteral("Invalid operation: a field needs a name."));
    if (f.autoIncrement)
        throw DbError(
            DbErr::InvalidOperation,
            QStringLiteral("Invalid operation: only the key field can number itself ('%1').").arg(f.name));
    const QString decl = declaredType(f);
    QString sql = sqlQuoteName(f.name) + u' ' + decl;
    if (f.defaultValue)
        sql +=
            QStringLiteral(" DEFAULT ") + sqlLiteral(toStored(*f.defaultValue, columnFromDecl(f.name, decl)));
    if (!f.allowZeroLength && (f.type == FieldType::Text || f.type == FieldType::Memo))
        sql += QStringLiteral(" CONSTRAINT %1 CHECK (%1 <> '')").arg(sqlQuoteName(f.name));
    return sql;
}

bool isWord(const QString& sql, const char* word) {
    const QString w = QLatin1String(word);
    return sql.startsWith(w, Qt::CaseInsensitive) &&
           (sql.size() == w.size() || !sql[w.size()].isLetterOrNumber());
}

} // namespace

Database::Database() = default;
Database::Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}

Connection& Database::connection() const {
    if (!m_connection)
        throw DbError(DbErr::ObjectInvalid, QStringLiteral("Object invalid or no longer set."));
    m_connection->handle();
    return *m_connection;
}

Database Database::open(const QString& path) {
    const QString key = normalizedPath(path);
    Registry& r = registry();
    struct stat st {};
    if (::stat(QFile::encodeName(key).constData(), &st) != 0) checkExistingFile(key);
    if (const auto it = r.connections.constFind(key); it != r.connections.cend()) {
        const std::shared_ptr<Connection> c = *it;
        if (c->isOpen() && c->device() == st.st_dev && c->inode() == st.st_ino) return Database(c);
        c->close(); // the file has been replaced since
        r.connections.remove(key);
    }
    checkExistingFile(key);
    auto c = std::make_shared<Connection>(key, false);
    r.connections.insert(key, c);
    return Database(c);
}

Database Database::openExclusive(const QString& path) {
    const QString key = normalizedPath(path);
    checkExistingFile(key);
    Registry& r = registry();
    if (const auto owner = r.exclusiveOwners.value(key).lock(); owner && owner->isOpen())
        throwInUse(key); // this program holds it already
    const int fd = lockDescriptor(r.exclusiveFds, key);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) throwInUse(key);
    std::shared_ptr<Connection> c;
    try {
        c = std::make_shared<Connection>(key, false);
    } catch (...) {
        ::flock(fd, LOCK_UN);
        throw;
    }
    c->lockFd = fd;
    r.exclusiveOwners.insert(key, c);
    return Database(c);
}

Database Database::create(const QString& path) {
    const QString key = normalizedPath(path);
    const QFileInfo info(key);
    if (!info.dir().exists()) throwPathNotFound(key);
    if (info.exists())
        throw DbError(DbErr::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(key));
    auto c = std::make_shared<Connection>(key, true);
    // Writes the file header, so that the new file is a database even before it has a table.
    c->exec(QStringLiteral("PRAGMA application_id = 1145981261"), DbOp::Schema);
    Registry& r = registry();
    if (const auto old = r.connections.take(key)) old->close();
    r.connections.insert(key, c);
    return Database(c);
}

void Database::holdSharedLock(const QString& path) {
    const QString key = normalizedPath(path);
    Registry& r = registry();
    checkExistingFile(key);
    const int fd = lockDescriptor(r.sharedFds, key);
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) throwInUse(key);
    r.sharedHeld.insert(key);
}

void Database::release(const QString& path) {
    const QString key = normalizedPath(path);
    Registry& r = registry();
    if (const auto c = r.connections.take(key)) {
        c->updateStatistics(false);
        c->close();
    }
    if (r.sharedHeld.remove(key)) ::flock(r.sharedFds.value(key), LOCK_UN);
}

void Database::releaseAll() {
    Registry& r = registry();
    for (const auto& c : std::as_const(r.connections)) {
        c->updateStatistics(false);
        c->close();
    }
    r.connections.clear();
    for (const QString& key : std::as_const(r.sharedHeld))
        ::flock(r.sharedFds.value(key), LOCK_UN);
    r.sharedHeld.clear();
}

namespace {
// The engine's own check of every page and record of the file (without the slower index checks).
void checkIntact(Connection& conn) {
    Stmt check(conn, QStringLiteral("PRAGMA quick_check"), DbOp::Open);
    if (!check.step() || check.stored(0).toString() != QLatin1String("ok"))
        throw DbError(DbErr::UnrecognizedFormat,
                      QStringLiteral("Unrecognized database format '%1'.").arg(conn.path()));
}
} // namespace

void Database::checkIntegrity(const QString& path) {
    const QString file = normalizedPath(path);
    checkExistingFile(file);
    Connection conn(file, false);
    checkIntact(conn);
}

void Database::compactDatabase(const QString& source, const QString& newFile) {
    const QString from = normalizedPath(source);
    const QString to = normalizedPath(newFile);
    checkExistingFile(from);
    const QFileInfo target(to);
    if (!target.dir().exists()) throwPathNotFound(to);
    if (target.exists())
        throw DbError(DbErr::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(to));

    Database db = openExclusive(from);
    Connection& c = db.connection();
    checkIntact(c);
    try {
        Stmt vacuum(c, QStringLiteral("VACUUM INTO ?1"), DbOp::Open);
        vacuum.bind(1, Value(to));
        vacuum.step();
    } catch (...) {
        QFile::remove(to);
        throw;
    }
    db.close();
    try {
        Connection copy(to, false);
        checkIntact(copy);
        copy.updateStatistics(true); // the new file starts with the statistics its queries need
    } catch (...) {
        QFile::remove(to);
        throw;
    }
}

bool Database::isOpen() const {
    return m_connection && m_connection->isOpen();
}
QString Database::path() const {
    return m_connection ? m_connection->path() : QString();
}

void Database::close() {
    if (m_connection && m_connection->lockFd >= 0) m_connection->close();
    m_connection.reset();
}

Recordset Database::openTable(const QString& table) {
    connection();
    return Recordset::openTable(m_connection, table);
}

Recordset Database::openDynaset(const QString& sourceOrSql) {
    connection();
    return Recordset::openDynaset(m_connection, sourceOrSql);
}

struct RowReader::Impl {
    const Stmt& stmt;
    QVector<ColumnKind> kinds; // by the declared type; Unknown for an expression
};

int RowReader::columnCount() const { return int(d.kinds.size()); }

bool RowReader::isNull(int column) const { return sqlite3_column_type(d.stmt.get(), column) == SQLITE_NULL; }

qint64 RowReader::integer(int column) const { return sqlite3_column_int64(d.stmt.get(), column); }

QString RowReader::text(int column) const {
    sqlite3_stmt* s = d.stmt.get();
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return utf8 ? QString::fromUtf8(utf8, sqlite3_column_bytes(s, column)) : QString();
}

QByteArrayView RowReader::utf8(int column) const {
    sqlite3_stmt* s = d.stmt.get();
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(s, column)) : QByteArrayView();
}

namespace {

// The number written in t[from, from + count), or -1 when a character there is not a digit.
int digitsAt(QByteArrayView t, qsizetype from, qsizetype count) {
    int n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (t[i] < '0' || t[i] > '9') return -1;
        n = n * 10 + (t[i] - '0');
    }
    return n;
}

// The stored date form 'YYYY-MM-DD...' holding a real date.
bool startsWithStoredDate(QByteArrayView t) {
    return t.size() >= 10 && t[4] == '-' && t[7] == '-' &&
           QDate::isValid(digitsAt(t, 0, 4), digitsAt(t, 5, 2), digitsAt(t, 8, 2));
}

} // namespace

QByteArrayView RowReader::storedDateTime(int column) const {
    if (sqlite3_column_type(d.stmt.get(), column) != SQLITE_TEXT) return {};
    const QByteArrayView t = utf8(column);
    if (t.size() != 19 || !startsWithStoredDate(t) || t[10] != ' ' || t[13] != ':' || t[16] != ':' ||
        !QTime::isValid(digitsAt(t, 11, 2), digitsAt(t, 14, 2), digitsAt(t, 17, 2)))
        return {};
    return t;
}

QDate RowReader::date(int column) const {
    if (isNull(column)) return QDate();
    // The stored form 'YYYY-MM-DD HH:MM:SS'; anything else goes the long way.
    const QByteArrayView t = sqlite3_column_type(d.stmt.get(), column) == SQLITE_TEXT ? utf8(column) : QByteArrayView();
    if (startsWithStoredDate(t)) return QDate(digitsAt(t, 0, 4), digitsAt(t, 5, 2), digitsAt(t, 8, 2));
    const Value v = value(column);
    return v.isNull() || v.isEmpty() ? QDate() : v.toDate();
}

Value RowReader::value(int column) const {
    ColumnKind kind = d.kinds[column];
    if (kind == ColumnKind::Unknown) kind = kindFromStorage(sqlite3_column_type(d.stmt.get(), column));
    return d.stmt.logical(column, kind);
}

bool RowReader::isTextColumn(int column) const { return d.kinds[column] == ColumnKind::Text; }

Value::Kind RowReader::declaredKind(int column) const {
    switch (d.kinds[column]) {
    case ColumnKind::Boolean: return Value::Kind::Boolean;
    case ColumnKind::Integer: return Value::Kind::Integer;
    case ColumnKind::Currency: return Value::Kind::Currency;
    case ColumnKind::Double: return Value::Kind::Double;
    case ColumnKind::Date: return Value::Kind::Date;
    case ColumnKind::Text: return Value::Kind::Text;
    case ColumnKind::Unknown: break;
    }
    return Value::Kind::Empty;
}

bool RowReader::holdsInteger(int column) const {
    return sqlite3_column_type(d.stmt.get(), column) == SQLITE_INTEGER;
}

void Database::readRows(const QString& sql, const std::function<void(const RowReader&)>& row) {
    readRows(sql, {}, row);
}

void Database::readRows(const QString& sql, const QList<Value>& parameters,
                        const std::function<void(const RowReader&)>& row) {
    Connection& c = connection();
    Stmt s(c, translateSql(sql), DbOp::Open);
    for (int i = 0; i < parameters.size(); ++i)
        s.bind(i + 1, parameters[i]);
    RowReader::Impl impl{s, {}};
    for (int column = 0; column < s.columnCount(); ++column) {
        const char* decl = sqlite3_column_decltype(s.get(), column);
        impl.kinds.append(
            columnFromDecl(QString(), decl ? QString::fromUtf8(decl) : QString()).kind);
    }
    const RowReader reader(impl);
    while (s.step()) row(reader);
}

int Database::execute(const QString& sql, bool failOnError) {
    Connection& c = connection();
    QString statement = translateSql(sql).trimmed();
    if (!failOnError) {
        if (isWord(statement, "INSERT"))
            statement.insert(6, QStringLiteral(" OR IGNORE"));
        else if (isWord(statement, "UPDATE"))
            statement.insert(6, QStringLiteral(" OR IGNORE"));
    }
    if (isWord(statement, "SELECT")) throw DbError(3065, QStringLiteral("Cannot execute a select query."));
    const bool dml =
        isWord(statement, "INSERT") || isWord(statement, "UPDATE") || isWord(statement, "DELETE");
    // SQLite undoes a failing statement as a whole, so no partial change can remain in either mode.
    Stmt s(c, statement, dml ? DbOp::BulkWrite : DbOp::Schema);
    s.step();
    if (!dml) c.invalidateSchema();
    return dml ? sqlite3_changes(c.handle()) : 0;
}

bool Database::tableExists(const QString& name) {
    const auto t = connection().table(name);
    return t && !t->isView;
}

bool Database::queryExists(const QString& name) {
    const auto t = connection().table(name);
    return t && t->isView;
}

QStringList Database::fieldNames(const QString& table) {
    QStringList names;
    for (const ColumnInfo& c : connection().requireTable(table)->columns)
        names.append(c.name);
    return names;
}

void Database::createTable(const QString& name, const QList<FieldDef>& fields, const QString& keyField) {
    Connection& c = connection();
    if (c.table(name)) throw DbError(3010, QStringLiteral("Table '%1' already exists.").arg(name));
    QStringList columns;
    bool keyFound = keyField.isEmpty();
    for (const FieldDef& f : fields) {
        if (!keyField.isEmpty() && f.name.compare(keyField, Qt::CaseInsensitive) == 0) {
            keyFound = true;
            if (f.autoIncrement || f.type == FieldType::Long || f.type == FieldType::Integer)
                columns.append(sqlQuoteName(f.name) + QStringLiteral(" INTEGER PRIMARY KEY") +
                               (f.autoIncrement ? QStringLiteral(" AUTOINCREMENT") : QString()));
            else
                columns.append(sqlQuoteName(f.name) + u' ' + declaredType(f) +
                               QStringLiteral(" PRIMARY KEY"));
        } else {
            columns.append(columnDefinition(f));
        }
    }
    if (!keyFound) throwItemNotFound(keyField);
    if (columns.isEmpty())
        throw DbError(DbErr::InvalidOperation, QStringLiteral("Invalid operation: a table needs a field."));
    c.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlQuoteName(name), columns.join(QStringLiteral(", "))),
           DbOp::Schema);
    c.invalidateSchema();
}

void Database::createIndex(const QString& indexName, const QString& table, const QString& column,
                           bool unique) {
    Connection& c = connection();
    const auto t = c.requireTable(table);
    const int col = t->column(column);
    if (col < 0) throwItemNotFound(column);
    c.exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
               .arg(unique ? QStringLiteral("UNIQUE ") : QString(), sqlQuoteName(t->name + u'_' + indexName),
                    sqlQuoteName(t->name), sqlQuoteName(t->columns[col].name)),
           DbOp::Schema);
    c.invalidateSchema();
}

void Database::appendField(const QString& table, const FieldDef& field) {
    Connection& c = connection();
    const auto t = c.requireTable(table);
    if (t->isView)
        throw DbError(DbErr::InvalidOperation,
                      QStringLiteral("Invalid operation: '%1' is a query.").arg(table));
    c.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(sqlQuoteName(t->name), columnDefinition(field)),
           DbOp::Schema);
    c.invalidateSchema();
}

void Database::renameField(const QString& table, const QString& oldName, const QString& newName) {
    Connection& c = connection();
    const auto t = c.table(table);
    if (!t || t->isView) throwItemNotFound(table);
    const int col = t->column(oldName);
    if (col < 0) throwItemNotFound(oldName);
    if (newName.trimmed().isEmpty())
        throw DbError(DbErr::InvalidOperation, QStringLiteral("Invalid operation: a field needs a name."));
    c.exec(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
               .arg(sqlQuoteName(t->name), sqlQuoteName(t->columns[col].name), sqlQuoteName(newName)),
           DbOp::Schema);
    c.invalidateSchema();
}

void Database::createQuery(const QString& name, const QString& classicSql) {
    Connection& c = connection();
    if (c.table(name))
        throw DbError(DbErr::ObjectExists, QStringLiteral("Object '%1' already exists.").arg(name));
    QString select = translateSql(classicSql).trimmed();
    while (select.endsWith(u';'))
        select.chop(1);
    c.exec(QStringLiteral("SAVEPOINT dunmark_query"), DbOp::Schema);
    try {
        c.exec(QStringLiteral("CREATE VIEW %1 AS %2").arg(sqlQuoteName(name), select), DbOp::Schema);
        // Preparing a read of the view proves that its tables and fields exist.
        Stmt check(c, QStringLiteral("SELECT * FROM %1").arg(sqlQuoteName(name)), DbOp::Open);
    } catch (...) {
        c.exec(QStringLiteral("ROLLBACK TO dunmark_query; RELEASE dunmark_query"), DbOp::Schema);
        c.invalidateSchema();
        throw;
    }
    c.exec(QStringLiteral("RELEASE dunmark_query"), DbOp::Schema);
    c.invalidateSchema();
}

void Database::deleteQuery(const QString& name) {
    Connection& c = connection();
    const auto t = c.table(name);
    if (!t || !t->isView) throwItemNotFound(name);
    c.exec(QStringLiteral("DROP VIEW %1").arg(sqlQuoteName(t->name)), DbOp::Schema);
    c.invalidateSchema();
}

void Database::beginTrans() {
    Connection& c = connection();
    c.exec(c.transactionDepth == 0 ? QStringLiteral("BEGIN")
                                   : QStringLiteral("SAVEPOINT dunmark_%1").arg(c.transactionDepth),
           DbOp::Schema);
    ++c.transactionDepth;
}

void Database::commitTrans() {
    Connection& c = connection();
    if (c.transactionDepth == 0)
        throw DbError(DbErr::NotInTransaction,
                      QStringLiteral("You tried to commit or roll back a transaction "
                                     "without first beginning a transaction."));
    const int level = c.transactionDepth - 1;
    c.exec(level == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE dunmark_%1").arg(level),
           DbOp::Schema);
    c.transactionDepth = level;
}

void Database::rollback() {
    Connection& c = connection();
    if (c.transactionDepth == 0)
        throw DbError(DbErr::NotInTransaction,
                      QStringLiteral("You tried to commit or roll back a transaction "
                                     "without first beginning a transaction."));
    const int level = c.transactionDepth - 1;
    c.exec(level == 0 ? QStringLiteral("ROLLBACK")
                      : QStringLiteral("ROLLBACK TO dunmark_%1; RELEASE dunmark_%1").arg(level),
           DbOp::Schema);
    c.transactionDepth = level;
    c.invalidateSchema();
}
