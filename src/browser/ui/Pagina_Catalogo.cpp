#include "browser/ui/Pagina_Catalogo.h"

#include <QApplication>
#include <QCompleter>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "app/Cliente.h"
#include "app/ui/Applica_Lingua.h"
#include "app/ui/TCSEdit.h"
#include "browser/Fasce.h"
#include "browser/ui/Dialogo_Fasce.h"

namespace velmora {

namespace {

// The field each order sorts by, for the title clicks.
int ordineDi(const QString& campo) {
    static const char* const kCampi[] = {"CODICE",      "DESCRIZIONE", "GRUPPONE", "GR",
                                         "PREZZO_LIST", "NETTO",       "BARCODE",  "DATA_LIST"};
    for (int i = 0; i < 8; ++i) {
        if (campo.compare(QLatin1String(kCampi[i]), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

// One row of a multi-column drop-down list; the first column is the text of the choice.
void aggiungiVoce(QComboBox* combo, const QStringList& celle, const QVariant& valore) {
    auto* modello = static_cast<QStandardItemModel*>(combo->model());
    QList<QStandardItem*> riga;
    for (const QString& cella : celle) {
        riga << new QStandardItem(cella);
    }
    riga.first()->setData(valore, Qt::UserRole);
    modello->appendRow(riga);
}

// The value of the entry chosen (or typed in full), invalid when the text names no entry.
QVariant scelta(const QComboBox* combo) {
    const QString testo = combo->currentText();
    if (testo.trimmed().isEmpty()) {
        return QVariant();
    }
    int at = combo->currentIndex();
    if (at < 0 || combo->itemText(at) != testo) {
        at = combo->findText(testo, Qt::MatchFixedString);
    }
    return at < 0 ? QVariant() : combo->itemData(at);
}

bool tastoNavigazione(int tasto) {
    return tasto == Qt::Key_Down || tasto == Qt::Key_Up || tasto == Qt::Key_PageUp ||
           tasto == Qt::Key_PageDown;
}

QPushButton* bottoneTag(QWidget* parent, int tag) {
    auto* b = new QPushButton(parent);
    setTag(b, tag);
    b->setObjectName(QStringLiteral("Bottone_A%1").arg(tag));
    return b;
}

QLabel* etichettaTag(QWidget* parent, int tag) {
    auto* l = new QLabel(parent);
    setTag(l, tag);
    return l;
}

}  // namespace

Pagina_Catalogo::Pagina_Catalogo(Sessione& sessione, QWidget* parent)
    : QWidget(parent), m_sessione(sessione) {
    setObjectName(QStringLiteral("Pagina_Catalogo"));
    m_modello = new Modello_Catalogo(sessione, this);
    m_colonneProprie = Colonne_Catalogo();
    costruisci();
}

void Pagina_Catalogo::costruisci() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_toolbar = new QToolBar(this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (int tag : {3, 4, 5, 6, 7, 8, 9, 10, 53, 55, 56, 68, 70, 77}) {
        QAction* action = m_toolbar->addAction(QString());
        setTag(action, tag);
        action->setObjectName(QStringLiteral("Azione_A%1").arg(tag));
        action->setVisible(tag != 8 && tag != 9 && tag != 55);
        connect(action, &QAction::triggered, this, [this, tag] {
            if (tag == 3) {
                Mostra_Ricerca();
            } else if (tag == 4) {
                Mostra_Filtro();
            } else if (tag == 70) {
                Mostra_Ricerca();
                Gia_Ordinati();
            } else {
                emit azioneToolbar(tag);
            }
        });
    }
    layout->addWidget(m_toolbar);

    // Search panel, hidden at first.
    m_pannelloRicerca = new QWidget(this);
    m_pannelloRicerca->setObjectName(QStringLiteral("Panel_Cerca"));
    auto* cerca = new QHBoxLayout(m_pannelloRicerca);
    cerca->setContentsMargins(4, 2, 4, 2);
    cerca->addWidget(etichettaTag(m_pannelloRicerca, 15));
    m_ricerca = new TCSEdit(m_pannelloRicerca);
    m_ricerca->setObjectName(QStringLiteral("Edit_Cerca"));
    m_ricerca->installEventFilter(this);
    cerca->addWidget(m_ricerca, 1);
    for (int tag : {35, 71, 70}) {
        QPushButton* b = bottoneTag(m_pannelloRicerca, tag);
        cerca->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, tag] {
            if (tag == 35) {
                Mostra_Tutto();
            } else if (tag == 71) {
                Ricerca_Barcode();
            } else {
                Gia_Ordinati();
            }
        });
    }
    m_pannelloRicerca->hide();
    layout->addWidget(m_pannelloRicerca);

    // Filter panel, hidden at first.
    m_pannelloFiltro = new QWidget(this);
    m_pannelloFiltro->setObjectName(QStringLiteral("Panel_Filtro"));
    auto* filtro = new QHBoxLayout(m_pannelloFiltro);
    filtro->setContentsMargins(4, 2, 4, 2);
    // Drop-down lists of several columns with titles and lines; typing narrows them.
    const auto combo = [this](const char* nome, const QList<QPair<QString, int>>& colonne) {
        auto* c = new QComboBox(m_pannelloFiltro);
        c->setObjectName(QString::fromLatin1(nome));
        auto* modello = new QStandardItemModel(0, static_cast<int>(colonne.size()), c);
        auto* vista = new QTableView(c);
        c->setModel(modello);
        c->setView(vista);
        vista->setSelectionBehavior(QAbstractItemView::SelectRows);
        vista->verticalHeader()->hide();
        vista->setShowGrid(true);
        int larghezza = 0;
        const int carattere = vista->fontMetrics().averageCharWidth();
        for (int i = 0; i < colonne.size(); ++i) {
            modello->setHeaderData(i, Qt::Horizontal, colonne[i].first);
            vista->setColumnWidth(i, colonne[i].second * carattere);
            larghezza += colonne[i].second * carattere;
        }
        vista->setMinimumWidth(larghezza + 24);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->completer()->setFilterMode(Qt::MatchContains);
        c->completer()->setCompletionMode(QCompleter::PopupCompletion);
        c->setMinimumContentsLength(18);
        return c;
    };
    filtro->addWidget(etichettaTag(m_pannelloFiltro, 31));
    m_comboGruppone = combo("Combo_Gruppone", {{QStringLiteral("Descr."), 50}, {QStringLiteral("Cod."), 6}});
    filtro->addWidget(m_comboGruppone);
    filtro->addWidget(etichettaTag(m_pannelloFiltro, 32));
    m_comboGruppo =
        combo("Combo_Gruppo",
              {{QStringLiteral("Descr."), 50}, {QStringLiteral("Gr"), 6}, {QStringLiteral("Sg"), 6}});
    filtro->addWidget(m_comboGruppo);
    filtro->addWidget(etichettaTag(m_pannelloFiltro, 33));
    m_prezzoIn = new TCSEdit(QStringLiteral("0"), m_pannelloFiltro);
    m_prezzoIn->setObjectName(QStringLiteral("Prezzo_In"));
    m_prezzoIn->installEventFilter(this);
    filtro->addWidget(m_prezzoIn);
    filtro->addWidget(etichettaTag(m_pannelloFiltro, 34));
    m_prezzoFin = new TCSEdit(QStringLiteral("999999999"), m_pannelloFiltro);
    m_prezzoFin->setObjectName(QStringLiteral("Prezzo_Fin"));
    m_prezzoFin->installEventFilter(this);
    filtro->addWidget(m_prezzoFin);
    QPushButton* applica = bottoneTag(m_pannelloFiltro, 36);
    QPushButton* azzera = bottoneTag(m_pannelloFiltro, 37);
    filtro->addWidget(applica);
    filtro->addWidget(azzera);
    connect(applica, &QPushButton::clicked, this, &Pagina_Catalogo::Applica_Filtro);
    connect(azzera, &QPushButton::clicked, this, &Pagina_Catalogo::Azzera_Filtro);
    connect(m_comboGruppone, &QComboBox::currentTextChanged, this, &Pagina_Catalogo::Ricarica_Gruppi);
    // Enter and Esc reach the two buttons from anywhere on the page while the panel is shown.
    auto* invio = new QShortcut(QKeySequence(Qt::Key_Return), this);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    invio->setContext(Qt::WidgetWithChildrenShortcut);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    connect(invio, &QShortcut::activated, this, [this] {
        if (m_pannelloFiltro->isVisible()) {
            Applica_Filtro();
        }
    });
    connect(esc, &QShortcut::activated, this, [this] {
        if (m_pannelloFiltro->isVisible()) {
            Azzera_Filtro();
        }
    });
    m_pannelloFiltro->hide();
    layout->addWidget(m_pannelloFiltro);

    // Grid and detail pane.
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    m_griglia = new QTableView(splitter);
    m_griglia->setObjectName(QStringLiteral("wwDBGrid1"));
    m_griglia->setModel(m_modello);
    m_griglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_griglia->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_griglia->setSelectionMode(QAbstractItemView::SingleSelection);
    m_griglia->setWordWrap(true);
    m_griglia->setShowGrid(true);
    m_griglia->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_griglia->verticalHeader()->setDefaultSectionSize(m_griglia->fontMetrics().height() + 6);
    m_griglia->verticalHeader()->hide();
    m_griglia->horizontalHeader()->setSectionsMovable(true);
    m_griglia->horizontalHeader()->setSectionsClickable(true);
    m_griglia->horizontalHeader()->setHighlightSections(false);
    QPalette palette = m_griglia->palette();
    palette.setColor(QPalette::Base, QColor(192, 220, 192));
    palette.setColor(QPalette::AlternateBase, QColor(192, 220, 192));
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_griglia->setPalette(palette);
    m_griglia->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_griglia, &QWidget::customContextMenuRequested, this, &Pagina_Catalogo::menuGriglia);
    connect(m_griglia->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section >= 0 && section < m_modello->colonne().size()) {
            const int ordine = ordineDi(m_modello->colonne()[section].campo);
            if (ordine >= 0) {
                Seleziona_Ordine(ordine);
            }
        }
    });
    connect(m_griglia, &QTableView::doubleClicked, this, [this] {
        if (const Riga_Catalogo* r = Articolo_Corrente()) {
            emit aggiungiOrdine(r->codice);
        }
    });
    // The detail pane follows the current row once the grid shows its rows: picture and notes
    // never hold up the grid.
    m_dettaglioTimer.setSingleShot(true);
    m_dettaglioTimer.setInterval(0);
    connect(&m_dettaglioTimer, &QTimer::timeout, this, &Pagina_Catalogo::Riga_Cambiata);
    connect(m_griglia->selectionModel(), &QItemSelectionModel::currentRowChanged, &m_dettaglioTimer,
            qOverload<>(&QTimer::start));
    connect(m_modello, &Modello_Catalogo::riaperto, this, [this] {
        if (m_modello->rowCount() > 0) {
            m_griglia->setCurrentIndex(m_modello->index(0, 0));
            m_griglia->scrollToTop();
        }
        m_dettaglioTimer.start();
    });

