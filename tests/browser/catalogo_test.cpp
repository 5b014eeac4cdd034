#include "browser/Catalogo.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/Sessione.h"
#include "browser/Modello_Catalogo.h"
#include "browser/ui/Pagina_Catalogo.h"
#include "catalogue/Tabelle_Lavoro.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

struct Articolo {
    const char* codice;
    const char* descrizione;
    double listino;
    double netto;
    double sconto;
    const char* gruppone;
    const char* gr;
    const char* sg;
    const char* barcode;  // nullptr: null
    const char* stato;
    const char* preferiti;  // nullptr: null
    const char* image;
    int giorniFa;
};

// A price list written directly, with exact values for every rule of the grid.
const Articolo kArticoli[] = {
    {"AB1", "Vite zincata", 10, 9, 10, "B1", "G1", "S1", "800100", "0", "T", "T", 10},
    {"CD2", "Bullone ab", 30, 30, 0, "B1", "G1", "S2", "801000", "2", nullptr, "F", 5},
    {"EF3", "Dado AB", 20, 25, -25, "B2", "G2", "S1", "900000", "3", "T", "F", 20},
    {"GH 4", "Rondella", 5, 4, 20, "B2", "G2", "S1", "", "4", nullptr, "T", 1},
    {"IJ5", "Tassello 100% nylon", 12.5, 11, 12.5, "B1", "G3", "S1", nullptr, "0", nullptr, "F", 30},
    {"KL6", "Chiodo_speciale", 999999999, 1, 0, "B3", "G3", "S2", "700000", "1", nullptr, "F", 2},
};

class CatalogoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = m_dir.filePath(QStringLiteral("VELMORA"));
        fixtures::crea(m_root, fixtures::minimo());
        m_sessione = std::make_unique<Sessione>(InstallFolder(m_root), m_boxes, m_shell, m_clock);
        m_sessione->Connetti();
        db::Connection& db = m_sessione->connessione();
        ASSERT_TRUE(Crea_Tabella_Listino(db, m_boxes));
        ASSERT_TRUE(Crea_Tabelle_Ordini(db, m_boxes));
        db.commit();
        db::Statement ins(db, QStringLiteral("INSERT INTO LISTINO (CODICE, DESCRIZIONE, PREZZO_LIST, NETTO, "
                                             "SCONTO, GRUPPONE, GR, SG, BARCODE, STATO, "
                                             "PREFERITI, IMAGE, DATA_LIST, MEMO) VALUES (:C, :D, :PL, :N, "
                                             ":S, :GP, :GR, :SG, :B, :ST, :P, :I, :DT, :M)"));
        for (const Articolo& a : kArticoli) {
            ins.set(QStringLiteral("C"), QString::fromLatin1(a.codice));
            ins.set(QStringLiteral("D"), QString::fromLatin1(a.descrizione));
            ins.set(QStringLiteral("PL"), a.listino);
            ins.set(QStringLiteral("N"), a.netto);
            ins.set(QStringLiteral("S"), a.sconto);
            ins.set(QStringLiteral("GP"), QString::fromLatin1(a.gruppone));
            ins.set(QStringLiteral("GR"), QString::fromLatin1(a.gr));
            ins.set(QStringLiteral("SG"), QString::fromLatin1(a.sg));
            ins.set(QStringLiteral("B"), a.barcode ? QVariant(QString::fromLatin1(a.barcode)) : QVariant());
            ins.set(QStringLiteral("ST"), QString::fromLatin1(a.stato));
            ins.set(QStringLiteral("P"),
                    a.preferiti ? QVariant(QString::fromLatin1(a.preferiti)) : QVariant());
            ins.set(QStringLiteral("I"), QString::fromLatin1(a.image));
            ins.set(QStringLiteral("DT"), QDateTime(QDate(2026, 12, 10).addDays(-a.giorniFa), QTime(0, 0)));
            ins.set(QStringLiteral("M"), QStringLiteral("Note di %1").arg(QString::fromLatin1(a.codice)));
            ins.execute();
        }
        db.executeImmediate(
            QStringLiteral("INSERT INTO ORDINI (CLIENTE, PROGR, CODICE) VALUES (1001, 7, 'CD2')"));
        db.commitRetaining();
        m_sessione->testi.imposta(0, fixtures::testiLingua(0));
        m_sessione->maschere = Maschere::Imposta_Formati(2, 2);
    }

    QStringList codici(int ordine, const QString& parametro, const Filtro_Catalogo& filtro = {}) {
        Query_Catalogo query(m_sessione->connessione());
        query.Imposta_Ordine(ordine);
        query.filtro() = filtro;
        query.apri(parametro);
        while (query.carica(2) > 0) {
        }
        QStringList out;
        for (const Riga_Catalogo& r : query.righe()) {
            out << r.codice;
        }
        return out;
    }

    QTemporaryDir m_dir;
    QString m_root;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    std::unique_ptr<Sessione> m_sessione;
};

