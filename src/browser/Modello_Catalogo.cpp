#include "browser/Modello_Catalogo.h"

#include <QPainter>
#include <QPixmap>

#include "app/Sessione.h"

namespace velmora {

namespace {

// 16 x 16 images of the grid: 1 a red exclamation mark, 2 a red tick; the sort mark a small
// black arrow pointing down.
const QPixmap& immagine(int indice) {
    static const QPixmap esclamativo = [] {
        QPixmap pix(16, 16);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 0, 0));
        p.drawRect(7, 2, 3, 8);
        p.drawRect(7, 12, 3, 3);
        return pix;
    }();
    static const QPixmap spunta = [] {
        QPixmap pix(16, 16);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(220, 0, 0), 2.5));
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 3)}));
        return pix;
    }();
    static const QPixmap freccia = [] {
        QPixmap pix(16, 16);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(4, 6), QPoint(12, 6), QPoint(8, 11)}));
        return pix;
    }();
    return indice == 1 ? esclamativo : indice == 2 ? spunta : freccia;
}

// The field each catalogue order sorts by.
QString campoOrdine(int ordine) {
    static const char* const kCampi[] = {"CODICE",      "DESCRIZIONE", "GRUPPONE", "GR",
                                         "PREZZO_LIST", "NETTO",       "BARCODE",  "DATA_LIST"};
    return ordine >= 0 && ordine < 8 ? QString::fromLatin1(kCampi[ordine]) : QString();
}

}  // namespace

Modello_Catalogo::Modello_Catalogo(Sessione& sessione, QObject* parent)
    : QAbstractTableModel(parent),
      m_sessione(sessione),
      m_query(sessione.connessione()),
      m_colonne(Colonne_Catalogo()) {}

const Riga_Catalogo* Modello_Catalogo::riga(int row) const {
    const auto& righe = m_query.righe();
    return row >= 0 && row < m_visibili ? &righe[static_cast<size_t>(row)] : nullptr;
}

void Modello_Catalogo::setColonne(const Colonne& colonne) {
    beginResetModel();
    m_occupato = true;
    m_colonne = colonne;
    endResetModel();
    m_occupato = false;
}

int Modello_Catalogo::colonnaDi(const QString& campo) const {
    for (int i = 0; i < m_colonne.size(); ++i) {
        if (m_colonne[i].campo.compare(campo, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

void Modello_Catalogo::Seleziona_Ordine(int ordine) {
    const Ordine_Catalogo_Def& def = Ordine_Catalogo_Info(ordine);
    m_sessione.Ordine_Catalogo = ordine;
    m_sessione.Ricerca_Parziale = def.ricercaParziale;
    m_sessione.Testo_Query_Catalogo = def.query;
    apriInUnReset(true, ordine, def.valoreIniziale);
}

void Modello_Catalogo::Riapri(const QString& parametro) {
    apriInUnReset(false, 0, parametro);
}

void Modello_Catalogo::apriInUnReset(bool nuovoOrdine, int ordine, const QString& parametro) {
    beginResetModel();
    m_occupato = true;
    try {
        if (nuovoOrdine) {
            m_query.Imposta_Ordine(ordine);
        }
        m_query.apri(parametro);
        m_query.carica(kPrimoLotto);
    } catch (...) {
        m_query.chiudi();
        m_visibili = 0;
        endResetModel();
        m_occupato = false;
        throw;
    }
    m_visibili = static_cast<int>(m_query.righe().size());
    endResetModel();
    m_occupato = false;
    emit riaperto();
}

void Modello_Catalogo::Chiudi() {
    beginResetModel();
    m_occupato = true;
    m_query.chiudi();
    m_visibili = 0;
    endResetModel();
    m_occupato = false;
}

void Modello_Catalogo::Rilascia() {
    beginResetModel();
    m_occupato = true;
    m_query.rilascia();
    m_visibili = 0;
    endResetModel();
    m_occupato = false;
}

void Modello_Catalogo::Riapplica_Filtro() {
    beginResetModel();
    m_occupato = true;
    m_query.riapplica();
    // The rows fetched so far may all fail the filter: fetch until a screen is there.
    if (m_query.righe().size() < static_cast<size_t>(kPrimoLotto)) {
        m_query.carica(kPrimoLotto - static_cast<int>(m_query.righe().size()));
    }
    m_visibili = static_cast<int>(m_query.righe().size());
    endResetModel();
    m_occupato = false;
    emit riaperto();
}

int Modello_Catalogo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_visibili;
}

int Modello_Catalogo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_colonne.size());
}

QVariant Modello_Catalogo::data(const QModelIndex& index, int role) const {
    const Riga_Catalogo* r = riga(index.row());
    if (!r || index.column() < 0 || index.column() >= m_colonne.size()) {
        return QVariant();
    }
    if (role == kRuoloCodice) {
        return r->codice;
    }
    if (role != Qt::DisplayRole && role != Qt::DecorationRole && role != Qt::TextAlignmentRole) {
        return QVariant();
    }
    Cella cella;
    try {
        cella = Cella_Catalogo(*r, m_colonne[index.column()].campo, m_sessione.maschere, m_sessione.testi);
    } catch (const std::exception&) {
        return QVariant();
    }
    switch (role) {
        case Qt::DisplayRole:
            return cella.immagine ? QVariant() : QVariant(cella.testo);
        case Qt::DecorationRole:
            return cella.immagine ? QVariant(immagine(cella.immagine)) : QVariant();
        default:
            return QVariant(int((cella.destra ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
}

QVariant Modello_Catalogo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_colonne.size()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return m_colonne[section].titolo;
    }
    if (role == Qt::DecorationRole &&
        m_colonne[section].campo.compare(campoOrdine(m_sessione.Ordine_Catalogo), Qt::CaseInsensitive) == 0) {
        return immagine(0);
    }
    return QVariant();
}

bool Modello_Catalogo::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_query.finita() && !m_occupato;
}

void Modello_Catalogo::fetchMore(const QModelIndex& parent) {
    // Views and checkers that ask for more rows while they are being told of a change get them
    // at their next request.
    if (parent.isValid() || m_query.finita() || m_occupato) {
        return;
    }
    // Fetch first, then announce exactly the rows that arrived.
    const int prima = m_visibili;
    const int aggiunte = m_query.carica(kLotto);
    if (aggiunte > 0) {
        m_occupato = true;
        beginInsertRows(QModelIndex(), prima, prima + aggiunte - 1);
        m_visibili += aggiunte;
        endInsertRows();
        m_occupato = false;
    }
}

}  // namespace velmora