    auto* dettaglio = new QWidget(splitter);
    dettaglio->setObjectName(QStringLiteral("Pannello_Dettaglio"));
    dettaglio->setMinimumWidth(212);
    auto* colonna = new QVBoxLayout(dettaglio);
    colonna->setContentsMargins(2, 0, 2, 0);
    m_immagine = new QLabel(dettaglio);
    m_immagine->setObjectName(QStringLiteral("Immagine"));
    m_immagine->setFixedHeight(168);
    m_immagine->setAlignment(Qt::AlignCenter);
    m_immagine->installEventFilter(this);
    colonna->addWidget(m_immagine);
    QPushButton* aggiungi = bottoneTag(dettaglio, 16);
    connect(aggiungi, &QPushButton::clicked, this, [this] {
        if (const Riga_Catalogo* r = Articolo_Corrente()) {
            emit aggiungiOrdine(r->codice);
        }
    });
    colonna->addWidget(aggiungi);
    m_memo = new TCSDBMemo(dettaglio);
    m_memo->setObjectName(QStringLiteral("Memo_Articolo"));
    m_memo->setReadOnly(true);
    colonna->addWidget(m_memo, 1);
    m_pannelloFasce = new QWidget(dettaglio);
    m_pannelloFasce->setObjectName(QStringLiteral("Pannello_Fasce"));
    auto* fasce = new QHBoxLayout(m_pannelloFasce);
    fasce->setContentsMargins(0, 0, 0, 0);
    m_fasce = bottoneTag(m_pannelloFasce, 82);
    m_fasceCumulative = bottoneTag(m_pannelloFasce, 83);
    m_fasce->setEnabled(false);
    m_fasceCumulative->setEnabled(false);
    fasce->addWidget(m_fasce);
    fasce->addWidget(m_fasceCumulative);
    connect(m_fasce, &QPushButton::clicked, this, [this] { Mostra_Fasce(false); });
    connect(m_fasceCumulative, &QPushButton::clicked, this, [this] { Mostra_Fasce(true); });
    m_pannelloFasce->setVisible(m_sessione.Fasce_Visibili);
    colonna->addWidget(m_pannelloFasce);
    splitter->addWidget(m_griglia);
    splitter->addWidget(dettaglio);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(1, false);
    splitter->setSizes({1000, 212});
    layout->addWidget(splitter, 1);
}

