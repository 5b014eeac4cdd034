#pragma once

#include <optional>
#include <vector>

#include <QString>

#include "platform/Database.h"

namespace velmora {

struct Fascia_Riga {
    double minimo = 0;
    double massimo = 0;
    double sconto = 0;
};

// What the bands dialog shows: the rows and the message code of its explanation.
struct Esito_Fasce {
    std::vector<Fascia_Riga> righe;
    QString messaggio;
};

// The quantity-discount bands of an article for the customer's price list.
class Fasce {
public:
    explicit Fasce(db::Connection& connection);

    // The article's own bands, else its subgroup's (shown even when there are none): M4.
    Esito_Fasce Fasce_Articolo(const QString& codice, const QVariant& gr, const QVariant& sg, int listino);
    // The subgroup's cumulative bands: M5; nothing when there are none (no dialog).
    std::optional<Esito_Fasce> Fasce_Cumulative(const QVariant& gr, const QVariant& sg, int listino);

private:
    static std::vector<Fascia_Riga> leggi(db::Statement& query);

    db::Statement m_articolo;
    db::Statement m_sottogruppo;
    db::Statement m_cumulative;
};

}  // namespace velmora
