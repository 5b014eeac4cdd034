#include "browser/Layout_Griglia.h"

#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/ui/MainWindow.h"
#include "browser/Catalogo.h"
#include "browser/ui/Pagina_Catalogo.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

QByteArray leggi(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void scrivi(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

Colonne proprie() {
    return Colonne_Da_Lista(
        {QStringLiteral("CODICE\t15\tCodice\tF"), QStringLiteral("DESCRIZIONE\t50\tDescrizione\tF"),
         QStringLiteral("BARCODE\t30\tCodice a barre\tF"), QStringLiteral("Vedi_Stato\t15\tStato\tF")});
}

TEST(Layout_Griglia, RoundTripKeepsOrderWidthsTitlesAndOtherSections) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("GRIGLIA_LIST.CFG"));
    scrivi(file, "[Altro]\r\nX=1;;y;;F\r\n");
    Colonne colonne = proprie();
    colonne.move(2, 0);  // BARCODE first
    colonne[0].larghezza = 40;
    colonne[1].titolo = QStringLiteral("Città");
    colonne[2].gruppo = QStringLiteral("Articolo");
    ASSERT_TRUE(Salva_Layout(file, kSezioneCatalogo, colonne));
    EXPECT_EQ(leggi(file),
              QByteArray("[Altro]\r\nX=1;;y;;F\r\n\r\n[Form1wwDBGrid1]\r\nBARCODE=40;;Codice a barre;;F\r\n"
                         "CODICE=15;;Citt\xe0;;F\r\nDESCRIZIONE=50;;Descrizione;;F;;Articolo\r\n"
                         "Vedi_Stato=15;;Stato;;F\r\n"));
    ScriptedBoxes boxes;
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, proprie(), boxes), colonne);
    // Saving again replaces the section where it stands.
    ASSERT_TRUE(Salva_Layout(file, kSezioneCatalogo, proprie()));
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, colonne, boxes), proprie());
    EXPECT_TRUE(leggi(file).startsWith("[Altro]\r\nX=1;;y;;F\r\n"));
    EXPECT_EQ(leggi(file).count("[Form1wwDBGrid1]"), 1);
    EXPECT_TRUE(boxes.shown().isEmpty());
    // Nothing to write for a grid without columns; a path that cannot be written fails.
    ASSERT_TRUE(Salva_Layout(file, kSezioneCatalogo, {}));
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, colonne, boxes), proprie());
    EXPECT_FALSE(Salva_Layout(dir.path(), kSezioneCatalogo, colonne));
    EXPECT_FALSE(
        Salva_Layout(dir.filePath(QStringLiteral("NONE/GRIGLIA_LIST.CFG")), kSezioneCatalogo, colonne));
}

TEST(Layout_Griglia, MissingDamagedOrOlderFiles) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("GRIGLIA_LIST.CFG"));
    ScriptedBoxes boxes;
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, proprie(), boxes), proprie());  // no file
    scrivi(file, "");
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, proprie(), boxes), proprie());
    scrivi(file, "[Form1wwDBGrid2]\r\nCODICE=1;;a;;F\r\n");
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, proprie(), boxes), proprie());  // another grid's section
    scrivi(file, QByteArray(300, '\x01'));
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, proprie(), boxes), proprie());
    EXPECT_TRUE(boxes.shown().isEmpty());

    // Without the delimiter: the warning, and the grid's own columns.
    scrivi(file, "[Form1wwDBGrid1]\r\nCODICE=15;;Codice;;F\r\nDESCRIZIONE=50\r\n");
    EXPECT_EQ(Carica_Layout(file, kSezioneCatalogo, proprie(), boxes), proprie());
    EXPECT_EQ(boxes.shown(), QStringList{QStringLiteral("Key Delimiter Not Found")});

    // Written before a column existed, naming a field the grid does not have, and naming a field
    // twice (the first entry counts).
    scrivi(file,
           "[Form1wwDBGrid1]\r\nDESCRIZIONE=20;;Descrizione;;F\r\nNONESISTE=5;;x;;F\r\ncodice=9;;Cod;;T\r\n"
           "Descrizione=70;;Doppia;;F\r\n");
    const Colonne caricate = Carica_Layout(file, kSezioneCatalogo, proprie(), boxes);
    QStringList campi;
    for (const Colonna& c : caricate) {
        campi << c.campo;
    }
    EXPECT_EQ(campi, (QStringList{QStringLiteral("DESCRIZIONE"), QStringLiteral("CODICE"),
                                  QStringLiteral("BARCODE"), QStringLiteral("Vedi_Stato")}));
    EXPECT_EQ(caricate[0].larghezza, 20);
    EXPECT_EQ(caricate[1].titolo, QStringLiteral("Cod"));
    EXPECT_EQ(caricate[1].solaLettura, QStringLiteral("T"));
    EXPECT_EQ(caricate[2], proprie()[2]);
    EXPECT_EQ(boxes.shown().size(), 1);
}

// A person moves and widens a column, saves the layout from the pop-up menu's action, and finds
// it again at the next start, with the titles as saved.
TEST(Layout_Griglia, MovedColumnComesBackAtTheNextStart) {
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("VELMORA"));
    fixtures::installa(root, fixtures::minimo());
    const auto avvia = [&](Sessione& sessione, MainWindow& window, int lingua) {
        window.setNomeIstanza(dir.path());
        QObject::connect(&window, &MainWindow::passwordRichiesta, &window, [lingua](Form_Password* d) {
            d->password()->setText(QStringLiteral("ROSSI"));
            d->lingua()->setCurrentIndex(lingua);
            d->ok()->click();
        });
        ASSERT_TRUE(window.FormCreate());
        QSignalSpy done(&window, &MainWindow::avvioCompletato);
        window.show();
        ASSERT_TRUE(done.wait(20000));
        ASSERT_FALSE(sessione.Programma_Terminato);
    };
    ScriptedBoxes boxes;
    ScriptedShell shell;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    {
        Sessione sessione(InstallFolder(root), boxes, shell, clock);
        MainWindow window(sessione);
        avvia(sessione, window, 0);
        QTableView* griglia = window.catalogo()->griglia();
        const int barcode = window.catalogo()->modello()->colonnaDi(QStringLiteral("BARCODE"));
        griglia->horizontalHeader()->moveSection(griglia->horizontalHeader()->visualIndex(barcode), 0);
        griglia->setColumnWidth(barcode, 400);
        window.Salva_Layout_Catalogo();
        window.close();
    }
    // The next start, now with the language changed to German: the saved titles stay Italian.
    {
        db::Connection db;
        db.open(root + QStringLiteral("/DATI.IDB"));
        db.executeImmediate(QStringLiteral("UPDATE T_AN4 SET CLI_LINGUA = 3"));
    }
    Sessione sessione(InstallFolder(root), boxes, shell, clock);
    MainWindow window(sessione);
    avvia(sessione, window, 0);
    const Colonne colonne = window.catalogo()->modello()->colonne();
    ASSERT_FALSE(colonne.isEmpty());
    EXPECT_EQ(colonne.first().campo, QStringLiteral("BARCODE"));
    EXPECT_EQ(colonne.first().titolo, QStringLiteral("Codice a barre"));
    EXPECT_GT(colonne.first().larghezza, 30);
    EXPECT_EQ(window.pagine()->tabText(0), QStringLiteral("Katalog"));
    EXPECT_GT(window.catalogo()->griglia()->columnWidth(0), 300);
}

}  // namespace
}  // namespace velmora