QAction* Pagina_Catalogo::azione(int tag) const {
    return findChild<QAction*>(QStringLiteral("Azione_A%1").arg(tag));
}

QPushButton* Pagina_Catalogo::bottone(int tag) const {
    return findChild<QPushButton*>(QStringLiteral("Bottone_A%1").arg(tag));
}

void Pagina_Catalogo::Titoli_Griglia() {
    m_colonneProprie =
        Colonne_Da_Lista(velmora::Titoli_Griglia(Lista_Da_Colonne(Colonne_Catalogo()), m_sessione.testi));
    Imposta_Colonne(m_colonneProprie);
}

void Pagina_Catalogo::Imposta_Colonne(const Colonne& colonne) {
    m_modello->setColonne(colonne);
    const int carattere = m_griglia->fontMetrics().averageCharWidth();
    for (int i = 0; i < colonne.size(); ++i) {
        m_griglia->setColumnWidth(i, colonne[i].larghezza * carattere + 8);
    }
}

Colonne Pagina_Catalogo::Colonne_Correnti() const {
    Colonne out;
    const QHeaderView* header = m_griglia->horizontalHeader();
    const int width = std::max(1, m_griglia->fontMetrics().averageCharWidth());
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        Colonna c = m_modello->colonne().value(logical);
        c.larghezza = std::max(1, (header->sectionSize(logical) - 8 + width / 2) / width);
        out << c;
    }
    return out;
}

