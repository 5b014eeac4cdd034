#pragma once

#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Firebird {
class IMaster;
class IUtil;
class IProvider;
class IAttachment;
class ITransaction;
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird

namespace velmora::db {

// The one exception type of the database layer: Firebird's own message text and its first
// error code.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& text, long code = 0);
    const QString& text() const { return m_text; }
    long code() const { return m_code; }

private:
    QString m_text;
    long m_code;
};

// The Firebird client library, loaded at run time: the installation folder's own copy when
// there is one, else the system's. The embedded engine needs a lock folder the user can write;
// `load` gives the process one before the library starts.
class Client {
public:
    static std::shared_ptr<Client> load(const QString& libraryPath = QString());
    // Sets FIREBIRD_LOCK when the engine's default lock folder is not writable for this user.
    static void prepareLockFolder();

    Firebird::IMaster* master() const { return m_master; }
    Firebird::IUtil* util() const { return m_util; }
    Firebird::IProvider* provider() const { return m_provider; }
    const QString& libraryPath() const { return m_path; }

private:
    Client() = default;
    QString m_path;
    void* m_handle = nullptr;
    Firebird::IMaster* m_master = nullptr;
    Firebird::IUtil* m_util = nullptr;
    Firebird::IProvider* m_provider = nullptr;
};

struct ConnectOptions {
    QString clientLibrary;  // empty: the system's client library
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("brovulent");
    QString charset = QStringLiteral("WIN1252");
    int dialect = 1;
};

class Statement;

// One attachment and its single transaction, started when the connection opens. Closing the
// connection commits. Statements prepared on it are released when it closes and prepared
// again when they are next used on the reopened connection.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Creates a new database file (SQL dialect of the options, forced writes on) and leaves
    // this connection open on it.
    void create(const QString& path, const ConnectOptions& options = {}, int pageSize = 8192);
    void open(const QString& path, const ConnectOptions& options = {});
    // Ends the transaction (commit or rollback) and detaches. Safe to call when closed.
    void close(bool commit = true);
    bool isOpen() const { return m_attachment != nullptr; }
    const QString& path() const { return m_path; }
    int dialect() const { return m_options.dialect; }

    // Makes the work so far durable and keeps the transaction and its cursors open.
    void commitRetaining();
    // Ends the transaction and starts a new one.
    void commit();
    void rollback();

    // Runs a statement without parameters or result (DDL and the like).
    void executeImmediate(const QString& sql);
    // The SQL dialect recorded in the database file.
    int databaseDialect();
    // Whether a table exists, asked from the system tables.
    bool tableExists(const QString& table);

    // For the statements of this connection.
    Firebird::IAttachment* attachment() const { return m_attachment; }
    Firebird::ITransaction* transaction() const { return m_transaction; }
    const std::shared_ptr<Client>& client() const { return m_client; }
    unsigned generation() const { return m_generation; }
    void registerStatement(Statement* statement) { m_statements.insert(statement); }
    void unregisterStatement(Statement* statement) { m_statements.erase(statement); }

private:
    void attach(const QString& path, const ConnectOptions& options, bool createNew, int pageSize);
    void startTransaction();
    void releaseStatements();

    std::shared_ptr<Client> m_client;
    Firebird::IAttachment* m_attachment = nullptr;
    Firebird::ITransaction* m_transaction = nullptr;
    ConnectOptions m_options;
    QString m_path;
    unsigned m_generation = 0;
    std::set<Statement*> m_statements;
};

// A statement with a fixed text and named parameters (":Name"). The same name twice takes the
// same value; text inside quotes is left alone. It is prepared once, the first time it runs,
// and executed again with new values. A select is read row by row with open()/next(): rows
// are fetched on demand, never all at once. A null QVariant is SQL NULL both ways.
class Statement {
public:
    Statement(Connection& connection, QString sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QString& sql() const { return m_sql; }
    // The distinct parameter names, in order of first appearance.
    const QStringList& parameterNames() const { return m_names; }

    void prepare();
    void set(const QString& name, const QVariant& value);
    void clearParameters();

    // Runs a statement that returns no rows or exactly one (EXECUTE PROCEDURE, a singleton
    // select, an INSERT ... RETURNING); that row is then read with value().
    void execute();
    // Opens the cursor of a select; then next() fetches one row at a time.
    void open();
    bool next();
    void closeCursor();
    bool isCursorOpen() const { return m_cursor != nullptr; }
    // Convenience: open, fetch the first row; false when there is none.
    bool first();

    int columnCount();
    QString columnName(int index);
    int columnIndex(const QString& name);  // -1 when absent
    QVariant value(int index) const;
    QVariant value(const QString& name) const;
    QVariant value(const char* name) const { return value(QString::fromLatin1(name)); }
    bool isNull(int index) const;
    // Number of rows the last execute() changed (insert, update, delete).
    qint64 affectedRows();

    // Called by the connection when it closes.
    void release();

private:
    struct Column {
        QString name;
        unsigned type = 0;
        int subType = 0;
        int scale = 0;
        unsigned length = 0;
        unsigned offset = 0;
        unsigned nullOffset = 0;
        unsigned charset = 0;
    };
    void ensurePrepared();
    void bindInput();
    void buildInputMetadata();
    QVariant readColumn(const Column& column, const unsigned char* buffer) const;
    QByteArray readBlob(const unsigned char* blobId) const;
    void writeBlob(const QByteArray& data, unsigned char* blobId);

    Connection& m_connection;
    QString m_sql;
    QByteArray m_positionalSql;
    QStringList m_names;
    std::vector<int> m_slotToName;   // parameter position -> index into m_names
    std::vector<QVariant> m_values;  // by name index

    unsigned m_generation = 0;
    Firebird::IStatement* m_statement = nullptr;
    Firebird::IResultSet* m_cursor = nullptr;
    Firebird::IMessageMetadata* m_inMeta = nullptr;
    Firebird::IMessageMetadata* m_outMeta = nullptr;
    std::vector<Column> m_inColumns;
    std::vector<unsigned> m_inDeclaredType;
    std::vector<unsigned> m_inCapacity;  // byte length of each string slot in the message
    std::vector<Column> m_outColumns;
    std::vector<unsigned char> m_inBuffer;
    std::vector<unsigned char> m_outBuffer;
    bool m_hasRow = false;
};

// Splits ":Name" parameters out of a statement text: returns the text with "?" in their place
// and the names in order of position.
QByteArray positionalSql(const QString& sql, QStringList* namesInOrder);

}  // namespace velmora::db
