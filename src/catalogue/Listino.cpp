#include "catalogue/Listino.h"

#include <cmath>

#include <QHash>

#include "app/Cliente.h"
#include "catalogue/Generale.h"

namespace velmora {

const QString Calcolo_Prezzo::kErrore = QStringLiteral("Impossibile individuare il prezzo di vendita");
const QString Costruzione_Listino::kFineCodici = QString(27, QLatin1Char('Z'));

namespace {

const QString kM = QStringLiteral("M");

long double numero(const QVariant& value) {
    return value.isNull() ? 0.0L : static_cast<long double>(value.toDouble());
}

}  // namespace

Calcolo_Prezzo::Calcolo_Prezzo(db::Connection& connection)
    : m_connessione(connection),
      m_procedura(connection,
                  QStringLiteral("EXECUTE PROCEDURE TROVA_PREZZO_VENDITA :CLIENTE, :LISTINO, :DEPOSITO, "
                                 ":ARTICOLO, :CONTATTO")),
      m_speciale(connection, QStringLiteral("SELECT * FROM T_AN2_12\nWHERE\nCLS_CLIENTE = :CLS_CLIENTE AND\n"
                                            "CLS_LISTINO = :CLS_LISTINO AND\nCLS_ARTICOLO = :CLS_ARTICOLO")) {
}

void Calcolo_Prezzo::Prepara_Speciali(int cliente, int listino) {
    m_speciali = true;
    m_specialiFalliti = false;
    m_cliente = cliente;
    m_listino = listino;
    m_conSpeciale.clear();
    try {
        db::Statement articoli(
            m_connessione,
            QStringLiteral(
                "SELECT DISTINCT CLS_ARTICOLO FROM T_AN2_12 WHERE CLS_CLIENTE = :C AND CLS_LISTINO = :L"));
        articoli.set(QStringLiteral("C"), cliente);
        articoli.set(QStringLiteral("L"), listino);
        articoli.open();
        while (articoli.next()) {
            m_conSpeciale.insert(articoli.value(0).toString());
        }
    } catch (const db::DatabaseError&) {
        // The special-price query fails at the first article, as it would have.
        m_specialiFalliti = true;
    }
}

void Calcolo_Prezzo::Calcola_Prezzo_Cliente(int cliente, int listino, const QString& articolo, int deposito,
                                            const Precisione& precisione, Val_Record& risultato) {
    risultato = Val_Record{};
    long double percentuale = 0;
    try {
        m_procedura.set(QStringLiteral("CLIENTE"), cliente);
        m_procedura.set(QStringLiteral("LISTINO"), listino);
        m_procedura.set(QStringLiteral("DEPOSITO"), deposito);
        m_procedura.set(QStringLiteral("ARTICOLO"), articolo);
        m_procedura.set(QStringLiteral("CONTATTO"), 0);
        m_procedura.execute();
        risultato.Valore = numero(m_procedura.value(0));
        risultato.Sconto_1 = numero(m_procedura.value(1));
        risultato.Sconto_2 = numero(m_procedura.value(2));

        const bool noto = m_speciali && cliente == m_cliente && listino == m_listino;
        if (noto && m_specialiFalliti) {
            throw db::DatabaseError(kErrore);
        }
        if (!noto || m_conSpeciale.contains(articolo)) {
            m_speciale.set(QStringLiteral("CLS_CLIENTE"), cliente);
            m_speciale.set(QStringLiteral("CLS_LISTINO"), listino);
            m_speciale.set(QStringLiteral("CLS_ARTICOLO"), articolo);
            if (m_speciale.first()) {
                percentuale = numero(m_speciale.value("CLS_SCONTO_VASK"));
            }
            m_speciale.closeCursor();
        }
    } catch (const db::DatabaseError&) {
        throw db::DatabaseError(kErrore);
    }
    if (percentuale != 0) {
        const long double copia = risultato.Valore;
        try {
            const long double ridotto = risultato.Valore - risultato.Valore * percentuale / 100;
            risultato.Valore =
                Generale::Arrotonda(precisione.decimaliUnitari, precisione.modoUnitari, ridotto);
        } catch (const std::exception&) {
            risultato.Valore = copia;
        }
    }
}

QString Pulisci_Descrizione(const QString& testo) {
    qsizetype start = 0;
    qsizetype end = testo.size();
    const auto vuoto = [](QChar c) { return c.unicode() <= 0x20 || c.category() == QChar::Other_Control; };
    while (start < end && vuoto(testo[start])) {
        ++start;
    }
    while (end > start && vuoto(testo[end - 1])) {
        --end;
    }
    return testo.mid(start, end - start);
}

Costruzione_Listino::Costruzione_Listino(Sessione& sessione, Gestione_Cliente& cliente)
    : m_sessione(sessione), m_cliente(cliente) {}

void Costruzione_Listino::Crea_Listino(Progresso* progresso) {
    db::Connection& db = m_sessione.connessione();
    m_righe = 0;
    try {
        db.executeImmediate(QStringLiteral("DELETE FROM LISTINO"));
    } catch (const db::DatabaseError&) {
        // An empty table is what the build starts from anyway.
    }

    std::array<std::int64_t, 7> ean{};
    {
        db::Statement progr(db, QStringLiteral("SELECT * FROM T_PROGR"));
        bool riga = false;
        try {
            riga = progr.first();
        } catch (const db::DatabaseError&) {
        }
        if (!riga) {
            m_cliente.Database_Non_Valido();
            return;
        }
        // Decimals outside 0..15 stop the build here with a message that names the value.
        m_sessione.precisione = Leggi_Precisione(progr);
        for (int i = 0; i < 7; ++i) {
            ean[static_cast<size_t>(i)] = progr.value(QStringLiteral("EAN13_%1").arg(i + 1)).toLongLong();
        }
    }
    const Precisione precisione = m_sessione.precisione;
    m_sessione.maschere = Maschere::Imposta_Formati(precisione.decimaliUnitari, precisione.decimaliImporti);

    const QString where =
        QStringLiteral("WHERE\nART_CODICE BETWEEN :Art_In AND :Art_Fin\nAND ART_STATO <> 1\n");
    db::Statement articoli(
        db, QStringLiteral(
                "SELECT\nART_CODICE,\nART_GR,\nART_SG,\nART_UM,\nART_NO_SCONTO,\nART_FLAG_IMMAGINE,\n"
                "CAST(ART_STATO AS VARCHAR(1)) AS "
                "ART_STATO,\nART_CODE_NUM,\nART_NR_CATALOGO,\nART_PAG_CATALOGO,\n"
                "ART_RISERV_CLI,\nART_DATA_VARIAZIONE_VASK,\nART_METRI_1,\nART_METRI_2,\nART_METRI_3,\nART_"
                "PESO,\n"
                "APR_QTA_CONF\nFROM T_AN7\nLEFT JOIN T_AN7_PR\nON T_AN7_PR.APR_ARTICOLO = T_AN7.ART_CODICE\n"
                "AND T_AN7_PR.APR_DEPOSITO = 0\n") +
                where + QStringLiteral("ORDER BY ART_CODICE"));
    db::Statement conta(db, QStringLiteral("SELECT COUNT(*) FROM T_AN7\n") + where);
    QHash<QString, QVariant> grupponi;
    int totale = 0;
    try {
        // The big group of each group, looked up for every article.
        db::Statement gruppi(db, QStringLiteral("SELECT GR_CODICE, GR_GRUPPONE FROM T_AN3_3"));
        gruppi.open();
        while (gruppi.next()) {
            grupponi.insert(gruppi.value(0).toString(), gruppi.value(1));
        }
        for (db::Statement* s : {&articoli, &conta}) {
            s->set(QStringLiteral("Art_In"), QString());
            s->set(QStringLiteral("Art_Fin"), kFineCodici);
        }
        if (conta.first()) {
            totale = conta.value(0).toInt();
        }
        conta.closeCursor();
        articoli.open();
    } catch (const db::DatabaseError&) {
        m_cliente.Database_Non_Valido();
        return;
    }

    m_cliente.Carica_Cliente(m_sessione.Codice_Cliente);
    if (m_sessione.Programma_Terminato) {
        return;
    }
    const int cliente = m_sessione.Record_Cliente.value(QStringLiteral("CLI_CODICE")).toInt();
    const int listino = m_sessione.Listino_Cliente();
    const int lingua = m_sessione.Lingua_Corrente;
    const bool senzaSconto = m_sessione.Codice_Cliente == 1792;

    Calcolo_Prezzo prezzo(db);
    prezzo.Prepara_Speciali(cliente, listino);
    // The articles with bands of their own in this price list: only those need their query.
    QSet<QString> conFasce;
    bool fasceNote = true;
    try {
        db::Statement proprie(
            db,
            QStringLiteral("SELECT DISTINCT ARTS_ARTICOLO FROM T_AN7FASCE_LS WHERE ARTS_LISTINO = :Listino"));
        proprie.set(QStringLiteral("Listino"), listino);
        proprie.open();
        while (proprie.next()) {
            conFasce.insert(proprie.value(0).toString());
        }
    } catch (const db::DatabaseError&) {
        fasceNote = false;
    }
    db::Statement fasceArticolo(
        db,
        QStringLiteral("SELECT \nARTS_ARTICOLO, \nARTS_CODICE, \nARTS_MAX AS MASSIMO, \nARTS_MIN AS MINIMO, "
                       "\nARTS_SCONTO AS SCONTO\n\n"
                       "FROM T_AN7FASCE_LS\nWHERE\nARTS_ARTICOLO = :Articolo AND\nARTS_LISTINO = :Listino\n"
                       "ORDER BY ARTS_ARTICOLO, ARTS_LISTINO, ARTS_CODICE"));
    db::Statement fasceSottogruppo(
        db, QStringLiteral(
                "SELECT\nSGFL_CODICE, \nSGFL_GRUPPO, \nSGFL_LISTINO, \nSGFL_MAX AS MASSIMO, \nSGFL_MIN AS "
                "MINIMO, \n"
                "SGFL_SCONTO AS SCONTO, \nSGFL_SOTTOGR\nFROM T_AN3_4FASCE_LS\nWHERE\nSGFL_GRUPPO = :Gr AND\n"
                "SGFL_SOTTOGR = :Sg AND\nSGFL_LISTINO = :Listino\nORDER BY SGFL_GRUPPO, SGFL_SOTTOGR, "
                "SGFL_LISTINO, SGFL_CODICE"));
    db::Statement fasceCumulative(
        db, QStringLiteral(
                "SELECT\n\nCUM_GR, \nCUM_LISTINO, \nCUM_MAX AS MASSIMO, \nCUM_MIN AS MINIMO, \nCUM_PROGR, \n"
                "CUM_SCONTO AS SCONTO, \nCUM_SG\n\nFROM SG_SCQTA_CUM \nWHERE\nCUM_GR = :Gr AND\nCUM_SG = :Sg "
                "AND\n"
                "CUM_LISTINO = :Listino\nORDER BY CUM_GR, CUM_SG, CUM_LISTINO, CUM_PROGR"));
    db::Statement descrizione(
        db, QStringLiteral(
                "SELECT\nALG_DESCRIZIONE,\nALG_DESCR_AGG,\nALG_DES_LUNGA,\nALG_NOTE\nFROM T_AN7_LG\nWHERE\n"
                "ALG_ARTICOLO = :Cod AND\nALG_LINGUA = :Lingua"));
    db::Statement prezzoListino(
        db, QStringLiteral("SELECT ALS_PREZZO, ALS_ULT_DATA FROM T_AN7_LS\nWHERE\nALS_ARTICOLO = :Cod "
                           "AND\nALS_DEPOSITO = :Dep AND\n"
                           "ALS_LISTINO = :Listino"));
    db::Statement inserisci(db, QStringLiteral("INSERT INTO LISTINO (CODICE, DESCRIZIONE, MEMO, UM, IVA, GR, "
                                               "SG, GRUPPONE, PREZZO, SC1, SC2, NETTO, "
                                               "PREZZO_LIST, SCONTO, IMAGE, DATA_LIST, BARCODE, STATO, "
                                               "SC_QTA, SC_QTA_CUM, METRI_1, METRI_2, METRI_3, PESO, "
                                               "QTA_CONF) VALUES (:CODICE, :DESCRIZIONE, :MEMO, :UM, :IVA, "
                                               ":GR, :SG, :GRUPPONE, :PREZZO, :SC1, :SC2, :NETTO, "
                                               ":PREZZO_LIST, :SCONTO, :IMAGE, :DATA_LIST, :BARCODE, :STATO, "
                                               ":SC_QTA, :SC_QTA_CUM, :METRI_1, :METRI_2, "
                                               ":METRI_3, :PESO, :QTA_CONF)"));
    struct Fasce_Gruppo {
        bool sottogruppo = false;
        bool cumulative = false;
    };
    QHash<QString, Fasce_Gruppo> fasceGruppo;
    const QString kT = QStringLiteral("T");
    const QString kF = QStringLiteral("F");
    const QString kCrLf = QStringLiteral("\r\n");

    if (progresso) {
        progresso->inizia(totale);
    }
    Val_Record valori;
    while (articoli.next()) {
        const QString codice = articoli.value(0).toString();
        const QString gr = articoli.value(1).toString();
        const QString sg = articoli.value(2).toString();
        const QVariant grVar = articoli.value(1);
        const QVariant sgVar = articoli.value(2);

        prezzo.Calcola_Prezzo_Cliente(cliente, listino, codice, 0, precisione, valori);
        long double lordo = valori.Valore;
        long double sc1 = valori.Sconto_1;
        long double sc2 = valori.Sconto_2;

        // Band flags; a failure here leaves them as far as they got. The subgroup's bands and its
        // cumulative bands are the same for every article of the subgroup: each pair is asked once.
        QString scQta = kF;
        QString scQtaCum = kF;
        try {
            bool proprie = false;
            if (!fasceNote || conFasce.contains(codice)) {
                fasceArticolo.set(QStringLiteral("Articolo"), codice);
                fasceArticolo.set(QStringLiteral("Listino"), listino);
                proprie = fasceArticolo.first();
                fasceArticolo.closeCursor();
            }
            const QString chiave =
                gr + QChar(0) + sg + QChar(grVar.isNull() ? 'n' : 'v') + QChar(sgVar.isNull() ? 'n' : 'v');
            auto fasce = fasceGruppo.constFind(chiave);
            if (fasce == fasceGruppo.cend()) {
                Fasce_Gruppo trovate;
                fasceSottogruppo.set(QStringLiteral("Gr"), grVar);
                fasceSottogruppo.set(QStringLiteral("Sg"), sgVar);
                fasceSottogruppo.set(QStringLiteral("Listino"), listino);
                trovate.sottogruppo = fasceSottogruppo.first();
                fasceSottogruppo.closeCursor();
                fasceCumulative.set(QStringLiteral("Gr"), grVar);
                fasceCumulative.set(QStringLiteral("Sg"), sgVar);
                fasceCumulative.set(QStringLiteral("Listino"), listino);
                trovate.cumulative = fasceCumulative.first();
                fasceCumulative.closeCursor();
                fasce = fasceGruppo.insert(chiave, trovate);
            }
            if (proprie || fasce->sottogruppo) {
                scQta = kT;
            }
            if (fasce->cumulative) {
                scQtaCum = kT;
            }
        } catch (const db::DatabaseError&) {
        }

        if (articoli.value(4).toString() == kT) {  // ART_NO_SCONTO: discounts go, surcharges stay
            if (sc1 > 0) {
                sc1 = 0;
            }
            if (sc2 > 0) {
                sc2 = 0;
            }
        }
        long double netto = Generale::Netto_Sconti(5, kM, lordo, sc1, sc2, 0);

        QString testo;
        QVariant note;
        descrizione.set(QStringLiteral("Cod"), codice);
        descrizione.set(QStringLiteral("Lingua"), lingua);
        bool trovata = descrizione.first();
        if (!trovata) {
            descrizione.set(QStringLiteral("Lingua"), 2);
            trovata = descrizione.first();
        }
        if (trovata) {
            testo = descrizione.value(2).toString();
            note = descrizione.value(3);
        }
        descrizione.closeCursor();
        const QString memo = note.isNull() ? QString() : note.toString() + kCrLf;

        prezzoListino.set(QStringLiteral("Cod"), codice);
        prezzoListino.set(QStringLiteral("Dep"), 0);
        prezzoListino.set(QStringLiteral("Listino"), listino);
        long double listinoPrezzo = 0;
        QVariant dataListino;
        if (prezzoListino.first()) {
            listinoPrezzo = numero(prezzoListino.value(0));
            dataListino = prezzoListino.value(1);
        }
        prezzoListino.closeCursor();

        long double sconto = 0;
        if (listinoPrezzo != 0 && netto != 0) {
            try {
                sconto = Generale::Arrotonda(2, kM, (listinoPrezzo - netto) * 100 / listinoPrezzo);
            } catch (const std::exception&) {
                sconto = 0;
            }
        }
        if (senzaSconto) {
            sconto = 0;
        }
        const QVariant codeNum = articoli.value(7);
        const QString barcode = Generale::Componi_Barcode(
            ean, codeNum.isNull() ? 0 : static_cast<std::int64_t>(std::nearbyint(codeNum.toDouble())));

        sc1 = Generale::Arrotonda(2, kM, sc1);
        sc2 = Generale::Arrotonda(2, kM, sc2);
        sconto = Generale::Arrotonda(2, kM, sconto);
        lordo = Generale::Arrotonda(precisione.decimaliUnitari, precisione.modoUnitari, lordo);
        netto = Generale::Arrotonda(precisione.decimaliUnitari, precisione.modoUnitari, netto);
        listinoPrezzo =
            Generale::Arrotonda(precisione.decimaliUnitari, precisione.modoUnitari, listinoPrezzo);
        if (listinoPrezzo < netto) {
            listinoPrezzo = netto;
        }

        const QString stato = articoli.value(6).toString();
        const bool scrivi = stato != QLatin1String("1") &&
                            !(stato == QLatin1String("4") && articoli.value(10).toInt() != cliente);
        if (stato == QLatin1String("3")) {
            sc1 = sc2 = sconto = lordo = netto = listinoPrezzo = 0;
        }
        if (scrivi) {
            inserisci.set(QStringLiteral("CODICE"), codice);
            inserisci.set(QStringLiteral("DESCRIZIONE"), Pulisci_Descrizione(testo));
            inserisci.set(QStringLiteral("MEMO"), memo.isEmpty() ? QVariant() : QVariant(memo));
            inserisci.set(QStringLiteral("UM"), articoli.value(3));
            inserisci.set(QStringLiteral("IVA"), QVariant());
            inserisci.set(QStringLiteral("GR"), grVar);
            inserisci.set(QStringLiteral("SG"), sgVar);
            inserisci.set(QStringLiteral("GRUPPONE"), grupponi.value(gr));
            inserisci.set(QStringLiteral("PREZZO"), static_cast<double>(lordo));
            inserisci.set(QStringLiteral("SC1"), static_cast<double>(sc1));
            inserisci.set(QStringLiteral("SC2"), static_cast<double>(sc2));
            inserisci.set(QStringLiteral("NETTO"), static_cast<double>(netto));
            inserisci.set(QStringLiteral("PREZZO_LIST"), static_cast<double>(listinoPrezzo));
            inserisci.set(QStringLiteral("SCONTO"), static_cast<double>(sconto));
            inserisci.set(QStringLiteral("IMAGE"), articoli.value(5).toString() == kT ? kT : kF);
            inserisci.set(QStringLiteral("DATA_LIST"), dataListino);
            inserisci.set(QStringLiteral("BARCODE"), barcode);
            inserisci.set(QStringLiteral("STATO"), articoli.value(6));
            inserisci.set(QStringLiteral("SC_QTA"), scQta);
            inserisci.set(QStringLiteral("SC_QTA_CUM"), scQtaCum);
            inserisci.set(QStringLiteral("METRI_1"), articoli.value(12));
            inserisci.set(QStringLiteral("METRI_2"), articoli.value(13));
            inserisci.set(QStringLiteral("METRI_3"), articoli.value(14));
            inserisci.set(QStringLiteral("PESO"), articoli.value(15));
            inserisci.set(QStringLiteral("QTA_CONF"), articoli.value(16));
            inserisci.execute();
            ++m_righe;
        }
        if (progresso) {
            progresso->avanza();
        }
    }
    articoli.closeCursor();
    Pulisci_Gruppi(db);
}

void Pulisci_Gruppi(db::Connection& db) {
    db::Statement sottogruppi(db, QStringLiteral("SELECT GR,SG FROM LISTINO\nGROUP BY GR,SG"));
    db::Statement marcaSottogruppo(db,
                                   QStringLiteral("UPDATE T_AN3_4LG SET SGL_STAT_3 = 'T'\nWHERE\nGRL_CODICE "
                                                  "= :GRL_CODICE AND\nSGL_CODICE = :SGL_CODICE"));
    sottogruppi.open();
    while (sottogruppi.next()) {
        marcaSottogruppo.set(QStringLiteral("GRL_CODICE"), sottogruppi.value(0));
        marcaSottogruppo.set(QStringLiteral("SGL_CODICE"), sottogruppi.value(1));
        marcaSottogruppo.execute();
    }
    db.executeImmediate(
        QStringLiteral("DELETE FROM T_AN3_4LG\nWHERE SGL_STAT_3 IS NULL OR SGL_STAT_3 <> 'T'"));

    db::Statement grupponi(db, QStringLiteral("SELECT GRUPPONE FROM LISTINO\nGROUP BY GRUPPONE"));
    db::Statement marcaGruppone(
        db, QStringLiteral("UPDATE T_GRUPPONI SET GRP_STAT_3 = 'T'\nWHERE GRP_CODICE = :GRP_CODICE"));
    grupponi.open();
    while (grupponi.next()) {
        marcaGruppone.set(QStringLiteral("GRP_CODICE"), grupponi.value(0));
        marcaGruppone.execute();
    }
    db.executeImmediate(
        QStringLiteral("DELETE FROM T_GRUPPONI\nWHERE GRP_STAT_3 IS NULL OR GRP_STAT_3 <> 'T'"));
}

}  // namespace velmora