const Riga_Catalogo* Pagina_Catalogo::Articolo_Corrente() const {
    const QModelIndex current = m_griglia->currentIndex();
    return current.isValid() ? m_modello->riga(current.row()) : nullptr;
}

void Pagina_Catalogo::Apri_Catalogo() {
    m_pannelloFasce->setVisible(m_sessione.Fasce_Visibili);
    Carica_Gruppi();
    try {
        Seleziona_Ordine(m_sessione.Ordine_Catalogo);
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
}

void Pagina_Catalogo::Seleziona_Ordine(int ordine) {
    const Ordine_Catalogo_Def& def = Ordine_Catalogo_Info(ordine);
    m_ricerca->setEnabled(def.ricercaAbilitata);
    try {
        m_modello->Seleziona_Ordine(ordine);
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
}

void Pagina_Catalogo::Esegui_Ricerca(int tasto) {
    if (tastoNavigazione(tasto)) {
        const QModelIndex current = m_griglia->currentIndex();
        if (tasto == Qt::Key_Down || tasto == Qt::Key_Up) {
            int row = current.isValid() ? current.row() : -1;
            row += tasto == Qt::Key_Down ? 1 : -1;
            if (row >= m_modello->rowCount() && m_modello->canFetchMore(QModelIndex())) {
                m_modello->fetchMore(QModelIndex());
            }
            if (row >= 0 && row < m_modello->rowCount()) {
                m_griglia->setCurrentIndex(m_modello->index(row, std::max(0, current.column())));
            }
        } else {
            QKeyEvent press(QEvent::KeyPress, tasto, Qt::NoModifier);
            QApplication::sendEvent(m_griglia, &press);
        }
        return;
    }
    const Ordine_Catalogo_Def& def = Ordine_Catalogo_Info(m_sessione.Ordine_Catalogo);
    if (!def.haParametro) {
        // Orders without a search text: a key in a price field leaves the list as it is.
        return;
    }
    try {
        m_modello->Riapri(Parametro_Ricerca(m_ricerca->text(), m_sessione.Ricerca_Parziale));
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
}

void Pagina_Catalogo::Azzera_Filtro() {
    m_modello->query().filtro().azzera();
    m_comboGruppone->setCurrentIndex(-1);
    m_comboGruppone->setEditText(QString());
    m_comboGruppo->setCurrentIndex(-1);
    m_comboGruppo->setEditText(QString());
    m_prezzoIn->setText(QStringLiteral("0"));
    m_prezzoFin->setText(QStringLiteral("999999999"));
    m_modello->Riapplica_Filtro();
}

void Pagina_Catalogo::Applica_Filtro() {
    Filtro_Catalogo& filtro = m_modello->query().filtro();
    filtro.attivo = false;
    const QVariant gruppone = scelta(m_comboGruppone);
    filtro.Filtro_Gruppone = gruppone.isValid() ? gruppone.toString() : QString();
    const QStringList gruppo = scelta(m_comboGruppo).toStringList();
    filtro.Filtro_Gruppo = gruppo.value(0);
    filtro.Filtro_Sottogruppo = gruppo.value(1);
    const QLocale locale(QLocale::Italian, QLocale::Italy);
    bool ok = false;
    const double da = locale.toDouble(m_prezzoIn->text().trimmed(), &ok);
    if (!ok) {
        m_modello->Riapplica_Filtro();
        m_sessione.boxes().message(QStringLiteral("Error!"));
        m_prezzoIn->setFocus();
        return;
    }
    filtro.Filtro_Prezzo_In = da;
    const double a = locale.toDouble(m_prezzoFin->text().trimmed(), &ok);
    if (!ok) {
        m_modello->Riapplica_Filtro();
        m_sessione.boxes().message(QStringLiteral("Error!"));
        m_prezzoFin->setFocus();
        return;
    }
    filtro.Filtro_Prezzo_Fin = a;
    filtro.Solo_Preferiti = false;
    filtro.attivo = true;
    m_modello->Riapplica_Filtro();
}

void Pagina_Catalogo::Mostra_Tutto() {
    try {
        m_modello->Chiudi();
        Azzera_Filtro();
        Seleziona_Ordine(0);
    } catch (...) {
        // Showing everything again never reports a failure.
    }
}

void Pagina_Catalogo::Ricerca_Barcode() {
    const std::optional<QString> testo =
        m_sessione.boxes().input(QStringLiteral("Barcode"), QStringLiteral("Barcode :"), QString());
    if (!testo || testo->trimmed().isEmpty()) {
        return;
    }
    Seleziona_Ordine(6);
    try {
        m_modello->Riapri(Parametro_Ricerca(*testo, false));
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
}

void Pagina_Catalogo::Gia_Ordinati() {
    if (m_ricerca->isEnabled()) {
        m_ricerca->clear();
        try {
            m_modello->Riapri(QStringLiteral("%%"));
        } catch (const db::DatabaseError& e) {
            m_sessione.boxes().error(e.text());
        }
    }
    Azzera_Filtro();
    Filtro_Catalogo& filtro = m_modello->query().filtro();
    filtro.Solo_Preferiti = true;
    filtro.attivo = true;
    m_modello->Riapplica_Filtro();
}

void Pagina_Catalogo::Mostra_Ricerca() {
    m_pannelloRicerca->setVisible(!m_pannelloRicerca->isVisible());
    if (m_pannelloRicerca->isVisible()) {
        m_pannelloFiltro->hide();
        m_ricerca->setFocus();
    }
    Mostra_Tutto();
}

void Pagina_Catalogo::Mostra_Filtro() {
    m_pannelloFiltro->setVisible(!m_pannelloFiltro->isVisible());
    if (m_pannelloFiltro->isVisible()) {
        m_pannelloRicerca->hide();
        m_comboGruppone->setFocus();
    }
}

void Pagina_Catalogo::Mostra_Fasce(bool cumulative) {
    const Riga_Catalogo* r = Articolo_Corrente();
    if (!r) {
        return;
    }
    const QVariant gr = r->grNull ? QVariant() : QVariant(r->gr);
    const QVariant sg = r->sgNull ? QVariant() : QVariant(r->sg);
    std::optional<Esito_Fasce> esito;
    try {
        Fasce fasce(m_sessione.connessione());
        esito = cumulative ? fasce.Fasce_Cumulative(gr, sg, m_sessione.Listino_Cliente())
                           : std::optional<Esito_Fasce>(
                                 fasce.Fasce_Articolo(r->codice, gr, sg, m_sessione.Listino_Cliente()));
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
        return;
    }
    if (!esito) {
        return;
    }
    Dialogo_Fasce dialogo((cumulative ? m_fasceCumulative : m_fasce)->text(), *esito, m_sessione.testi, this);
    emit fasceAperte(&dialogo);
    dialogo.exec();
}

void Pagina_Catalogo::Carica_Gruppi() {
    m_comboGruppone->blockSignals(true);
    m_comboGruppone->clear();
    try {
        db::Statement grupponi(m_sessione.connessione(), Gestione_Cliente::Query_Grupponi());
        grupponi.set(QStringLiteral("Lingua"), m_sessione.Lingua_Corrente);
        grupponi.open();
        while (grupponi.next()) {
            aggiungiVoce(m_comboGruppone, {grupponi.value(1).toString(), grupponi.value(0).toString()},
                         grupponi.value(0));
        }
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
    m_comboGruppone->setCurrentIndex(-1);
    m_comboGruppone->blockSignals(false);
    Ricarica_Gruppi();
}

void Pagina_Catalogo::Ricarica_Gruppi() {
    const QString testo = m_comboGruppo->currentText();
    const QVariant voce = scelta(m_comboGruppone);
    const bool scelto = voce.isValid();
    const QString codice = voce.toString();
    m_comboGruppo->clear();
    try {
        db::Statement gruppi(m_sessione.connessione(), Gestione_Cliente::Query_Gruppi());
        gruppi.set(QStringLiteral("Lingua"), m_sessione.Lingua_Corrente);
        gruppi.set(QStringLiteral("Gruppone_In"), scelto ? codice : QString());
        gruppi.set(QStringLiteral("Gruppone_Fin"), scelto ? codice : QStringLiteral("zzzzzz"));
        gruppi.open();
        while (gruppi.next()) {
            const QString gr = gruppi.value("GRL_CODICE").toString();
            const QString sg = gruppi.value("SGL_CODICE").toString();
            aggiungiVoce(m_comboGruppo, {gruppi.value("GRL_DESCRIZIONE").toString(), gr, sg},
                         QStringList{gr, sg});
        }
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
    // The group choice keeps its text when the big group changes.
    m_comboGruppo->setCurrentIndex(-1);
    m_comboGruppo->setEditText(testo);
}

QString Pagina_Catalogo::fileImmagine(const QString& codice) const {
    // The picture file is named by the code; a code with a "/" cannot name a file.
    const QString nome = QFileInfo(Path_Immagine(QString(), codice)).fileName();
    if (Path_Immagine(QString(), codice) != QStringLiteral("/IMAGES/") + nome) {
        return QString();
    }
    return m_sessione.cartella().path(QStringLiteral("IMAGES/") + nome);
}

QString Pagina_Catalogo::memoDi(const QString& codice) {
    db::Statement articolo(m_sessione.connessione(),
                           QStringLiteral("SELECT * FROM LISTINO WHERE CODICE = :CODICE"));
    articolo.set(QStringLiteral("CODICE"), codice);
    return articolo.first() ? articolo.value("MEMO").toString() : QString();
}

void Pagina_Catalogo::Riga_Cambiata() {
    const Riga_Catalogo* r = Articolo_Corrente();
    m_foto = QPixmap();
    m_immagine->clear();
    if (m_pannelloStato) {
        m_pannelloStato->clear();
    }
    if (!r) {
        m_memo->clear();
        m_fasce->setEnabled(false);
        m_fasceCumulative->setEnabled(false);
        return;
    }
    m_fasce->setEnabled(r->scQta == QLatin1String("T"));
    m_fasceCumulative->setEnabled(r->scQtaCum == QLatin1String("T"));
    try {
        if (m_pannelloStato && (r->stato == QLatin1String("3") || r->stato == QLatin1String("2"))) {
            m_pannelloStato->setText(m_sessione.testi.testo(
                r->stato == QLatin1String("3") ? QStringLiteral("A78") : QStringLiteral("A79")));
        }
        m_memo->setPlainText(memoDi(r->codice));
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
    const QString file = fileImmagine(r->codice);
    if (!file.isEmpty() && QFileInfo::exists(file)) {
        QImageReader reader(file);
        const QImage picture = reader.read();
        if (picture.isNull()) {
            m_sessione.boxes().error(QStringLiteral("%1: %2").arg(file, reader.errorString()));
            return;
        }
        m_foto = QPixmap::fromImage(picture);
        m_immagine->setPixmap(m_foto.scaled(m_immagine->width(), m_immagine->height(), Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation));
    }
}

void Pagina_Catalogo::menuGriglia(const QPoint& pos) {
    const Riga_Catalogo* r = Articolo_Corrente();
    QMenu menu(this);
    const QString codice = r ? r->codice : QString();
    const auto testo = [this](int tag) {
        try {
            return m_sessione.testi.testoTag(tag);
        } catch (const db::DatabaseError&) {
            return QString();
        }
    };
    menu.addAction(testo(16), this, [this, codice] { emit aggiungiOrdine(codice); })
        ->setEnabled(r != nullptr);
    menu.addSeparator();
    menu.addAction(testo(38), this, &Pagina_Catalogo::salvaLayout);
    if (r && r->stato == QLatin1String("3")) {
        menu.addSeparator();
        menu.addAction(testo(80), this, [this, codice] { emit mailArticolo(codice); });
    }
    menu.exec(m_griglia->viewport()->mapToGlobal(pos));
}

bool Pagina_Catalogo::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_ricerca || watched == m_prezzoIn || watched == m_prezzoFin) &&
        event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() || tastoNavigazione(key->key())) {
            Esegui_Ricerca(key->key());
        }
    } else if (watched == m_immagine && event->type() == QEvent::MouseButtonDblClick) {
        if (const Riga_Catalogo* r = Articolo_Corrente()) {
            const QString file = fileImmagine(r->codice);
            m_sessione.shell().open(file.isEmpty() ? Path_Immagine(m_sessione.cartella().root(), r->codice)
                                                   : file);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora
