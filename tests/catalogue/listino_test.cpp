#include "catalogue/Listino.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/Cliente.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

class Passi final : public Progresso {
public:
    void inizia(int massimo) override { this->massimo = massimo; }
    void avanza() override { ++fatti; }
    int massimo = -1;
    int fatti = 0;
};

fixtures::Articolo articolo(const char* codice, const char* gr = "G1", const char* stato = "0") {
    fixtures::Articolo a;
    a.codice = QString::fromLatin1(codice);
    a.gr = QString::fromLatin1(gr);
    a.sg = QStringLiteral("S1");
    a.stato = QString::fromLatin1(stato);
    a.codeNum = 42.5;
    a.peso = 1.25;
    a.metri1 = 0.5;
    return a;
}

struct Riga {
    QString descrizione;
    QVariant memo;
    double prezzo, sc1, sc2, netto, listino, sconto;
    QString barcode, stato, image, scQta, scQtaCum;
    QVariant gruppone, iva, dataList, qtaConf;
};

class ListinoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dati = fixtures::minimo();
        m_dati.gruppi.push_back({QStringLiteral("G2"), QStringLiteral("BG2")});
        m_dati.gruppi.push_back({QStringLiteral("G3"), QStringLiteral("BG")});
        for (int l = 0; l < 4; ++l) {
            m_dati.grupponi.push_back({QStringLiteral("BG2"), l, QStringLiteral("Utensili")});
            m_dati.grupponi.push_back({QStringLiteral("BG9"), l, QStringLiteral("Unused")});
            m_dati.sottogruppi.push_back(
                {QStringLiteral("G2"), QStringLiteral("S1"), l, QStringLiteral("Pinze")});
            m_dati.sottogruppi.push_back(
                {QStringLiteral("G9"), QStringLiteral("S1"), l, QStringLiteral("Unused")});
        }
        m_dati.sconti.push_back({1001, QStringLiteral("G1"), 10.0, 5.0});
        m_dati.sconti.push_back({1001, QStringLiteral("G3"), 10.0, -5.0});
        const QDateTime data(QDate(2026, 3, 1), QTime(0, 0));
        const auto prezzo = [&](const char* codice, QVariant valore, int listino = 1) {
            m_dati.prezzi.push_back({QString::fromLatin1(codice), 0, listino, valore, data});
        };
        const auto desc = [&](const char* codice, int lingua, const QString& testo, QVariant note = {}) {
            m_dati.descrizioni.push_back(
                {QString::fromLatin1(codice), lingua, testo, note, testo.left(60), QString()});
        };

        m_dati.articoli.push_back(articolo("A1"));  // list 100, discounts 10 and 5
        prezzo("A1", 100.0);
        prezzo("A1", 999.0, 2);  // another price list
        desc("A1", 0, QStringLiteral("\t Vite zincata\x01 "), QStringLiteral("Nota"));
        desc("A1", 2, QStringLiteral("Zinc screw"));
        m_dati.fasceArticolo.push_back({QStringLiteral("A1"), {}, {}, 1, 1, 1, 10, 2});

        m_dati.articoli.push_back(articolo("A2", "G1", "3"));  // state 3: zero prices
        prezzo("A2", 50.0);
        m_dati.articoli.push_back(articolo("A3", "G2", "4"));  // reserved to this customer
        m_dati.articoli.back().riservCli = 1001;
        m_dati.articoli.push_back(articolo("A4", "G2", "4"));  // reserved to another
        m_dati.articoli.back().riservCli = 1002;
        m_dati.articoli.push_back(articolo("A5", "G2", "1"));  // never read
        m_dati.articoli.push_back(articolo("A6"));             // no list price: raised to the net price
        m_dati.prezziCliente.push_back({1001, QStringLiteral("A6"), 50.0});
        m_dati.articoli.push_back(articolo("A7", "G2"));  // list price below the net price
        prezzo("A7", 40.0);
        m_dati.prezziCliente.push_back({1001, QStringLiteral("A7"), 50.0});
        m_dati.articoli.push_back(articolo("A8", "G3"));  // no discount: 10 goes, -5 stays
        m_dati.articoli.back().noSconto = QStringLiteral("T");
        prezzo("A8", 100.0);
        m_dati.articoli.push_back(articolo("A9", "G2"));  // special percentage 10
        prezzo("A9", 20.0);
        m_dati.speciali.push_back({1001, 1, QStringLiteral("A9"), 10.0});
        m_dati.articoli.push_back(articolo("B1", "G2"));  // special percentage -10
        prezzo("B1", 20.0);
        m_dati.speciali.push_back({1001, 1, QStringLiteral("B1"), -10.0});
        m_dati.articoli.push_back(
            articolo("B2", "G2"));  // special percentage of another list, and a null one
        prezzo("B2", 20.0);
        m_dati.speciali.push_back({1001, 2, QStringLiteral("B2"), 10.0});
        m_dati.articoli.push_back(articolo("B3", "G2"));  // special percentage null
        prezzo("B3", 20.0);
        m_dati.speciali.push_back({1001, 1, QStringLiteral("B3"), QVariant()});
        m_dati.articoli.push_back(articolo("B4", "G2"));  // description only in English, odd code number
        m_dati.articoli.back().codeNum = 43.5;
        desc("B4", 2, QStringLiteral("Pliers"));
        m_dati.articoli.push_back(articolo("B5", "G2"));  // no description at all, all nulls
        m_dati.articoli.push_back(articolo("ZZZZZZZZZZZZZZZZZZZZZZZZZZZZ"));  // after the upper bound
        m_dati.articoli.push_back(articolo("a1"));  // small letters sort after it too
        m_dati.articoli.back().flagImmagine = QStringLiteral("T");
        m_dati.articoli.front().flagImmagine = QStringLiteral("T");
        m_dati.articoli.front().qtaConf = 25.0;
        m_dati.fasceSottogruppo.push_back({{}, QStringLiteral("G1"), QStringLiteral("S1"), 1, 1, 1, 100, 3});
        m_dati.fasceCumulative.push_back({{}, QStringLiteral("G2"), QStringLiteral("S1"), 1, 1, 1, 500, 4});
        m_dati.fasceArticolo.push_back({QStringLiteral("A7"), {}, {}, 2, 1, 1, 10, 2});  // another list
    }

    void firma(int codice = 1001) {
        if (codice != 1001) {
            m_dati.clienti.front().codice = codice;
            for (auto& s : m_dati.sconti) {
                s.cliente = codice;
            }
            for (auto& s : m_dati.speciali) {
                s.cliente = codice;
            }
            for (auto& p : m_dati.prezziCliente) {
                p.cliente = codice;
            }
        }
        m_root = m_dir.filePath(QStringLiteral("VELMORA"));
        fixtures::crea(m_root, m_dati);
        m_sessione = std::make_unique<Sessione>(InstallFolder(m_root), m_boxes, m_shell, m_clock);
        m_sessione->Connetti();
        m_finestra = std::make_unique<Operazioni_Senza_Finestra>(*m_sessione);
        m_cliente = std::make_unique<Gestione_Cliente>(*m_sessione, *m_finestra);
        m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
        ASSERT_FALSE(m_sessione->Programma_Terminato);
    }

    void costruisci() { Costruzione_Listino(*m_sessione, *m_cliente).Crea_Listino(&m_passi); }

    std::map<QString, Riga> righe() {
        std::map<QString, Riga> out;
        db::Statement query(m_sessione->connessione(), QStringLiteral("SELECT * FROM LISTINO"));
        query.open();
        while (query.next()) {
            Riga r;
            r.descrizione = query.value("DESCRIZIONE").toString();
            r.memo = query.value("MEMO");
            r.prezzo = query.value("PREZZO").toDouble();
            r.sc1 = query.value("SC1").toDouble();
            r.sc2 = query.value("SC2").toDouble();
            r.netto = query.value("NETTO").toDouble();
            r.listino = query.value("PREZZO_LIST").toDouble();
            r.sconto = query.value("SCONTO").toDouble();
            r.barcode = query.value("BARCODE").toString();
            r.stato = query.value("STATO").toString();
            r.image = query.value("IMAGE").toString();
            r.scQta = query.value("SC_QTA").toString();
            r.scQtaCum = query.value("SC_QTA_CUM").toString();
            r.gruppone = query.value("GRUPPONE");
            r.iva = query.value("IVA");
            r.dataList = query.value("DATA_LIST");
            r.qtaConf = query.value("QTA_CONF");
            out[query.value("CODICE").toString()] = r;
        }
        return out;
    }

    QTemporaryDir m_dir;
    QString m_root;
    fixtures::Dati m_dati;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    std::unique_ptr<Sessione> m_sessione;
    std::unique_ptr<Operazioni_Senza_Finestra> m_finestra;
    std::unique_ptr<Gestione_Cliente> m_cliente;
    Passi m_passi;
};

TEST_F(ListinoTest, EveryRuleOfTheBuild) {
    firma();
    costruisci();
    const auto r = righe();
    QStringList codici;
    for (const auto& [codice, riga] : r) {
        codici << codice;
    }
    EXPECT_EQ(codici, (QStringList{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"),
                                   QStringLiteral("A6"), QStringLiteral("A7"), QStringLiteral("A8"),
                                   QStringLiteral("A9"), QStringLiteral("B1"), QStringLiteral("B2"),
                                   QStringLiteral("B3"), QStringLiteral("B4"), QStringLiteral("B5")}));
    // Articles read: every one but state 1 and the codes after the bound; A4 is read, not written.
    EXPECT_EQ(m_passi.massimo, 13);
    EXPECT_EQ(m_passi.fatti, 13);

    const Riga& a1 = r.at(QStringLiteral("A1"));
    EXPECT_EQ(a1.descrizione, QStringLiteral("Vite zincata"));
    EXPECT_EQ(a1.memo.toString(), QStringLiteral("Nota\r\n"));
    EXPECT_DOUBLE_EQ(a1.prezzo, 100);
    EXPECT_DOUBLE_EQ(a1.sc1, 10);
    EXPECT_DOUBLE_EQ(a1.sc2, 5);
    EXPECT_DOUBLE_EQ(a1.netto, 85.5);
    EXPECT_DOUBLE_EQ(a1.listino, 100);
    EXPECT_DOUBLE_EQ(a1.sconto, 14.5);
    EXPECT_EQ(a1.barcode, QStringLiteral("801234500042"));  // 42.5 rounds to even
    EXPECT_EQ(a1.image, QStringLiteral("T"));
    EXPECT_EQ(a1.scQta, QStringLiteral("T"));  // its own bands
    EXPECT_EQ(a1.scQtaCum, QStringLiteral("F"));
    EXPECT_EQ(a1.gruppone.toString(), QStringLiteral("BG"));
    EXPECT_TRUE(a1.iva.isNull());
    EXPECT_EQ(a1.dataList.toDateTime().date(), QDate(2026, 3, 1));
    EXPECT_DOUBLE_EQ(a1.qtaConf.toDouble(), 25);

    const Riga& a2 = r.at(QStringLiteral("A2"));
    EXPECT_EQ(a2.stato, QStringLiteral("3"));
    for (double v : {a2.prezzo, a2.sc1, a2.sc2, a2.netto, a2.listino, a2.sconto}) {
        EXPECT_EQ(v, 0);
    }
    EXPECT_EQ(a2.scQta, QStringLiteral("T"));  // the subgroup's bands
    EXPECT_EQ(a2.image, QStringLiteral("F"));

    const Riga& a6 = r.at(QStringLiteral("A6"));
    EXPECT_DOUBLE_EQ(a6.netto, 42.75);
    EXPECT_DOUBLE_EQ(a6.listino, 42.75);
    EXPECT_DOUBLE_EQ(a6.sconto, 0);
    EXPECT_TRUE(a6.dataList.isNull());

    const Riga& a7 = r.at(QStringLiteral("A7"));
    EXPECT_DOUBLE_EQ(a7.netto, 50);
    EXPECT_DOUBLE_EQ(a7.sconto, -25);
    EXPECT_DOUBLE_EQ(a7.listino, 50);
    EXPECT_EQ(a7.scQta, QStringLiteral("F"));  // bands of another price list
    EXPECT_EQ(a7.scQtaCum, QStringLiteral("T"));
    EXPECT_EQ(a7.gruppone.toString(), QStringLiteral("BG2"));

    const Riga& a8 = r.at(QStringLiteral("A8"));
    EXPECT_DOUBLE_EQ(a8.sc1, 0);
    EXPECT_DOUBLE_EQ(a8.sc2, -5);
    EXPECT_DOUBLE_EQ(a8.netto, 105);

    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("A9")).prezzo, 18);
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("B1")).prezzo, 22);
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("B2")).prezzo, 20);
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("B3")).prezzo, 20);

    EXPECT_EQ(r.at(QStringLiteral("B4")).descrizione, QStringLiteral("Pliers"));
    EXPECT_EQ(r.at(QStringLiteral("B4")).barcode, QStringLiteral("801234500044"));
    const Riga& b5 = r.at(QStringLiteral("B5"));
    EXPECT_EQ(b5.descrizione, QString());
    EXPECT_TRUE(b5.memo.isNull());
    EXPECT_DOUBLE_EQ(b5.prezzo, 0);
    EXPECT_DOUBLE_EQ(b5.listino, 0);

    // The group upkeep kept only what the price list uses.
    db::Statement gruppi(m_sessione->connessione(),
                         QStringLiteral("SELECT DISTINCT GRL_CODICE FROM T_AN3_4LG ORDER BY GRL_CODICE"));
    gruppi.open();
    QStringList usati;
    while (gruppi.next()) {
        usati << gruppi.value(0).toString();
    }
    EXPECT_EQ(usati, (QStringList{QStringLiteral("G1"), QStringLiteral("G2")}));
    db::Statement grupponi(m_sessione->connessione(),
                           QStringLiteral("SELECT GRP_CODICE FROM T_GRUPPONI ORDER BY GRP_CODICE"));
    grupponi.open();
    QStringList rimasti;
    while (grupponi.next()) {
        rimasti << grupponi.value(0).toString();
    }
    EXPECT_EQ(rimasti, (QStringList{QStringLiteral("BG"), QStringLiteral("BG2")}));
    // Twice in a row deletes nothing more.
    Pulisci_Gruppi(m_sessione->connessione());
    db::Statement conta(m_sessione->connessione(), QStringLiteral("SELECT COUNT(*) FROM T_AN3_4LG"));
    ASSERT_TRUE(conta.first());
    EXPECT_EQ(conta.value(0).toInt(), 8);
}

