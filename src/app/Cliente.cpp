#include "app/Cliente.h"

#include <QFile>

#include "browser/Ordini_Catalogo.h"
#include "catalogue/Tabelle_Lavoro.h"

namespace velmora {

namespace {

const QString kTAn4 = QStringLiteral("Unable to Open Table T_AN4!");

}  // namespace

void Operazioni_Senza_Finestra::Chiudi_Programma() {
    try {
        m_sessione.connessione().close(true);
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
    m_sessione.Programma_Terminato = true;
}

Gestione_Cliente::Gestione_Cliente(Sessione& sessione, Operazioni_Cliente& operazioni)
    : m_sessione(sessione), m_op(operazioni) {}

QString Gestione_Cliente::Query_Grupponi() {
    return QStringLiteral(
        "SELECT GRPL_CODICE, GRPL_DESCRIZIONE\nFROM R_GRUPPONI \nWHERE GRPL_LINGUA = :Lingua\nORDER BY "
        "GRPL_DESCRIZIONE");
}

QString Gestione_Cliente::Query_Gruppi() {
    return QStringLiteral(
        "SELECT \nT_AN3_4LG.GRL_CODICE,\nT_AN3_4LG.SGL_CODICE,\nT_AN3_4LG.SGL_LINGUA AS GRL_LINGUA,\n"
        "T_AN3_4LG.SGL_DESCRIZIONE AS GRL_DESCRIZIONE,\nT_AN3_3.GR_GRUPPONE \nFROM T_AN3_4LG\n"
        "INNER JOIN T_AN3_3 ON T_AN3_4LG.GRL_CODICE = T_AN3_3.GR_CODICE\nWHERE T_AN3_4LG.SGL_LINGUA = "
        ":Lingua\n"
        "AND T_AN3_3.GR_GRUPPONE BETWEEN :Gruppone_In AND :Gruppone_Fin\nORDER BY T_AN3_4LG.SGL_DESCRIZIONE");
}

bool Gestione_Cliente::Listino_Presente() {
    db::Connection& db = m_sessione.connessione();
    if (!Colonna_Presente(db, QStringLiteral("LISTINO"), QStringLiteral("CODICE"))) {
        return false;
    }
    try {
        db::Statement progr(db, QStringLiteral("SELECT MOLL_MATASSE FROM T_PROGR"));
        return progr.first() && !progr.isNull(0);
    } catch (const db::DatabaseError&) {
        // T_PROGR itself is checked, and reported, when the customer is taken up.
        return true;
    }
}

void Gestione_Cliente::Riprendi_Cliente() {
    db::Statement progr(m_sessione.connessione(), QStringLiteral("SELECT * FROM T_PROGR"));
    bool riga = false;
    try {
        riga = progr.first();
    } catch (const db::DatabaseError&) {
        Database_Non_Valido();
        return;
    }
    if (!riga) {
        Database_Non_Valido();
        return;
    }
    m_sessione.Data_Listino = QDate(1900, 1, 1);
    try {
        m_sessione.precisione = Leggi_Precisione(progr);
    } catch (const db::DatabaseError& e) {
        // The masks keep their last valid decimals; the message names the wrong value.
        m_sessione.boxes().error(e.text());
    }
    QString testoData = QStringLiteral("?\?/?\?/?\?\?\?");
    const QVariant data = progr.value("ULTIMA_DATA_BOLLATO");
    if (!data.isNull()) {
        const QDate giorno = data.toDateTime().date();
        if (giorno.isValid()) {
            testoData = giorno.toString(QStringLiteral("dd/MM/yyyy"));
            m_sessione.Data_Listino = giorno;
        }
    }
    const int codice = progr.value("MOLL_MATASSE").toInt();
    progr.closeCursor();
    Carica_Cliente(codice);
    if (terminato()) {
        return;
    }
    m_op.Imposta_Titolo(m_op.Titolo() + QStringLiteral("  -  ") +
                        m_sessione.Record_Cliente.value(QStringLiteral("CLI_RAGSOC")).toString() +
                        QStringLiteral("    -    ") + testoData);
}

void Gestione_Cliente::Accesso_Cliente(const QString& password, int lingua) {
    m_sessione.Password_Errata = false;
    const QString chiave = password.trimmed();
    if (chiave.isEmpty()) {
        m_op.Chiudi_Programma();
        return;
    }
    db::Connection& db = m_sessione.connessione();
    int codice = 0;
    bool trovato = false;
    try {
        db::Statement cerca(db, QStringLiteral("SELECT * FROM T_AN4\nWHERE CLI_PASSWORD = :CLI_PASSWORD"));
        cerca.set(QStringLiteral("CLI_PASSWORD"), chiave);
        trovato = cerca.first();
        if (trovato) {
            codice = cerca.value("CLI_CODICE").toInt();
        }
    } catch (const db::DatabaseError&) {
        m_sessione.boxes().message(kTAn4);
        Database_Non_Valido();
        m_op.Chiudi_Programma();
        return;
    }
    if (!trovato) {
        m_op.Password_Errata();
        m_sessione.Password_Errata = true;
        m_op.Chiudi_Programma();
        return;
    }

    db::Statement elimina(db, QStringLiteral("DELETE FROM T_AN4\nWHERE CLI_CODICE <> :CLI_CODICE"));
    elimina.set(QStringLiteral("CLI_CODICE"), codice);
    elimina.execute();

    try {
        db::Statement aggiorna(
            db, QStringLiteral("UPDATE T_AN4 SET CLI_LINGUA = :Lingua\nWHERE CLI_CODICE = :Codice"));
        aggiorna.set(QStringLiteral("Lingua"), lingua);
        aggiorna.set(QStringLiteral("Codice"), codice);
        aggiorna.execute();
    } catch (const db::DatabaseError&) {
        // The language stays as it was.
    }

    m_op.Chiudi_Catalogo();
    Carica_Cliente(codice);
    if (terminato()) {
        return;
    }
    // Until this sign-in has finished, the database records no signed-in customer: the working
    // tables become durable in the middle of the sign-in, and a sign-in cut short there must
    // leave a database that asks for the password again.
    db::Statement dimentica(db, QStringLiteral("UPDATE T_PROGR SET MOLL_MATASSE = NULL"));
    dimentica.execute();
    Prepara_Tabelle();
    if (terminato()) {
        return;
    }
    m_op.Crea_Listino();
    if (terminato()) {
        return;
    }
    m_op.Segna_Preferiti();

    const QDate oggi = m_sessione.clock().today();
    db::Statement ricorda(
        db, QStringLiteral("UPDATE T_PROGR SET MOLL_MATASSE = :Cliente, ULTIMA_DATA_BOLLATO = :Data"));
    ricorda.set(QStringLiteral("Cliente"), m_sessione.Codice_Cliente);
    ricorda.set(QStringLiteral("Data"), oggi);
    ricorda.execute();
    // A finished sign-in with its price list is made durable at once.
    db.commitRetaining();
    m_sessione.Data_Listino = oggi;
    m_op.Imposta_Titolo(m_op.Titolo() + QStringLiteral("  -  ") +
                        m_sessione.Record_Cliente.value(QStringLiteral("CLI_RAGSOC")).toString());
}

void Gestione_Cliente::Carica_Cliente(int codice) {
    m_sessione.Codice_Cliente = 0;
    m_sessione.Zona_Cliente.clear();
    db::Connection& db = m_sessione.connessione();
    try {
        db::Statement cliente(db, QStringLiteral("SELECT * FROM T_AN4\nWHERE CLI_CODICE = :CLI_CODICE"));
        cliente.set(QStringLiteral("CLI_CODICE"), codice);
        bool riga = false;
        try {
            riga = cliente.first();
        } catch (const db::DatabaseError&) {
            Database_Non_Valido();
            return;
        }
        if (!riga) {
            m_sessione.boxes().message(QStringLiteral("Customer Code not Found!"));
            m_op.Chiudi_Programma();
            return;
        }
        QVariantHash record;
        for (int i = 0; i < cliente.columnCount(); ++i) {
            record.insert(cliente.columnName(i).toUpper(), cliente.value(i));
        }
        cliente.closeCursor();
        m_sessione.Record_Cliente = record;
        m_sessione.Codice_Cliente = codice;
        m_sessione.Zona_Cliente = record.value(QStringLiteral("CLI_ZONA")).toString();
        m_sessione.Lingua_Corrente = record.value(QStringLiteral("CLI_LINGUA")).toInt();
        m_op.Mostra_Fasce(record.value(QStringLiteral("CLI_SC_QTA")).toString() == QLatin1String("T"));

        try {
            db::Statement grupponi(db, Query_Grupponi());
            grupponi.set(QStringLiteral("Lingua"), m_sessione.Lingua_Corrente);
            grupponi.open();
        } catch (const db::DatabaseError&) {
            Database_Non_Valido();
            return;
        }
        try {
            db::Statement gruppi(db, Query_Gruppi());
            gruppi.set(QStringLiteral("Lingua"), m_sessione.Lingua_Corrente);
            gruppi.set(QStringLiteral("Gruppone_In"), QString());
            gruppi.set(QStringLiteral("Gruppone_Fin"), QStringLiteral("zzzzzz"));
            gruppi.open();
        } catch (const db::DatabaseError&) {
            Database_Non_Valido();
            return;
        }
    } catch (const db::DatabaseError&) {
        m_sessione.boxes().message(kTAn4);
        Database_Non_Valido();
        m_op.Chiudi_Programma();
    }
}

void Gestione_Cliente::Prepara_Tabelle() {
    db::Connection& db = m_sessione.connessione();
    Boxes& boxes = m_sessione.boxes();
    if (!Crea_Tabella_Listino(db, boxes) || !Crea_Tabelle_Ordini(db, boxes)) {
        m_op.Chiudi_Programma();
        return;
    }
    // Reconnecting commits: the new tables are durable before any row is written into them.
    m_sessione.Connetti();
    Apri_Tabelle();
    if (terminato()) {
        return;
    }
    m_op.Ripristina_Ordini();
}

void Gestione_Cliente::Apri_Tabelle() {
    db::Connection& db = m_sessione.connessione();
    Boxes& boxes = m_sessione.boxes();
    const auto nonApribile = [&](const char* tabella) {
        boxes.message(QStringLiteral("Unable to Open Table %1!").arg(QString::fromLatin1(tabella)));
        Database_Non_Valido();
        m_op.Chiudi_Programma();
    };

    try {
        if (m_sessione.Nuovo_Accesso) {
            boxes.message(m_sessione.testi.testo(QStringLiteral("M8")));
            m_sessione.Ordine_Catalogo = 7;
        }
        const Ordine_Catalogo_Def& ordine = Ordine_Catalogo_Info(m_sessione.Ordine_Catalogo);
        m_sessione.Testo_Query_Catalogo = ordine.query;
        db::Statement catalogo(db, ordine.query);
        if (ordine.haParametro) {
            catalogo.set(QStringLiteral("Stringa"), ordine.valoreIniziale);
        }
        catalogo.first();
    } catch (const db::DatabaseError&) {
        nonApribile("LISTINO");
        return;
    }
    try {
        db::Statement(db, QStringLiteral("SELECT * FROM ORDINI")).open();
    } catch (const db::DatabaseError&) {
        nonApribile("ORDINI");
        return;
    }
    try {
        db::Statement testa(db, QStringLiteral("SELECT * FROM T_ORDINI"));
        if (!testa.first()) {
            testa.closeCursor();
            try {
                db::Statement inserisci(db,
                                        QStringLiteral("INSERT INTO T_ORDINI (CLIENTE) VALUES (:CLIENTE)"));
                inserisci.set(QStringLiteral("CLIENTE"), m_sessione.Codice_Cliente);
                inserisci.execute();
                db.commitRetaining();
            } catch (const db::DatabaseError&) {
                // Without a header row the order page starts empty.
            }
        }
    } catch (const db::DatabaseError&) {
        nonApribile("T_ORDINI");
        return;
    }
    m_op.Tabelle_Aperte();
}

void Gestione_Cliente::Database_Non_Valido() {
    if (!m_sessione.Password_Errata) {
        m_sessione.boxes().message(QStringLiteral("DataBase not valid! Please repeat Download!"));
        try {
            m_sessione.connessione().close(true);
        } catch (const db::DatabaseError&) {
            // The file is deleted next.
        }
        const InstallFolder& cartella = m_sessione.cartella();
        QFile::remove(cartella.path(QString::fromLatin1(InstallFolder::kDatabaseArchive)));
        QFile::remove(cartella.path(QString::fromLatin1(InstallFolder::kDatabase)));
    }
    m_op.Chiudi_Programma();
}

}  // namespace velmora
