#include "platform/Database.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <firebird/Interface.h>

#include "platform/Cp1252.h"

namespace velmora::db {

using namespace Firebird;

namespace {

constexpr unsigned kCharsetOctets = 1;
constexpr unsigned kCharsetWin1252 = 53;
constexpr unsigned kBlobSegment = 32 * 1024;

// The status of one call into the client library. Each thread keeps one status object per
// client library and clears it before every call, instead of making a new one each time.
class Status final {
public:
    explicit Status(IMaster* master) : m_wrapper(cleared(master)) {}
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    ThrowStatusWrapper* operator&() { return &m_wrapper; }

private:
    static IStatus* cleared(IMaster* master) {
        thread_local std::map<IMaster*, IStatus*> statuses;
        IStatus*& status = statuses[master];
        if (!status) {
            status = master->getStatus();
        }
        status->init();
        return status;
    }
    ThrowStatusWrapper m_wrapper;
};

DatabaseError toError(IUtil* util, const FbException& e) {
    char buffer[2048];
    util->formatStatus(buffer, sizeof buffer, e.getStatus());
    const ISC_STATUS* vector = e.getStatus()->getErrors();
    const long code = (vector && vector[0] == isc_arg_gds) ? static_cast<long>(vector[1]) : 0;
    return DatabaseError(QString::fromLocal8Bit(buffer).trimmed(), code);
}

unsigned baseType(unsigned type) {
    return type & ~1u;
}

bool isStringType(unsigned type) {
    return type == SQL_TEXT || type == SQL_VARYING;
}

}  // namespace

DatabaseError::DatabaseError(const QString& text, long code)
    : std::runtime_error(text.toStdString()), m_text(text), m_code(code) {}

// ---------------------------------------------------------------------------------------------
// Client library

void Client::prepareLockFolder() {
    if (qEnvironmentVariableIsSet("FIREBIRD_LOCK")) {
        return;
    }
    const QString standard = QStringLiteral("/tmp/firebird");
    const QFileInfo info(standard);
    const bool usable = info.exists()
                            ? (info.isDir() && ::access(standard.toLocal8Bit().constData(), W_OK | X_OK) == 0)
                            : ::access("/tmp", W_OK | X_OK) == 0;
    if (usable) {
        return;
    }
    const QString own = QDir::tempPath() + QStringLiteral("/velmora-firebird-") + QString::number(::getuid());
    QDir().mkpath(own);
    QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("FIREBIRD_LOCK", own.toLocal8Bit());
}

std::shared_ptr<Client> Client::load(const QString& libraryPath) {
    // A loaded client library lives as long as the process: the engine inside it keeps threads
    // and files that cannot be torn down and loaded again.
    static std::mutex mutex;
    static std::map<QString, std::shared_ptr<Client>> loaded;
    const std::lock_guard lock(mutex);
    const QString key = libraryPath.isEmpty() ? QString() : QFileInfo(libraryPath).absoluteFilePath();
    if (auto it = loaded.find(key); it != loaded.end()) {
        return it->second;
    }
    prepareLockFolder();
    const QByteArray name = key.isEmpty() ? QByteArrayLiteral("libfbclient.so.2") : key.toLocal8Bit();
    void* handle = ::dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        throw DatabaseError(QStringLiteral("Cannot load the database client library %1: %2")
                                .arg(QString::fromLocal8Bit(name), QString::fromLocal8Bit(::dlerror())));
    }
    using MasterFn = IMaster* (*)();
    auto getMaster = reinterpret_cast<MasterFn>(::dlsym(handle, "fb_get_master_interface"));
    if (!getMaster) {
        ::dlclose(handle);
        throw DatabaseError(
            QStringLiteral("The file %1 is not a database client library").arg(QString::fromLocal8Bit(name)));
    }
    std::shared_ptr<Client> client(new Client);
    client->m_path = key;
    client->m_handle = handle;
    client->m_master = getMaster();
    client->m_util = client->m_master->getUtilInterface();
    client->m_provider = client->m_master->getDispatcher();
    loaded.emplace(key, client);
    return client;
}

// ---------------------------------------------------------------------------------------------
// Connection

Connection::Connection() = default;

Connection::~Connection() {
    try {
        close(true);
    } catch (...) {
        // A destructor cannot report; an explicit close() does.
    }
}

void Connection::create(const QString& path, const ConnectOptions& options, int pageSize) {
    attach(path, options, true, pageSize);
}

void Connection::open(const QString& path, const ConnectOptions& options) {
    attach(path, options, false, 0);
}

void Connection::attach(const QString& path, const ConnectOptions& options, bool createNew, int pageSize) {
    close(true);
    m_client = Client::load(options.clientLibrary);
    m_options = options;
    Status status(m_client->master());
    IXpbBuilder* dpb = nullptr;
    try {
        dpb = m_client->util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&status, isc_dpb_user_name, options.user.toUtf8().constData());
        dpb->insertString(&status, isc_dpb_password, options.password.toUtf8().constData());
        dpb->insertString(&status, isc_dpb_lc_ctype, options.charset.toUtf8().constData());
        // Embedded only: never look for a server.
        dpb->insertString(&status, isc_dpb_config, "Providers=Engine12");
        if (createNew) {
            dpb->insertInt(&status, isc_dpb_sql_dialect, options.dialect);
            dpb->insertInt(&status, isc_dpb_page_size, pageSize);
            dpb->insertInt(&status, isc_dpb_force_write, 1);
        }
        const QByteArray file = QDir::toNativeSeparators(path).toLocal8Bit();
        const unsigned length = dpb->getBufferLength(&status);
        const unsigned char* buffer = dpb->getBuffer(&status);
        m_attachment = createNew
                           ? m_client->provider()->createDatabase(&status, file.constData(), length, buffer)
                           : m_client->provider()->attachDatabase(&status, file.constData(), length, buffer);
        dpb->dispose();
        dpb = nullptr;
        m_path = path;
        ++m_generation;
        startTransaction();
    } catch (const FbException& e) {
        if (dpb) {
            dpb->dispose();
        }
        throw toError(m_client->util(), e);
    }
}

void Connection::startTransaction() {
    Status status(m_client->master());
    m_transaction = m_attachment->startTransaction(&status, 0, nullptr);
}

void Connection::releaseStatements() {
    const std::set<Statement*> statements = m_statements;
    for (Statement* statement : statements) {
        statement->release();
    }
}

void Connection::close(bool commit) {
    if (!m_attachment) {
        return;
    }
    releaseStatements();
    Status status(m_client->master());
    std::exception_ptr failure;
    try {
        if (m_transaction) {
            if (commit) {
                m_transaction->commit(&status);
            } else {
                m_transaction->rollback(&status);
            }
            m_transaction = nullptr;
        }
    } catch (const FbException& e) {
        failure = std::make_exception_ptr(toError(m_client->util(), e));
        try {
            m_transaction->rollback(&status);
        } catch (const FbException&) {
            m_transaction->release();
        }
        m_transaction = nullptr;
    }
    try {
        m_attachment->detach(&status);
    } catch (const FbException& e) {
        m_attachment->release();
        if (!failure) {
            failure = std::make_exception_ptr(toError(m_client->util(), e));
        }
    }
    m_attachment = nullptr;
    ++m_generation;
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void Connection::commitRetaining() {
    if (!m_transaction) {
        throw DatabaseError(QStringLiteral("The database is not open"));
    }
    Status status(m_client->master());
    try {
        m_transaction->commitRetaining(&status);
    } catch (const FbException& e) {
        throw toError(m_client->util(), e);
    }
}

void Connection::commit() {
    if (!m_transaction) {
        throw DatabaseError(QStringLiteral("The database is not open"));
    }
    Status status(m_client->master());
    try {
        for (Statement* statement : m_statements) {
            statement->closeCursor();
        }
        m_transaction->commit(&status);
        m_transaction = nullptr;
        startTransaction();
    } catch (const FbException& e) {
        throw toError(m_client->util(), e);
    }
}

void Connection::rollback() {
    if (!m_transaction) {
        throw DatabaseError(QStringLiteral("The database is not open"));
    }
    Status status(m_client->master());
    try {
        for (Statement* statement : m_statements) {
            statement->closeCursor();
        }
        m_transaction->rollback(&status);
        m_transaction = nullptr;
        startTransaction();
    } catch (const FbException& e) {
        throw toError(m_client->util(), e);
    }
}

void Connection::executeImmediate(const QString& sql) {
    if (!m_attachment) {
        throw DatabaseError(QStringLiteral("The database is not open"));
    }
    Status status(m_client->master());
    const QByteArray text = toCp1252(sql);
    try {
        m_attachment->execute(&status, m_transaction, text.size(), text.constData(),
                              static_cast<unsigned>(m_options.dialect), nullptr, nullptr, nullptr, nullptr);
    } catch (const FbException& e) {
        throw toError(m_client->util(), e);
    }
}

int Connection::databaseDialect() {
    if (!m_attachment) {
        throw DatabaseError(QStringLiteral("The database is not open"));
    }
    Status status(m_client->master());
    const unsigned char items[] = {isc_info_db_sql_dialect, isc_info_end};
    unsigned char answer[32] = {};
    try {
        m_attachment->getInfo(&status, sizeof items, items, sizeof answer, answer);
    } catch (const FbException& e) {
        throw toError(m_client->util(), e);
    }
    if (answer[0] != isc_info_db_sql_dialect) {
        return 1;
    }
    const int length = answer[1] | (answer[2] << 8);
    int value = 0;
    for (int i = 0; i < length && i < 4; ++i) {
        value |= answer[3 + i] << (8 * i);
    }
    return value;
}

bool Connection::tableExists(const QString& table) {
    Statement query(*this, QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :Tabella"));
    query.set(QStringLiteral("Tabella"), table.toUpper());
    return query.first();
}

// ---------------------------------------------------------------------------------------------
// Statement

QByteArray positionalSql(const QString& sql, QStringList* namesInOrder) {
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text or identifier, with doubled quotes inside.
            out += c;
            ++i;
            while (i < n) {
                out += sql[i];
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        out += sql[++i];
                    } else {
                        break;
                    }
                }
                ++i;
            }
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n')) {
                out += sql[i++];
            }
            if (i < n) {
                out += sql[i];
            }
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out += sql.mid(i, stop - i);
            i = stop - 1;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))) {
            qsizetype j = i + 1;
            while (j < n &&
                   (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_') || sql[j] == QLatin1Char('$'))) {
                ++j;
            }
            namesInOrder->append(sql.mid(i + 1, j - i - 1));
            out += QLatin1Char('?');
            i = j - 1;
            continue;
        }
        out += c;
    }
    return toCp1252(out);
}

Statement::Statement(Connection& connection, QString sql) : m_connection(connection), m_sql(std::move(sql)) {
    QStringList positions;
    m_positionalSql = positionalSql(m_sql, &positions);
    for (const QString& name : positions) {
        qsizetype index = -1;
        for (qsizetype k = 0; k < m_names.size(); ++k) {
            if (m_names[k].compare(name, Qt::CaseInsensitive) == 0) {
                index = k;
                break;
            }
        }
        if (index < 0) {
            m_names.append(name);
            index = m_names.size() - 1;
        }
        m_slotToName.push_back(static_cast<int>(index));
    }
    m_values.resize(m_names.size());
    m_connection.registerStatement(this);
}

Statement::~Statement() {
    release();
    m_connection.unregisterStatement(this);
}

void Statement::release() {
    if (m_cursor) {
        m_cursor->release();
        m_cursor = nullptr;
    }
    if (m_statement) {
        if (m_connection.isOpen() && m_generation == m_connection.generation()) {
            Status status(m_connection.client()->master());
            try {
                m_statement->free(&status);
            } catch (const FbException&) {
                m_statement->release();
            }
        } else {
            m_statement->release();
        }
        m_statement = nullptr;
    }
    if (m_inMeta) {
        m_inMeta->release();
        m_inMeta = nullptr;
    }
    if (m_outMeta) {
        m_outMeta->release();
        m_outMeta = nullptr;
    }
    m_hasRow = false;
}

void Statement::prepare() {
    ensurePrepared();
}

void Statement::ensurePrepared() {
    if (!m_connection.isOpen()) {
        throw DatabaseError(QStringLiteral("The database is not open"));
    }
    if (m_statement && m_generation == m_connection.generation()) {
        return;
    }
    release();
    IMaster* master = m_connection.client()->master();
    Status status(master);
    try {
        m_statement = m_connection.attachment()->prepare(
            &status, m_connection.transaction(), m_positionalSql.size(), m_positionalSql.constData(),
            static_cast<unsigned>(m_connection.dialect()), IStatement::PREPARE_PREFETCH_METADATA);
        m_generation = m_connection.generation();

        IMessageMetadata* declared = m_statement->getInputMetadata(&status);
        const unsigned count = declared->getCount(&status);
        m_inDeclaredType.assign(count, 0);
        m_inCapacity.assign(count, 0);
        m_inColumns.assign(count, Column{});
        for (unsigned i = 0; i < count; ++i) {
            m_inDeclaredType[i] = baseType(declared->getType(&status, i));
            m_inColumns[i].subType = declared->getSubType(&status, i);
            m_inColumns[i].scale = declared->getScale(&status, i);
            m_inColumns[i].charset = declared->getCharSet(&status, i);
            m_inCapacity[i] = std::max(1u, declared->getLength(&status, i));
        }
        declared->release();
        buildInputMetadata();

        m_outMeta = m_statement->getOutputMetadata(&status);
        const unsigned outCount = m_outMeta->getCount(&status);
        m_outColumns.assign(outCount, Column{});
        for (unsigned i = 0; i < outCount; ++i) {
            Column& column = m_outColumns[i];
            const char* alias = m_outMeta->getAlias(&status, i);
            const char* field = m_outMeta->getField(&status, i);
            column.name = QString::fromLatin1(alias && *alias ? alias : field);
            column.type = baseType(m_outMeta->getType(&status, i));
            column.subType = m_outMeta->getSubType(&status, i);
            column.scale = m_outMeta->getScale(&status, i);
            column.length = m_outMeta->getLength(&status, i);
            column.offset = m_outMeta->getOffset(&status, i);
            column.nullOffset = m_outMeta->getNullOffset(&status, i);
            column.charset = m_outMeta->getCharSet(&status, i);
        }
        m_outBuffer.assign(m_outMeta->getMessageLength(&status), 0);
    } catch (const FbException& e) {
        const DatabaseError error = toError(m_connection.client()->util(), e);
        release();
        throw error;
    }
}

// Builds the message the parameters travel in. Text parameters travel as VARCHAR as long as
// the value needs, so the engine compares or assigns the whole value: a value longer than its
// column is refused by the engine, never cut here.
void Statement::buildInputMetadata() {
    IMaster* master = m_connection.client()->master();
    Status status(master);
    const unsigned count = static_cast<unsigned>(m_inDeclaredType.size());
    IMetadataBuilder* builder = master->getMetadataBuilder(&status, count);
    try {
        for (unsigned i = 0; i < count; ++i) {
            const unsigned declared = m_inDeclaredType[i];
            if (isStringType(declared) || declared == SQL_NULL) {
                builder->setType(&status, i, SQL_VARYING + 1);
                builder->setLength(&status, i, m_inCapacity[i]);
                builder->setCharSet(
                    &status, i, m_inColumns[i].charset == kCharsetOctets ? kCharsetOctets : kCharsetWin1252);
            } else {
                builder->setType(&status, i, declared + 1);
                builder->setSubType(&status, i, m_inColumns[i].subType);
                builder->setScale(&status, i, m_inColumns[i].scale);
                unsigned length = 0;
                switch (declared) {
                    case SQL_SHORT:
                        length = sizeof(ISC_SHORT);
                        break;
                    case SQL_LONG:
                        length = sizeof(ISC_LONG);
                        break;
                    case SQL_INT64:
                        length = sizeof(ISC_INT64);
                        break;
                    case SQL_FLOAT:
                        length = sizeof(float);
                        break;
                    case SQL_DOUBLE:
                    case SQL_D_FLOAT:
                        length = sizeof(double);
                        break;
                    case SQL_TIMESTAMP:
                        length = sizeof(ISC_TIMESTAMP);
                        break;
                    case SQL_TYPE_DATE:
                        length = sizeof(ISC_DATE);
                        break;
                    case SQL_TYPE_TIME:
                        length = sizeof(ISC_TIME);
                        break;
                    case SQL_BLOB:
                    case SQL_ARRAY:
                        length = sizeof(ISC_QUAD);
                        break;
                    case SQL_BOOLEAN:
                        length = 1;
                        break;
                    default:
                        length = m_inCapacity[i];
                        break;
                }
                builder->setLength(&status, i, length);
            }
        }
        IMessageMetadata* meta = builder->getMetadata(&status);
        builder->release();
        builder = nullptr;
        if (m_inMeta) {
            m_inMeta->release();
        }
        m_inMeta = meta;
        for (unsigned i = 0; i < count; ++i) {
            m_inColumns[i].type = baseType(m_inMeta->getType(&status, i));
            m_inColumns[i].length = m_inMeta->getLength(&status, i);
            m_inColumns[i].offset = m_inMeta->getOffset(&status, i);
            m_inColumns[i].nullOffset = m_inMeta->getNullOffset(&status, i);
        }
        m_inBuffer.assign(m_inMeta->getMessageLength(&status), 0);
    } catch (const FbException& e) {
        if (builder) {
            builder->release();
        }
        throw toError(m_connection.client()->util(), e);
    }
}

void Statement::set(const QString& name, const QVariant& value) {
    for (qsizetype k = 0; k < m_names.size(); ++k) {
        if (m_names[k].compare(name, Qt::CaseInsensitive) == 0) {
            m_values[k] = value;
            return;
        }
    }
    throw DatabaseError(QStringLiteral("Parameter %1 not found in: %2").arg(name, m_sql));
}

void Statement::clearParameters() {
    for (QVariant& value : m_values) {
        value = QVariant();
    }
}

namespace {

ISC_INT64 scaledInteger(const QVariant& value, int scale, bool* ok) {
    *ok = true;
    const auto type = value.typeId();
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt ||
        type == QMetaType::Short || type == QMetaType::Bool || type == QMetaType::Long) {
        ISC_INT64 v = value.toLongLong();
        for (int s = scale; s < 0; ++s) {
            v *= 10;
        }
        return v;
    }
    double d = 0;
    if (type == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        bool integer = false;
        const qlonglong v = text.toLongLong(&integer);
        if (integer && scale == 0) {
            return v;
        }
        d = text.toDouble(ok);
        if (!*ok) {
            return 0;
        }
    } else {
        d = value.toDouble(ok);
        if (!*ok) {
            return 0;
        }
    }
    d *= std::pow(10.0, -scale);
    if (!std::isfinite(d) || std::fabs(d) > 9.2e18) {
        *ok = false;
        return 0;
    }
    return static_cast<ISC_INT64>(std::llround(d));
}

}  // namespace

void Statement::bindInput() {
    if (m_inColumns.empty()) {
        return;
    }
    // Grow the text slots first: a longer value needs a new message layout.
    bool grow = false;
    std::vector<QByteArray> texts(m_inColumns.size());
    for (size_t i = 0; i < m_inColumns.size(); ++i) {
        const QVariant& value = m_values[m_slotToName[i]];
        if (value.isNull() || !(m_inColumns[i].type == SQL_VARYING)) {
            continue;
        }
        texts[i] = value.typeId() == QMetaType::QByteArray ? value.toByteArray() : toCp1252(value.toString());
        if (static_cast<unsigned>(texts[i].size()) > m_inCapacity[i]) {
            if (texts[i].size() > 32765) {
                throw DatabaseError(
                    QStringLiteral("A text parameter of %1 bytes is too long").arg(texts[i].size()));
            }
            m_inCapacity[i] =
                std::min(32765u, std::max(static_cast<unsigned>(texts[i].size()), m_inCapacity[i] * 2));
            grow = true;
        }
    }
    if (grow) {
        buildInputMetadata();
    }
    IUtil* util = m_connection.client()->util();
    unsigned char* buffer = m_inBuffer.data();
    for (size_t i = 0; i < m_inColumns.size(); ++i) {
        const Column& column = m_inColumns[i];
        const QVariant& value = m_values[m_slotToName[i]];
        auto* nullFlag = reinterpret_cast<short*>(buffer + column.nullOffset);
        unsigned char* data = buffer + column.offset;
        if (value.isNull()) {
            *nullFlag = -1;
            continue;
        }
        *nullFlag = 0;
        bool ok = true;
        switch (column.type) {
            case SQL_VARYING: {
                const QByteArray& text = texts[i];
                const auto length = static_cast<unsigned short>(text.size());
                std::memcpy(data, &length, sizeof length);
                std::memcpy(data + sizeof length, text.constData(), text.size());
                break;
            }
            case SQL_SHORT: {
                const ISC_INT64 v = scaledInteger(value, column.scale, &ok);
                ok = ok && v >= std::numeric_limits<ISC_SHORT>::min() &&
                     v <= std::numeric_limits<ISC_SHORT>::max();
                const auto s = static_cast<ISC_SHORT>(v);
                std::memcpy(data, &s, sizeof s);
                break;
            }
            case SQL_LONG: {
                const ISC_INT64 v = scaledInteger(value, column.scale, &ok);
                ok = ok && v >= std::numeric_limits<ISC_LONG>::min() &&
                     v <= std::numeric_limits<ISC_LONG>::max();
                const auto l = static_cast<ISC_LONG>(v);
                std::memcpy(data, &l, sizeof l);
                break;
            }
            case SQL_INT64: {
                const ISC_INT64 v = scaledInteger(value, column.scale, &ok);
                std::memcpy(data, &v, sizeof v);
                break;
            }
            case SQL_FLOAT: {
                const auto f = static_cast<float>(value.toDouble(&ok));
                std::memcpy(data, &f, sizeof f);
                break;
            }
            case SQL_DOUBLE:
            case SQL_D_FLOAT: {
                const double d = value.toDouble(&ok);
                std::memcpy(data, &d, sizeof d);
                break;
            }
            case SQL_TIMESTAMP:
            case SQL_TYPE_DATE:
            case SQL_TYPE_TIME: {
                QDateTime when;
                if (value.typeId() == QMetaType::QDate) {
                    when = QDateTime(value.toDate(), QTime(0, 0));
                } else if (value.typeId() == QMetaType::QTime) {
                    when = QDateTime(QDate(1900, 1, 1), value.toTime());
                } else if (value.typeId() == QMetaType::QString) {
                    const QString text = value.toString().trimmed();
                    when = QDateTime::fromString(text, QStringLiteral("dd/MM/yyyy hh:mm:ss"));
                    if (!when.isValid()) {
                        when = QDateTime(QDate::fromString(text, QStringLiteral("dd/MM/yyyy")), QTime(0, 0));
                    }
                } else {
                    when = value.toDateTime();
                }
                ok = when.isValid();
                if (!ok) {
                    break;
                }
                const QDate d = when.date();
                const QTime t = when.time();
                const ISC_DATE date =
                    util->encodeDate(static_cast<unsigned>(d.year()), static_cast<unsigned>(d.month()),
                                     static_cast<unsigned>(d.day()));
                const ISC_TIME time =
                    util->encodeTime(static_cast<unsigned>(t.hour()), static_cast<unsigned>(t.minute()),
                                     static_cast<unsigned>(t.second()), static_cast<unsigned>(t.msec()) * 10);
                if (column.type == SQL_TIMESTAMP) {
                    ISC_TIMESTAMP stamp{date, time};
                    std::memcpy(data, &stamp, sizeof stamp);
                } else if (column.type == SQL_TYPE_DATE) {
                    std::memcpy(data, &date, sizeof date);
                } else {
                    std::memcpy(data, &time, sizeof time);
                }
                break;
            }
            case SQL_BLOB: {
                const QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                                                                                 : toCp1252(value.toString());
                writeBlob(bytes, data);
                break;
            }
            case SQL_BOOLEAN: {
                const unsigned char b = value.toBool() ? 1 : 0;
                *data = b;
                break;
            }
            default:
                throw DatabaseError(QStringLiteral("Unsupported parameter type %1").arg(column.type));
        }
        if (!ok) {
            throw DatabaseError(QStringLiteral("conversion error from string \"%1\" for parameter %2")
                                    .arg(value.toString(), m_names[m_slotToName[i]]));
        }
    }
}

