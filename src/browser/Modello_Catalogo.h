#pragma once

#include <QAbstractTableModel>

#include "browser/Catalogo.h"

namespace velmora {

class Sessione;

// The catalogue grid's model over the catalogue query: rows arrive in batches as the view asks
// for them (canFetchMore / fetchMore), never the whole result at once.
class Modello_Catalogo final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Modello_Catalogo)

public:
    // Rows fetched when the query opens (a screenful and some), and at each later request.
    static constexpr int kPrimoLotto = 50;
    static constexpr int kLotto = 100;
    // The row's CODICE, whatever the column.
    static constexpr int kRuoloCodice = Qt::UserRole + 1;

    Modello_Catalogo(Sessione& sessione, QObject* parent = nullptr);

    Query_Catalogo& query() { return m_query; }
    const Riga_Catalogo* riga(int row) const;

    // The columns shown, in display order (field names and titles).
    void setColonne(const Colonne& colonne);
    const Colonne& colonne() const { return m_colonne; }
    int colonnaDi(const QString& campo) const;

    // Seleziona_Ordine: loads the order's query with the value it starts with and opens it.
    void Seleziona_Ordine(int ordine);
    // Re-runs the current order's query with a parameter.
    void Riapri(const QString& parametro);
    void Chiudi();
    // Closes and lets go of the prepared statement (before the working tables are dropped).
    void Rilascia();
    // The filter changed: evaluated again over the rows fetched so far.
    void Riapplica_Filtro();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The query was opened again (a new order, a search, a filter): the view goes to the first row.
    void riaperto();

private:
    void apriInUnReset(bool nuovoOrdine, int ordine, const QString& parametro);

    Sessione& m_sessione;
    Query_Catalogo m_query;
    Colonne m_colonne;
    int m_visibili = 0;       // rows announced to the views
    bool m_occupato = false;  // telling the views of a change
};

}  // namespace velmora