TEST(Parametro_Ricerca, Rules) {
    struct Case {
        const char* testo;
        bool parziale;
        const char* atteso;
    } cases[] = {
        {"", true, "%%"},    {"   ", true, "%%"},        {"", false, ""},        {" ab  ", true, "% ab%"},
        {"ab", false, "ab"}, {"  800 ", false, "  800"}, {"%_'", true, "%%_'%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parametro_Ricerca(QString::fromLatin1(c.testo), c.parziale), QString::fromLatin1(c.atteso))
            << c.testo;
    }
}

TEST_F(CatalogoTest, EveryOrderLoadsItsQuery) {
    const auto l = [](std::initializer_list<const char*> codes) {
        QStringList out;
        for (const char* c : codes) {
            out << QString::fromLatin1(c);
        }
        return out;
    };
    EXPECT_EQ(codici(0, QStringLiteral("%%")), l({"AB1", "CD2", "EF3", "GH 4", "IJ5", "KL6"}));
    // Case-sensitive, code or description.
    EXPECT_EQ(codici(0, QStringLiteral("%ab%")), l({"CD2"}));
    EXPECT_EQ(codici(0, QStringLiteral("%AB%")), l({"AB1", "EF3"}));
    EXPECT_EQ(codici(1, QStringLiteral("%%")), l({"CD2", "KL6", "EF3", "GH 4", "IJ5", "AB1"}));
    EXPECT_EQ(codici(2, QString()).mid(0, 3), l({"AB1", "CD2", "IJ5"}));
    EXPECT_EQ(codici(4, QString()), l({"GH 4", "AB1", "IJ5", "EF3", "CD2", "KL6"}));
    EXPECT_EQ(codici(5, QString()), l({"KL6", "GH 4", "AB1", "IJ5", "EF3", "CD2"}));
    // From the barcode onwards; empty and null barcodes are not listed.
    EXPECT_EQ(codici(6, QStringLiteral("800")), l({"AB1", "CD2", "EF3"}));
    EXPECT_EQ(codici(7, QString()), l({"GH 4", "KL6", "CD2", "AB1", "EF3", "IJ5"}));
    // The user's own wildcards act as wildcards; quotes, other scripts and long texts are just text.
    EXPECT_EQ(codici(0, QStringLiteral("%100\\%%")), QStringList());
    EXPECT_EQ(codici(0, QStringLiteral("%o_s%")), l({"KL6"}));
    EXPECT_EQ(codici(0, QStringLiteral("%l'x%")), QStringList());
    EXPECT_EQ(codici(0, QStringLiteral("%Жук%")), QStringList());
    EXPECT_EQ(codici(0, QLatin1Char('%') + QString(200, QLatin1Char('x')) + QLatin1Char('%')), QStringList());
    EXPECT_EQ(codici(6, QString(200, QLatin1Char('9'))), QStringList());
}

TEST_F(CatalogoTest, FilterRule) {
    Filtro_Catalogo preferiti;
    preferiti.attivo = true;
    preferiti.Solo_Preferiti = true;
    preferiti.Filtro_Gruppone = QStringLiteral("B2");  // no effect while only favourites are shown
    EXPECT_EQ(codici(2, QString()), codici(2, QString(), Filtro_Catalogo{}));
    EXPECT_EQ(codici(2, QString(), preferiti), (QStringList{QStringLiteral("AB1"), QStringLiteral("EF3")}));

    Filtro_Catalogo gruppo;
    gruppo.attivo = true;
    gruppo.Filtro_Gruppo = QStringLiteral("G2");
    gruppo.Filtro_Sottogruppo = QStringLiteral("S1");
    EXPECT_EQ(codici(0, QStringLiteral("%%"), gruppo),
              (QStringList{QStringLiteral("EF3"), QStringLiteral("GH 4")}));
    gruppo.Filtro_Gruppone = QStringLiteral("B1");  // a group of another big group: nothing
    EXPECT_EQ(codici(0, QStringLiteral("%%"), gruppo), QStringList());

    Filtro_Catalogo prezzi;
    prezzi.attivo = true;
    prezzi.Filtro_Prezzo_In = 10;
    prezzi.Filtro_Prezzo_Fin = 20;  // both bounds inclusive
    EXPECT_EQ(codici(0, QStringLiteral("%%"), prezzi),
              (QStringList{QStringLiteral("AB1"), QStringLiteral("EF3"), QStringLiteral("IJ5")}));
    prezzi.Filtro_Prezzo_Fin = 0;  // no price criterion at all
    EXPECT_EQ(codici(0, QStringLiteral("%%"), prezzi).size(), 6);
    prezzi.Filtro_Prezzo_In = 30;
    prezzi.Filtro_Prezzo_Fin = 999999999;
    EXPECT_EQ(codici(0, QStringLiteral("%%"), prezzi),
              (QStringList{QStringLiteral("CD2"), QStringLiteral("KL6")}));
}

TEST_F(CatalogoTest, CalculatedFieldsAndMasks) {
    Query_Catalogo query(m_sessione->connessione());
    query.apri(QStringLiteral("%%"));
    query.carica(10);
    std::map<QString, Riga_Catalogo> righe;
    for (const Riga_Catalogo& r : query.righe()) {
        righe[r.codice] = r;
    }
    const auto cella = [&](const char* codice, const char* campo) {
        return Cella_Catalogo(righe.at(QString::fromLatin1(codice)), QString::fromLatin1(campo),
                              m_sessione->maschere, m_sessione->testi);
    };
    EXPECT_EQ(cella("IJ5", "Vedi_Sconto").testo, QStringLiteral("12,50 %"));
    EXPECT_TRUE(cella("IJ5", "Vedi_Sconto").destra);
    EXPECT_EQ(cella("CD2", "Vedi_Sconto").testo, QString());
    EXPECT_EQ(cella("EF3", "Vedi_Sconto").testo, QString());
    EXPECT_EQ(cella("KL6", "PREZZO_LIST").testo, QStringLiteral("999.999.999,00"));
    EXPECT_EQ(cella("AB1", "DATA_LIST").testo, QStringLiteral("30/11/2026"));
    EXPECT_EQ(cella("AB1", "Vedi_Stato").testo, QStringLiteral("Disponibile"));
    EXPECT_EQ(cella("EF3", "Vedi_Stato").testo, QStringLiteral("In esaurimento"));
    EXPECT_EQ(cella("CD2", "InOrdine").immagine, 1);  // an order line has this code
    EXPECT_EQ(cella("CD2", "Vedi_Codice").testo, QStringLiteral("7"));
    EXPECT_EQ(cella("AB1", "InOrdine").immagine, 0);
    EXPECT_EQ(cella("AB1", "Flag_Immagine").immagine, 2);
    EXPECT_EQ(cella("CD2", "Flag_Immagine").immagine, 0);
    m_sessione->maschere = Maschere::Imposta_Formati(0, 2);
    EXPECT_EQ(cella("KL6", "PREZZO_LIST").testo, QStringLiteral("999.999.999"));
    EXPECT_EQ(Path_Immagine(QStringLiteral("/v"), QStringLiteral("AB 1  ")),
              QStringLiteral("/v/IMAGES/AB 1.JPG"));
}

TEST_F(CatalogoTest, ModelFetchesInBatches) {
    db::Statement ins(m_sessione->connessione(),
                      QStringLiteral("INSERT INTO LISTINO (CODICE, DESCRIZIONE) VALUES (:C, :C)"));
    for (int i = 0; i < 244; ++i) {
        ins.set(QStringLiteral("C"), QStringLiteral("Z%1").arg(i, 3, 10, QLatin1Char('0')));
        ins.execute();
    }
    Modello_Catalogo modello(*m_sessione);
    QAbstractItemModelTester tester(&modello, QAbstractItemModelTester::FailureReportingMode::Fatal);
    modello.Seleziona_Ordine(0);
    EXPECT_EQ(modello.rowCount(), Modello_Catalogo::kPrimoLotto);
    ASSERT_TRUE(modello.canFetchMore(QModelIndex()));
    modello.fetchMore(QModelIndex());
    EXPECT_EQ(modello.rowCount(), 150);
    modello.fetchMore(QModelIndex());
    EXPECT_EQ(modello.rowCount(), 250);
    modello.fetchMore(QModelIndex());  // finds the end
    EXPECT_EQ(modello.rowCount(), 250);
    EXPECT_FALSE(modello.canFetchMore(QModelIndex()));
    EXPECT_EQ(modello.data(modello.index(0, 0)).toString(), QStringLiteral("AB1"));
    // The sort mark sits on the code column in order 0, on the price-list date in order 7.
    EXPECT_FALSE(modello.headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
    modello.Seleziona_Ordine(7);
    EXPECT_TRUE(modello.headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
    EXPECT_FALSE(
        modello.headerData(modello.colonnaDi(QStringLiteral("DATA_LIST")), Qt::Horizontal, Qt::DecorationRole)
            .isNull());
}

TEST_F(CatalogoTest, PageSearchSortAndFilterLikeAPerson) {
    Pagina_Catalogo pagina(*m_sessione);
    pagina.Titoli_Griglia();
    pagina.resize(800, 500);
    pagina.show();
    pagina.Apri_Catalogo();
    Modello_Catalogo* modello = pagina.modello();
    EXPECT_EQ(modello->rowCount(), 6);
    EXPECT_EQ(modello->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Codice"));

    QTest::keyClicks(pagina.ricerca(), QStringLiteral("AB"));
    EXPECT_EQ(modello->rowCount(), 2);
    EXPECT_EQ(modello->query().parametro(), QStringLiteral("%AB%"));
    // A navigation key moves the current row without running the query again.
    QTest::keyClick(pagina.ricerca(), Qt::Key_Down);
    EXPECT_EQ(pagina.griglia()->currentIndex().row(), 1);
    // The detail pane follows right after.
    for (int i = 0; i < 100 && pagina.memo()->toPlainText() != QStringLiteral("Note di EF3"); ++i) {
        QTest::qWait(20);
    }
    EXPECT_EQ(pagina.memo()->toPlainText(), QStringLiteral("Note di EF3"));

    // A title click on the list price: search box disabled, every article by price.
    pagina.griglia()->horizontalHeader()->sectionClicked(modello->colonnaDi(QStringLiteral("PREZZO_LIST")));
    EXPECT_EQ(m_sessione->Ordine_Catalogo, 4);
    EXPECT_FALSE(pagina.ricerca()->isEnabled());
    EXPECT_EQ(modello->rowCount(), 6);
    EXPECT_EQ(modello->data(modello->index(0, 0)).toString(), QStringLiteral("GH 4"));
    // A title without an order changes nothing.
    pagina.griglia()->horizontalHeader()->sectionClicked(modello->colonnaDi(QStringLiteral("UM")));
    EXPECT_EQ(m_sessione->Ordine_Catalogo, 4);

    // A price that is not a number: "Error!", the filter stays off.
    pagina.prezzoIn()->setText(QStringLiteral("dieci"));
    pagina.Applica_Filtro();
    EXPECT_EQ(m_boxes.shown().last(), QStringLiteral("Error!"));
    EXPECT_EQ(modello->rowCount(), 6);
    pagina.prezzoIn()->setText(QStringLiteral("10"));
    pagina.prezzoFin()->setText(QStringLiteral("20,00"));
    pagina.Applica_Filtro();
    EXPECT_EQ(modello->rowCount(), 3);
    // The filter stays across orders.
    pagina.griglia()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(modello->rowCount(), 3);
    pagina.Azzera_Filtro();
    EXPECT_EQ(modello->rowCount(), 6);
    EXPECT_EQ(pagina.prezzoFin()->text(), QStringLiteral("999999999"));

    // Barcode search: cancelled changes nothing, a barcode lists from it onwards.
    pagina.Ricerca_Barcode();
    EXPECT_EQ(m_sessione->Ordine_Catalogo, 0);
    m_boxes.answerInput(QStringLiteral("801  "));
    pagina.Ricerca_Barcode();
    EXPECT_EQ(m_sessione->Ordine_Catalogo, 6);
    EXPECT_EQ(modello->rowCount(), 2);

    // Previously ordered articles: the search box is emptied and the barcode order runs with "%%",
    // which lists every article with a barcode; of those, the favourites.
    pagina.Gia_Ordinati();
    EXPECT_EQ(modello->rowCount(), 2);
    EXPECT_TRUE(pagina.ricerca()->text().isEmpty());
}

TEST_F(CatalogoTest, PicturesNotesAndStatusFollowTheRow) {
    QDir().mkpath(m_root + QStringLiteral("/IMAGES"));
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(m_root + QStringLiteral("/IMAGES/ab1.jpg"), "JPG"));  // found whatever its case
    QFile notAPicture(m_root + QStringLiteral("/IMAGES/CD2.JPG"));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("this is no picture");
    notAPicture.close();

    QLabel stato;
    Pagina_Catalogo pagina(*m_sessione);
    pagina.setPannelloStato(&stato);
    pagina.Titoli_Griglia();
    pagina.resize(800, 500);
    pagina.show();
    pagina.Apri_Catalogo();
    const auto vai = [&](int row) {
        pagina.griglia()->setCurrentIndex(pagina.modello()->index(row, 0));
        pagina.Aggiorna_Dettaglio();
    };
    vai(0);  // AB1: picture, state 0
    EXPECT_FALSE(pagina.immagine()->pixmap().isNull());
    EXPECT_EQ(stato.text(), QString());
    QTest::mouseDClick(pagina.immagine(), Qt::LeftButton);
    ASSERT_EQ(m_shell.opened().size(), 1);
    EXPECT_TRUE(m_shell.opened().first().endsWith(QStringLiteral("/IMAGES/ab1.jpg")));

    m_boxes.clear();
    vai(1);  // CD2: a file that is no picture, state 2
    EXPECT_TRUE(pagina.immagine()->pixmap().isNull());
    EXPECT_EQ(m_boxes.errors().size(), 1);
    EXPECT_EQ(stato.text(), fixtures::testiLingua(0).value(QStringLiteral("A79")));
    EXPECT_EQ(pagina.memo()->toPlainText(), QStringLiteral("Note di CD2"));

    vai(2);  // EF3: no file, state 3
    EXPECT_TRUE(pagina.immagine()->pixmap().isNull());
    EXPECT_EQ(stato.text(), fixtures::testiLingua(0).value(QStringLiteral("A78")));
}

TEST_F(CatalogoTest, FilterPanelListsAndChoices) {
    Pagina_Catalogo pagina(*m_sessione);
    pagina.Titoli_Griglia();
    pagina.show();
    pagina.Apri_Catalogo();
    QComboBox* grupponi = pagina.comboGruppone();
    QComboBox* gruppi = pagina.comboGruppo();
    ASSERT_EQ(grupponi->count(), 1);
    EXPECT_EQ(grupponi->itemText(0), QStringLiteral("Ferramenta 0"));
    EXPECT_EQ(grupponi->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Cod."));
    ASSERT_EQ(gruppi->count(), 1);
    EXPECT_EQ(gruppi->model()->columnCount(), 3);

    // A group chosen without a big group: its rows, whatever their big group.
    gruppi->setCurrentIndex(0);
    pagina.Applica_Filtro();
    EXPECT_EQ(pagina.modello()->rowCount(), 1);
    EXPECT_EQ(pagina.modello()->data(pagina.modello()->index(0, 0)).toString(), QStringLiteral("AB1"));
    // With the big group chosen too, and the article's big group another one: nothing.
    grupponi->setCurrentIndex(0);
    gruppi->setCurrentIndex(0);
    pagina.Applica_Filtro();
    EXPECT_EQ(pagina.modello()->rowCount(), 0);
    // Text that names no entry counts as no choice.
    grupponi->setEditText(QStringLiteral("Nessuno"));
    gruppi->setEditText(QString());
    pagina.Applica_Filtro();
    EXPECT_EQ(pagina.modello()->rowCount(), 6);
    pagina.Azzera_Filtro();
    EXPECT_TRUE(grupponi->currentText().isEmpty());
}

}  // namespace
}  // namespace velmora
