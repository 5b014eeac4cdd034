#include "catalogue/Tabelle_Lavoro.h"

#include <initializer_list>

namespace velmora {

namespace {

void tentaSenzaErrore(db::Connection& connection, const QString& sql) {
    try {
        connection.executeImmediate(sql);
    } catch (const db::DatabaseError&) {
        // The table may not exist, the column may exist already.
    }
}

bool esegui(db::Connection& connection, std::initializer_list<const char*> statements) {
    try {
        for (const char* sql : statements) {
            connection.executeImmediate(QString::fromLatin1(sql));
        }
    } catch (const db::DatabaseError&) {
        return false;
    }
    return true;
}

}  // namespace

bool Crea_Tabella_Listino(db::Connection& connection, Boxes& boxes) {
    tentaSenzaErrore(connection, QStringLiteral("DROP TABLE LISTINO"));
    tentaSenzaErrore(connection, QStringLiteral("ALTER TABLE T_AN3_4LG ADD SGL_STAT_3 VARCHAR(1)"));
    const bool ok = esegui(
        connection,
        {
            "CREATE TABLE LISTINO ("
            "CODICE VARCHAR(30), DESCRIZIONE VARCHAR(200), MEMO TESTO, UM VARCHAR(3), IVA VARCHAR(3), "
            "GR VARCHAR(6), SG VARCHAR(6), GRUPPONE VARCHAR(6), PREZZO NUMERICO, SC1 NUMERICO, SC2 NUMERICO, "
            "NETTO NUMERICO, PREZZO_LIST NUMERICO, SCONTO NUMERICO, IMAGE VARCHAR(1), DATA_LIST DATE, "
            "BARCODE VARCHAR(30), STATO VARCHAR(1), PREFERITI VARCHAR(1), SC_QTA VARCHAR(1), SC_QTA_CUM "
            "VARCHAR(1), "
            "METRI_1 NUMERICO, METRI_2 NUMERICO, METRI_3 NUMERICO, PESO NUMERICO, QTA_CONF NUMERICO)",
            "CREATE UNIQUE INDEX IDX_CODICE ON LISTINO(CODICE)",
            "CREATE INDEX IDX_DESCRIZIONE ON LISTINO(DESCRIZIONE)",
            "CREATE INDEX IDX_GRUPPONE ON LISTINO(GRUPPONE)",
            "CREATE INDEX IDX_GR ON LISTINO(GR)",
            "CREATE INDEX IDX_PREZZO_LIST ON LISTINO(PREZZO_LIST)",
            "CREATE INDEX IDX_NETTO ON LISTINO(NETTO)",
            "CREATE INDEX IDX_BARCODE ON LISTINO(BARCODE)",
            "CREATE DESC INDEX IDX_DATA_LIST ON LISTINO(DATA_LIST)",
        });
    if (!ok) {
        boxes.message(QStringLiteral("Error Creating Table LISTINO!"));
    }
    return ok;
}

bool Crea_Tabelle_Ordini(db::Connection& connection, Boxes& boxes) {
    tentaSenzaErrore(connection, QStringLiteral("DROP TABLE ORDINI"));
    if (!esegui(connection,
                {
                    "CREATE TABLE ORDINI ("
                    "CLIENTE INTEGER NOT NULL, PROGR INTEGER NOT NULL, CODICE VARCHAR(30), DESCRIZIONE "
                    "VARCHAR(200), "
                    "MEMO TESTO, UM VARCHAR(3), IVA VARCHAR(3), PREZZO NUMERICO, SC1 NUMERICO, SC2 NUMERICO, "
                    "QTA NUMERICO, IMPORTO NUMERICO, NOTE_RIGA TESTO, PESO NUMERICO, MC NUMERICO)",
                    "CREATE UNIQUE INDEX IDX_PROGR ON ORDINI(CLIENTE, PROGR)",
                })) {
        boxes.message(QStringLiteral("Error Creating Table ORDINI!"));
        return false;
    }
    tentaSenzaErrore(connection, QStringLiteral("DROP TABLE T_ORDINI"));
    if (!esegui(connection,
                {
                    "CREATE TABLE T_ORDINI (CLIENTE INTEGER NOT NULL, DESTINATARIO TESTO, NOTE TESTO)",
                    "CREATE UNIQUE INDEX IDX_CLI ON T_ORDINI(CLIENTE)",
                })) {
        boxes.message(QStringLiteral("Error Creating Table T_ORDINI!"));
        return false;
    }
    return true;
}

bool Colonna_Presente(db::Connection& connection, const QString& tabella, const QString& campo) {
    try {
        db::Statement query(connection,
                            QStringLiteral("SELECT * FROM RDB$RELATION_FIELDS WHERE "
                                           "RDB$FIELD_NAME = :Campo AND RDB$RELATION_NAME = :Tabella"));
        query.set(QStringLiteral("Campo"), campo);
        query.set(QStringLiteral("Tabella"), tabella);
        return query.first();
    } catch (const db::DatabaseError&) {
        return false;
    }
}

}  // namespace velmora