void Statement::writeBlob(const QByteArray& data, unsigned char* blobId) {
    Status status(m_connection.client()->master());
    ISC_QUAD id{};
    IBlob* blob = nullptr;
    try {
        blob = m_connection.attachment()->createBlob(&status, m_connection.transaction(), &id, 0, nullptr);
        for (qsizetype done = 0; done < data.size(); done += kBlobSegment) {
            const auto part = static_cast<unsigned>(std::min<qsizetype>(kBlobSegment, data.size() - done));
            blob->putSegment(&status, part, data.constData() + done);
        }
        blob->close(&status);
        blob = nullptr;
    } catch (const FbException& e) {
        if (blob) {
            blob->release();
        }
        throw toError(m_connection.client()->util(), e);
    }
    std::memcpy(blobId, &id, sizeof id);
}

QByteArray Statement::readBlob(const unsigned char* blobIdBytes) const {
    Status status(m_connection.client()->master());
    ISC_QUAD id;
    std::memcpy(&id, blobIdBytes, sizeof id);
    QByteArray bytes;
    IBlob* blob = nullptr;
    try {
        blob = m_connection.attachment()->openBlob(&status, m_connection.transaction(), &id, 0, nullptr);
        char segment[kBlobSegment];
        for (;;) {
            unsigned length = 0;
            const int result = blob->getSegment(&status, sizeof segment, segment, &length);
            if (result == IStatus::RESULT_OK || result == IStatus::RESULT_SEGMENT) {
                bytes.append(segment, length);
            } else {
                break;
            }
        }
        blob->close(&status);
        blob = nullptr;
    } catch (const FbException& e) {
        if (blob) {
            blob->release();
        }
        throw toError(m_connection.client()->util(), e);
    }
    return bytes;
}

void Statement::execute() {
    ensurePrepared();
    closeCursor();
    bindInput();
    Status status(m_connection.client()->master());
    try {
        m_statement->execute(&status, m_connection.transaction(), m_inMeta, m_inBuffer.data(), m_outMeta,
                             m_outBuffer.data());
        m_hasRow = !m_outColumns.empty();
    } catch (const FbException& e) {
        m_hasRow = false;
        throw toError(m_connection.client()->util(), e);
    }
}

void Statement::open() {
    ensurePrepared();
    closeCursor();
    bindInput();
    Status status(m_connection.client()->master());
    try {
        m_cursor = m_statement->openCursor(&status, m_connection.transaction(), m_inMeta, m_inBuffer.data(),
                                           m_outMeta, 0);
    } catch (const FbException& e) {
        throw toError(m_connection.client()->util(), e);
    }
}

bool Statement::next() {
    if (!m_cursor) {
        return false;
    }
    Status status(m_connection.client()->master());
    try {
        m_hasRow = m_cursor->fetchNext(&status, m_outBuffer.data()) == IStatus::RESULT_OK;
    } catch (const FbException& e) {
        m_hasRow = false;
        throw toError(m_connection.client()->util(), e);
    }
    return m_hasRow;
}

void Statement::closeCursor() {
    if (!m_cursor) {
        return;
    }
    if (m_connection.isOpen() && m_generation == m_connection.generation()) {
        Status status(m_connection.client()->master());
        try {
            m_cursor->close(&status);
        } catch (const FbException&) {
            m_cursor->release();
        }
    } else {
        m_cursor->release();
    }
    m_cursor = nullptr;
    m_hasRow = false;
}

bool Statement::first() {
    open();
    return next();
}

int Statement::columnCount() {
    ensurePrepared();
    return static_cast<int>(m_outColumns.size());
}

QString Statement::columnName(int index) {
    ensurePrepared();
    return m_outColumns.at(static_cast<size_t>(index)).name;
}