TEST_F(ListinoTest, Customer1792SeesNoOverallDiscount) {
    firma(1792);
    costruisci();
    const auto r = righe();
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("A1")).netto, 85.5);
    for (const auto& [codice, riga] : r) {
        EXPECT_EQ(riga.sconto, 0) << codice.toStdString();
    }
    EXPECT_EQ(r.count(QStringLiteral("A3")), 0u);  // reserved to 1001
}

TEST_F(ListinoTest, RoundingFollowsThePriceSettings) {
    m_dati.progr.decimaliUnitari = 0;
    m_dati.progr.modoUnitari = QStringLiteral("E");
    m_dati.prezziCliente.push_back({1001, QStringLiteral("B5"), 10.2});
    firma();
    costruisci();
    const auto r = righe();
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("A1")).netto, 86);  // 85.5 away from zero
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("B5")).prezzo, 11);
    EXPECT_EQ(m_sessione->maschere.prezzoListino, QStringLiteral(",0"));
}

TEST_F(ListinoTest, FailuresStopTheBuildAndKeepTheRowsWritten) {
    // A description longer than the column: the insert of A6 fails, A1 to A3 stay.
    m_dati.descrizioni.push_back(
        {QStringLiteral("A6"), 0, QString(240, QLatin1Char('x')), {}, QString(), QString()});
    firma();
    try {
        costruisci();
        FAIL() << "no error";
    } catch (const db::DatabaseError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("truncation"))) << e.text().toStdString();
    }
    EXPECT_EQ(righe().size(), 3u);
}

TEST_F(ListinoTest, MissingProcedureOrBadDecimalsOrOverflow) {
    struct Case {
        const char* nome;
        std::function<void(fixtures::Dati&)> prepara;
        QString errore;
    } cases[] = {
        {"procedure", [](fixtures::Dati& d) { d.senzaProcedura = true; }, Calcolo_Prezzo::kErrore},
        {"decimals", [](fixtures::Dati& d) { d.progr.decimaliUnitari = 17; },
         QStringLiteral("DIV_DEC_AR_UN is 17")},
        {"overflow",
         [](fixtures::Dati& d) {
             d.prezziCliente.push_back({1001, QStringLiteral("A1"), 1e14});
         },
         QStringLiteral("too large")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nome);
        SetUp();
        c.prepara(m_dati);
        QFile::remove(m_dir.filePath(QStringLiteral("VELMORA/DATI.IDB")));
        firma();
        try {
            costruisci();
            ADD_FAILURE() << "no error";
        } catch (const std::exception& e) {
            EXPECT_TRUE(Testo_Errore(e).contains(c.errore)) << Testo_Errore(e).toStdString();
        }
        EXPECT_EQ(righe().size(), 0u);
        m_sessione->connessione().close(false);
    }
}

TEST_F(ListinoTest, SelectableProcedureGivesTheSamePrices) {
    m_dati.proceduraSelezionabile = true;
    firma();
    costruisci();
    const auto r = righe();
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("A1")).netto, 85.5);
    EXPECT_DOUBLE_EQ(r.at(QStringLiteral("A9")).prezzo, 18);
}

}  // namespace
}  // namespace velmora