int Statement::columnIndex(const QString& name) {
    ensurePrepared();
    for (size_t i = 0; i < m_outColumns.size(); ++i) {
        if (m_outColumns[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool Statement::isNull(int index) const {
    if (!m_hasRow || index < 0 || static_cast<size_t>(index) >= m_outColumns.size()) {
        return true;
    }
    const Column& column = m_outColumns[static_cast<size_t>(index)];
    return *reinterpret_cast<const short*>(m_outBuffer.data() + column.nullOffset) != 0;
}

QVariant Statement::value(int index) const {
    if (!m_hasRow) {
        throw DatabaseError(QStringLiteral("No current row"));
    }
    if (index < 0 || static_cast<size_t>(index) >= m_outColumns.size()) {
        throw DatabaseError(QStringLiteral("Column %1 not found").arg(index));
    }
    return readColumn(m_outColumns[static_cast<size_t>(index)], m_outBuffer.data());
}

QVariant Statement::value(const QString& name) const {
    for (size_t i = 0; i < m_outColumns.size(); ++i) {
        if (m_outColumns[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return value(static_cast<int>(i));
        }
    }
    throw DatabaseError(QStringLiteral("Column unknown %1").arg(name));
}

QVariant Statement::readColumn(const Column& column, const unsigned char* buffer) const {
    if (*reinterpret_cast<const short*>(buffer + column.nullOffset) != 0) {
        return QVariant();
    }
    const unsigned char* data = buffer + column.offset;
    IUtil* util = m_connection.client()->util();
    auto scaled = [&column](ISC_INT64 v) -> QVariant {
        if (column.scale < 0) {
            return QVariant(static_cast<double>(v) / std::pow(10.0, -column.scale));
        }
        return QVariant(static_cast<qlonglong>(v));
    };
    switch (column.type) {
        case SQL_TEXT: {
            const char* text = reinterpret_cast<const char*>(data);
            qsizetype length = column.length;
            while (length > 0 && text[length - 1] == ' ') {
                --length;
            }
            if (column.charset == kCharsetOctets) {
                return QByteArray(text, length);
            }
            return fromCp1252(text, length);
        }
        case SQL_VARYING: {
            unsigned short length = 0;
            std::memcpy(&length, data, sizeof length);
            const char* text = reinterpret_cast<const char*>(data + sizeof length);
            if (column.charset == kCharsetOctets) {
                return QByteArray(text, length);
            }
            return fromCp1252(text, length);
        }
        case SQL_SHORT: {
            ISC_SHORT v;
            std::memcpy(&v, data, sizeof v);
            return column.scale < 0 ? scaled(v) : QVariant(static_cast<int>(v));
        }
        case SQL_LONG: {
            ISC_LONG v;
            std::memcpy(&v, data, sizeof v);
            return column.scale < 0 ? scaled(v) : QVariant(static_cast<int>(v));
        }
        case SQL_INT64: {
            ISC_INT64 v;
            std::memcpy(&v, data, sizeof v);
            return scaled(v);
        }
        case SQL_FLOAT: {
            float v;
            std::memcpy(&v, data, sizeof v);
            return QVariant(static_cast<double>(v));
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double v;
            std::memcpy(&v, data, sizeof v);
            return QVariant(v);
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP stamp;
            std::memcpy(&stamp, data, sizeof stamp);
            unsigned y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0, frac = 0;
            util->decodeDate(stamp.timestamp_date, &y, &m, &d);
            util->decodeTime(stamp.timestamp_time, &h, &mi, &s, &frac);
            return QDateTime(QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)),
                             QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                                   static_cast<int>(frac / 10)));
        }
        case SQL_TYPE_DATE: {
            ISC_DATE date;
            std::memcpy(&date, data, sizeof date);
            unsigned y = 0, m = 0, d = 0;
            util->decodeDate(date, &y, &m, &d);
            return QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
        }
        case SQL_TYPE_TIME: {
            ISC_TIME time;
            std::memcpy(&time, data, sizeof time);
            unsigned h = 0, mi = 0, s = 0, frac = 0;
            util->decodeTime(time, &h, &mi, &s, &frac);
            return QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                         static_cast<int>(frac / 10));
        }
        case SQL_BLOB: {
            const QByteArray bytes = readBlob(data);
            if (column.subType == 1) {
                return fromCp1252(bytes);
            }
            return bytes;
        }
        case SQL_BOOLEAN:
            return QVariant(*data != 0);
        default:
            throw DatabaseError(
                QStringLiteral("Unsupported column type %1 of %2").arg(column.type).arg(column.name));
    }
}

qint64 Statement::affectedRows() {
    if (!m_statement) {
        return 0;
    }
    Status status(m_connection.client()->master());
    try {
        return static_cast<qint64>(m_statement->getAffectedRecords(&status));
    } catch (const FbException& e) {
        throw toError(m_connection.client()->util(), e);
    }
}

}  // namespace velmora::db
